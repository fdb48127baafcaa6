// Fixed texts of the comparison, as GBK bytes.
#pragma once

namespace comparetext {

inline const char* const SHEET_ITEMS = "\xB6\xD4\xC1\xBF\xBB\xE3\xD7\xDC";                                                                                                     // 对量汇总
inline const char* const SHEET_ROWS = "\xD0\xD0\xB6\xD4\xB1\xC8";                                                                                                              // 行对比
inline const char* const HEAD_ITEM = "\xCF\xEE\xC4\xBF";                                                                                                                       // 项目
inline const char* const HEAD_CATEGORY = "\xB9\xE6\xB8\xF1\xC0\xE0\xB1\xF0";                                                                                                   // 规格类别
inline const char* const HEAD_UNIT = "\xB5\xA5\xCE\xBB";                                                                                                                       // 单位
inline const char* const HEAD_A = "\xCB\xCD\xC9\xF3";                                                                                                                          // 送审
inline const char* const HEAD_B = "\xC9\xF3\xB6\xA8";                                                                                                                          // 审定
inline const char* const HEAD_INCREASE = "\xBA\xCB\xD4\xF6";                                                                                                                   // 核增
inline const char* const HEAD_DECREASE = "\xBA\xCB\xBC\xF5";                                                                                                                   // 核减
inline const char* const HEAD_TOTAL = "\xBA\xCF\xBC\xC6";                                                                                                                      // 合计
inline const char* const HEAD_KIND = "\xC0\xE0\xD0\xCD";                                                                                                                       // 类型
inline const char* const HEAD_ROW_A = "\xCB\xCD\xC9\xF3\xD0\xD0";                                                                                                              // 送审行
inline const char* const HEAD_ROW_B = "\xC9\xF3\xB6\xA8\xD0\xD0";                                                                                                              // 审定行
inline const char* const HEAD_LOCATION = "\xBC\xC6\xCB\xE3\xB2\xBF\xCE\xBB";                                                                                                   // 计算部位
inline const char* const HEAD_TEXT_A = "\xCB\xCD\xC9\xF3\xBC\xC6\xCB\xE3\xCA\xBD";                                                                                             // 送审计算式
inline const char* const HEAD_TEXT_B = "\xC9\xF3\xB6\xA8\xBC\xC6\xCB\xE3\xCA\xBD";                                                                                             // 审定计算式
inline const char* const KIND_CHANGED = "\xD0\xDE\xB8\xC4";                                                                                                                    // 修改
inline const char* const KIND_ADDED = "\xD0\xC2\xD4\xF6";                                                                                                                      // 新增
inline const char* const KIND_REMOVED = "\xC9\xBE\xB3\xFD";                                                                                                                    // 删除
inline const char* const TITLE = "\xB6\xD4\xC1\xBF\xB1\xED";                                                                                                                   // 对量表
inline const char* const TEXT_WRITE_FAILED = "Excel\xCE\xC4\xBC\xFE\xD0\xB4\xC8\xEB\xCA\xA7\xB0\xDC\xA3\xA1\xD4\xAD\xCE\xC4\xBC\xFE\xB1\xA3\xB3\xD6\xB2\xBB\xB1\xE4\xA1\xA3";  // Excel文件写入失败！原文件保持不变。

}  // namespace comparetext
