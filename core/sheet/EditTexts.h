// Fixed texts of the sheet-editing commands (summary items, clipboard, bulk
// edits, display commands), as GBK bytes.
#pragma once

namespace edittext {

inline const char* const SUMMARY_SIZE = "\xBC\xC6\xCB\xE3\xBB\xE3\xD7\xDC";                                                                                                       // 计算汇总
inline const char* const SUMMARY_MULTI_ROW = "\xCC\xED\xBC\xD3\xBB\xF2\xC9\xBE\xB3\xFD\xB1\xE0\xBA\xC5\xA3\xAC\xB2\xBB\xC4\xDC\xB6\xD4\xB6\xE0\xD0\xD0\xB2\xD9\xD7\xF7\xA3\xA1";  // 添加或删除编号，不能对多行操作！
inline const char* const TOTAL_TOO_MANY_ROWS = "\xD0\xE8\xD2\xAA\xBC\xC6\xCB\xE3\xB5\xC4\xD0\xD0\xCA\xFD\xB4\xF3\xD3\xDA"
                                               "9000\xD0\xD0,\xB3\xCC\xD0\xF2\xB2\xBB\xBC\xC6\xCB\xE3\xB3\xAC\xB3\xF6\xB2\xBF\xB7\xD6";  // 需要计算的行数大于9000行,程序不计算超出部分

inline const char* const COPY_TOO_MANY_ROWS = "\xD0\xD0\xB3\xAC\xB3\xF6\xB8\xB4\xD6\xC6\xB7\xB6\xCE\xA7";                                                                                                                                                                                           // 行超出复制范围
inline const char* const CUT_TOO_MANY_ROWS = "\xD0\xD0\xB3\xAC\xB3\xF6\xBC\xF4\xC7\xD0\xB7\xB6\xCE\xA7";                                                                                                                                                                                            // 行超出剪切范围
inline const char* const CLIPBOARD_NOT_TEXT = "\xBC\xF4\xCC\xF9\xB0\xE5\xD6\xD0\xB7\xC7\xCE\xC4\xB1\xBE\xCA\xFD\xBE\xDD\xA3\xAC\xB2\xBB\xC4\xDC\xD5\xB3\xCC\xF9\xA1\xA3";                                                                                                                           // 剪贴板中非文本数据，不能粘贴。
inline const char* const OUT_OF_SHEET = "\xB3\xAC\xB3\xF6\xB1\xED\xB8\xF1\xB7\xB6\xCE\xA7!";                                                                                                                                                                                                        // 超出表格范围!
inline const char* const PASTE_OVERWRITE = "\xD2\xAA\xD5\xB3\xCC\xF9\xB5\xC4\xC7\xF8\xD3\xF2\xD3\xD0\xCA\xFD\xBE\xDD\xA3\xAC\xCA\xC7\xB7\xF1\xB8\xB2\xB8\xC7\xD5\xB3\xCC\xF9\xC7\xF8\xD3\xF2\xB5\xC4\xC4\xDA\xC8\xDD\xA3\xBFOK\xB8\xB2\xB8\xC7\xA3\xACNO\xC8\xA1\xCF\xFB\xD5\xB3\xCC\xF9\xA1\xA3";  // 要粘贴的区域有数据，是否覆盖粘贴区域的内容？OK覆盖，NO取消粘贴。

inline const char* const BULK_BAD_EXPRESSION = "\xB1\xED\xB4\xEF\xCA\xBD\xD3\xD0\xB4\xED\xCE\xF3\xA3\xA1";                                                                                              // 表达式有错误！
inline const char* const BULK_NEEDS_EXPRESSION = "\xD4\xCB\xCB\xE3\xD7\xD6\xB7\xFB\xBA\xF3\xC3\xE6\xD2\xAA\xD3\xD0\xB1\xED\xB4\xEF\xCA\xBD\xA3\xA1";                                                    // 运算字符后面要有表达式！
inline const char* const BULK_NEEDS_OPERATOR = "\xB6\xD4\xCB\xE3\xCA\xBD\xCC\xED\xBC\xD3\xB1\xED\xB4\xEF\xCA\xBD\xA3\xAC\xB5\xDA\xD2\xBB\xB8\xF6\xD7\xD6\xB7\xFB\xB1\xD8\xD0\xEB\xCA\xC7+-*/\xA3\xA1";  // 对算式添加表达式，第一个字符必须是+-*/！

inline const char* const DECIMALS_TOO_MANY = "\xB1\xD8\xD0\xEB\xD0\xA1\xD3\xDA\xC1\xF9\xCE\xBB\xD0\xA1\xCA\xFD\xA3\xA1";  // 必须小于六位小数！
inline const char* const EXAMPLE_QUESTION = "\xC0\xFD\xD7\xD3\xBD\xAB\xC7\xE5\xB3\xFD"
                                            "1\xA1\xAB"
                                            "3\xD0\xD0\xB5\xC4\xC4\xDA\xC8\xDD\xA3\xAC\xC4\xE3\xBF\xC9\xD2\xD4\xCF\xC8\xB2\xE5\xC8\xEB\xC8\xFD\xD0\xD0\xBF\xD5\xD0\xD0\xA3\xA1";                             // 例子将清除1～3行的内容，你可以先插入三行空行！
inline const char* const EXAMPLE_ITEM = "\xCC\xEE\xC8\xEB\xCF\xEE\xC4\xBF\xB5\xC4\xC3\xFB\xB3\xC6\xA3\xAC\xD1\xA1\xD4\xF1\xA1\xBC\xCC\xED\xBC\xD3\xC9\xBE\xB3\xFD\xB1\xE0\xBA\xC5\xA1\xBD\xB2\xCB\xB5\xA5";  // 填入项目的名称，选择〖添加删除编号〗菜单
inline const char* const EXAMPLE_POSITION = "\xCC\xEE\xC8\xEB\xD7\xF8\xB1\xEA";                                                                                                                              // 填入坐标
inline const char* const EXAMPLE_SIZE_1 = "\xBA\xF1"
                                          "240";                                                                                                 // 厚240
inline const char* const EXAMPLE_FORMULA_1 = "(12+45)*[\xD6\xD0\xC0\xA8\xBA\xC5\xC4\xDA\xCC\xEE\xC8\xEB\xD7\xA2\xBD\xE2]2.8[\xC7\xBD\xB8\xDF]";  // (12+45)*[中括号内填入注解]2.8[墙高]
inline const char* const EXAMPLE_SIZE_2 = "\xBA\xF1"
                                          "120";                                                                                                                                // 厚120
inline const char* const EXAMPLE_FORMULA_2 = "(12+45)[\xC7\xBD\xB3\xA4\xB6\xC8]*2.8[\xD6\xD0\xC0\xA8\xBA\xC5\xCD\xE2\xCC\xEE\xD0\xB4\xBC\xC6\xCB\xE3\xCA\xBD]+(10)*(3.6+0.2)";  // (12+45)[墙长度]*2.8[中括号外填写计算式]+(10)*(3.6+0.2)

inline const char* const REF_NAME_IS_FUNCTION = "\xD2\xFD\xD3\xC3\xC3\xFB\xB2\xBB\xC4\xDC\xD3\xEB\xBA\xAF\xCA\xFD\xC3\xFB"
                                                "log\xA1\xA2sin\xA1\xA2"
                                                "cos\xA1\xA2tan\xA1\xA2"
                                                "ctg\xA1\xA2sqrt\xCF\xE0\xCD\xAC\xA3\xA1";  // 引用名不能与函数名log、sin、cos、tan、ctg、sqrt相同！

// Caption of the program's own message boxes (those without "警告"): the
// program's title.
inline const char* const APP_CAPTION = "Quantorix";

}  // namespace edittext
