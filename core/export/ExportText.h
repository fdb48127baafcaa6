// Fixed texts of the Excel export (GBK) and the text measures both
// workbook types share.
#pragma once

#include <string>
#include <vector>

namespace exporttext {

inline const char* const SHEET_NAME = "Quantorix";
// 序号, 计算部位, 规格类别, 计算表达式, 单位: the five columns of both exports.
inline const char* const TITLES[5] = {"\xD0\xF2\xBA\xC5", "\xBC\xC6\xCB\xE3\xB2\xBF\xCE\xBB",
                                      "\xB9\xE6\xB8\xF1\xC0\xE0\xB1\xF0",
                                      "\xBC\xC6\xCB\xE3\xB1\xED\xB4\xEF\xCA\xBD", "\xB5\xA5\xCE\xBB"};
// 工程量: the column of live quantities in the .xlsx export of all rows.
inline const char* const TITLE_QUANTITY = "\xB9\xA4\xB3\xCC\xC1\xBF";
// The file types of the export dialog: Excel (*.xls), Excel 工作簿 (*.xlsx).
inline const char* const FILE_FILTER = "Excel (*.xls)|*.xls|Excel \xB9\xA4\xD7\xF7\xB2\xBE (*.xlsx)|*.xlsx||";
enum EFileType { TYPE_XLS = 0,
                 TYPE_XLSX = 1 };
// Excel文件保存失败！原文件保持不变。
inline const char* const TEXT_EXPORT_FAILED = "Excel\xCE\xC4\xBC\xFE\xB1\xA3\xB4\xE6\xCA\xA7\xB0\xDC\xA3\xA1"
                                              "\xD4\xAD\xCE\xC4\xBC\xFE\xB1\xA3\xB3\xD6\xB2\xBB\xB1\xE4\xA1\xA3";
// 第&P页 共&N页: the page footer of the .xlsx workbook.
inline const char* const FOOTER = "&C\xB5\xDA&P\xD2\xB3 \xB9\xB2&N\xD2\xB3";

// Width of a GBK text in characters as a column shows it: a double-byte
// character counts twice.
int DisplayWidth(const std::string& gbk);
// Column widths in characters that fit the texts of the rows: the widest
// text plus a margin, at least 6 and at most 80 characters.
std::vector<int> FittedWidths(const std::vector<std::vector<std::string>>& rows, std::size_t columns);

}  // namespace exporttext
