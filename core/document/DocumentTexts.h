// Fixed texts and names of the document layer, as GBK bytes.
#pragma once

namespace doctext {

inline const char* const TEXT_WARNING = "\xBE\xAF\xB8\xE6";                                              // 警告
inline const char* const TEXT_OPEN_FAILED = "\xCE\xC4\xBC\xFE\xB4\xF2\xBF\xAA\xCA\xA7\xB0\xDC\xA3\xA1";  // 文件打开失败！
// 文件格式无法识别，文件打开失败！
inline const char* const TEXT_UNKNOWN_FORMAT = "\xCE\xC4\xBC\xFE\xB8\xF1\xCA\xBD\xCE\xDE\xB7\xA8\xCA\xB6\xB1\xF0\xA3\xAC"
                                               "\xCE\xC4\xBC\xFE\xB4\xF2\xBF\xAA\xCA\xA7\xB0\xDC\xA3\xA1";
// 文件已损坏或不完整，文件打开失败！
inline const char* const TEXT_DAMAGED = "\xCE\xC4\xBC\xFE\xD2\xD1\xCB\xF0\xBB\xB5\xBB\xF2\xB2\xBB\xCD\xEA\xD5\xFB\xA3\xAC"
                                        "\xCE\xC4\xBC\xFE\xB4\xF2\xBF\xAA\xCA\xA7\xB0\xDC\xA3\xA1";
// 文件中的行数超出表格范围，文件打开失败！
inline const char* const TEXT_BAD_ROW_COUNT = "\xCE\xC4\xBC\xFE\xD6\xD0\xB5\xC4\xD0\xD0\xCA\xFD\xB3\xAC\xB3\xF6\xB1\xED\xB8\xF1\xB7\xB6\xCE\xA7\xA3\xAC"
                                              "\xCE\xC4\xBC\xFE\xB4\xF2\xBF\xAA\xCA\xA7\xB0\xDC\xA3\xA1";
// 文件中含有不支持的Unicode文字，文件打开失败！
inline const char* const TEXT_UNICODE = "\xCE\xC4\xBC\xFE\xD6\xD0\xBA\xAC\xD3\xD0\xB2\xBB\xD6\xA7\xB3\xD6\xB5\xC4"
                                        "Unicode"
                                        "\xCE\xC4\xD7\xD6\xA3\xAC"
                                        "\xCE\xC4\xBC\xFE\xB4\xF2\xBF\xAA\xCA\xA7\xB0\xDC\xA3\xA1";
// 文件太大（超过256MB），文件打开失败！
inline const char* const TEXT_TOO_LARGE = "\xCE\xC4\xBC\xFE\xCC\xAB\xB4\xF3\xA3\xA8\xB3\xAC\xB9\xFD"
                                          "256MB"
                                          "\xA3\xA9\xA3\xAC"
                                          "\xCE\xC4\xBC\xFE\xB4\xF2\xBF\xAA\xCA\xA7\xB0\xDC\xA3\xA1";
// 文件保存失败！原文件保持不变。
inline const char* const TEXT_SAVE_FAILED = "\xCE\xC4\xBC\xFE\xB1\xA3\xB4\xE6\xCA\xA7\xB0\xDC\xA3\xA1\xD4\xAD\xCE\xC4\xBC\xFE\xB1\xA3\xB3\xD6\xB2\xBB\xB1\xE4\xA1\xA3";
// 是否保存已修改的文件!
inline const char* const TEXT_ASK_SAVE = "\xCA\xC7\xB7\xF1\xB1\xA3\xB4\xE6\xD2\xD1\xD0\xDE\xB8\xC4\xB5\xC4\xCE\xC4\xBC\xFE!";
// 文件名不能同时出现 #%;/\字符，请重新保存！
inline const char* const TEXT_BAD_NAME = "\xCE\xC4\xBC\xFE\xC3\xFB\xB2\xBB\xC4\xDC\xCD\xAC\xCA\xB1\xB3\xF6\xCF\xD6 #%;/\\"
                                         "\xD7\xD6\xB7\xFB\xA3\xAC\xC7\xEB\xD6\xD8\xD0\xC2\xB1\xA3\xB4\xE6\xA3\xA1";
// 计量底稿1.54 -  (two spaces after the dash)
inline const char* const TEXT_TITLE_PREFIX = "\xBC\xC6\xC1\xBF\xB5\xD7\xB8\xE5"
                                             "1.54 -  ";
inline const char* const TEXT_SAVING = "\xD5\xFD\xD4\xDA\xB1\xA3\xB4\xE6\xCE\xC4\xBC\xFE...";   // 正在保存文件...
inline const char* const TEXT_OPENING = "\xD5\xFD\xD4\xDA\xB4\xF2\xBF\xAA\xCE\xC4\xBC\xFE...";  // 正在打开文件...
inline const char* const TEXT_RECENT = "\xD7\xEE\xBD\xFC\xCE\xC4\xBC\xFE";                      // 最近文件
inline const char* const TEXT_AUTOSAVE_ON = "\xD7\xD4\xB6\xAF\xB4\xE6\xC5\xCC";                 // 自动存盘
inline const char* const TEXT_EMPTY_FILE = "\xCE\xC4\xBC\xFE\xCA\xC7\xBF\xD5\xB5\xC4\xA1\xA3";  // 文件是空的。

inline const char* const NEW_TITLE = "NewProject";
inline const char* const FILE_FILTER = "Quantorix Files (*.qtx)|*.qtx|All Files (*.*)|*.*||";

// Settings read and written by the document layer.
inline const char* const KEY_COMPANY = "CompanyName";
inline const char* const KEY_CLIENT = "ProjectCompanyName";
inline const char* const KEY_PROJECT = "ProjectName";
inline const char* const KEY_AUDITOR = "AuditName";
inline const char* const KEY_CALCULATOR = "CountName";
inline const char* const KEY_WORK_DIR = "WorkDir";
inline const char* const KEY_RECENT[4] = {"RecentFile1", "RecentFile2", "RecentFile3", "RecentFile4"};
inline const char* const KEY_AUTOSAVE = "IsAutoSave";
inline const char* const KEY_SAVE_TIME = "SaveTime";

}  // namespace doctext
