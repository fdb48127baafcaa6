// Fixed texts of the expression engine, as GBK bytes.
#pragma once

namespace calctext {

// The calculation messages, in table order.
inline const char* const CALC_MESSAGES[9] = {
    "[\xD7\xA2\xCA\xCD\xB7\xFB\xBA\xC5\xD6\xD0\xC0\xA8\xBA\xC5\xD3\xD0\xB4\xED\xCE\xF3]",                                                                                                                          // [注释符号中括号有错误]
    "[\xB1\xED\xB4\xEF\xCA\xBD\xD6\xD0\xB5\xC4\xD0\xA1\xC0\xA8\xBA\xC5\xD3\xD0\xB4\xED\xCE\xF3]",                                                                                                                  // [表达式中的小括号有错误]
    "[\xB1\xED\xB4\xEF\xCA\xBD\xD6\xD0\xD3\xD0\xB4\xED\xCE\xF3\xB5\xC4\xB7\xFB\xBA\xC5\xBB\xF2\xCA\xFD\xD6\xB5]",                                                                                                  // [表达式中有错误的符号或数值]
    "[\xCA\xFD\xD7\xD6\xC7\xB0\xC3\xE6\xB2\xBB\xBF\xC9\xD2\xD4\xCA\xC7\xD3\xD2\xC0\xA8\xBA\xC5]",                                                                                                                  // [数字前面不可以是右括号]
    "[\xCA\xFD\xD7\xD6\xBA\xF3\xC3\xE6\xB2\xBB\xBF\xC9\xD2\xD4\xCA\xC7\xD7\xF3\xC0\xA8\xBA\xC5]",                                                                                                                  // [数字后面不可以是左括号]
    "[\xC1\xAC\xD0\xF8\xC1\xBD\xB8\xF6\xD4\xCB\xCB\xE3\xB7\xFB\xB4\xED\xCE\xF3]",                                                                                                                                  // [连续两个运算符错误]
    "[\xD4\xCB\xCB\xE3\xB7\xFB\xBA\xF3\xC3\xE6\xB2\xBB\xBF\xC9\xD2\xD4\xCA\xC7\xD3\xD2\xC0\xA8\xBA\xC5\xA3\xAC\xD4\xCB\xCB\xE3\xB7\xFB\xC7\xB0\xC3\xE6\xB2\xBB\xBF\xC9\xD2\xD4\xCA\xC7\xD7\xF3\xC0\xA8\xBA\xC5]",  // [运算符后面不可以是右括号，运算符前面不可以是左括号]
    "[\xD4\xCB\xCB\xE3\xB7\xFB\xD6\xD0\xC1\xAC\xD0\xF8\xBB\xF2\xBC\xE4\xB8\xF4\xC1\xAC\xD0\xF8\xB5\xC4\xB5\xE3\xB4\xED\xCE\xF3]",                                                                                  // [运算符中连续或间隔连续的点错误]
    "[\xD1\xAD\xBB\xB7\xD2\xFD\xD3\xC3\xB4\xED\xCE\xF3]",                                                                                                                                                          // [循环引用错误]
};
enum { MSG_ANNOTATION,
       MSG_PARENTHESES,
       MSG_SYNTAX,
       MSG_DIGIT_AFTER_CLOSE,
       MSG_OPEN_AFTER_DIGIT,
       MSG_TWO_OPERATORS,
       MSG_OPERATOR_PAREN,
       MSG_POINTS,
       MSG_CIRCULAR };

// Message boxes raised while evaluating.
inline const char* const TEXT_TAN_ZERO = "tan(X)\xD6\xD0X\xB5\xC4\xD6\xB5\xB2\xBB\xC4\xDC\xB5\xC8\xD3\xDA"
                                         "0!\xB3\xCC\xD0\xF2\xD7\xD4\xB6\xAF\xBD\xABX\xC9\xE8\xD6\xC3\xCE\xAA"
                                         "1";  // tan(X)中X的值不能等于0!程序自动将X设置为1
inline const char* const TEXT_CTG_ZERO = "Ctg(X)\xD6\xD0X\xB5\xC4\xD6\xB5\xB2\xBB\xC4\xDC\xB5\xC8\xD3\xDA"
                                         "0!\xB3\xCC\xD0\xF2\xD7\xD4\xB6\xAF\xBD\xABX\xC9\xE8\xD6\xC3\xCE\xAA"
                                         "1";                                                                                                          // Ctg(X)中X的值不能等于0!程序自动将X设置为1
inline const char* const TEXT_DIV_ZERO = "\xB4\xED\xCE\xF3!\xB1\xBB\xB3\xFD\xCA\xFD\xB5\xC4\xD4\xCB\xCB\xE3\xBD\xE1\xB9\xFB\xCE\xAA\xC1\xE3\xA1\xA3";  // 错误!被除数的运算结果为零。
inline const char* const TEXT_POW_NEGATIVE = "\xB4\xED\xCE\xF3!\xC3\xDD\xBC\xB6\xCA\xFD\xB1\xD8\xD0\xEB\xB4\xF3\xD3\xDA\xC1\xE3\xA1\xA3";              // 错误!幂级数必须大于零。
inline const char* const TEXT_LOG_DOMAIN = "log(X)\xD6\xD0X\xB5\xC4\xD6\xB5\xB1\xD8\xD0\xEB\xB4\xF3\xD3\xDA"
                                           "0!\xB3\xCC\xD0\xF2\xD7\xD4\xB6\xAF\xBD\xAB\xBD\xE1\xB9\xFB\xC9\xE8\xD6\xC3\xCE\xAA"
                                           "0";  // log(X)中X的值必须大于0!程序自动将结果设置为0
inline const char* const TEXT_SQRT_DOMAIN = "sqrt(X)\xD6\xD0X\xB5\xC4\xD6\xB5\xB2\xBB\xC4\xDC\xD0\xA1\xD3\xDA"
                                            "0!\xB3\xCC\xD0\xF2\xD7\xD4\xB6\xAF\xBD\xAB\xBD\xE1\xB9\xFB\xC9\xE8\xD6\xC3\xCE\xAA"
                                            "0";  // sqrt(X)中X的值不能小于0!程序自动将结果设置为0
inline const char* const TEXT_NOT_FINITE = "\xB4\xED\xCE\xF3!\xD4\xCB\xCB\xE3\xBD\xE1\xB9\xFB\xB3\xAC\xB3\xF6\xC1\xCB\xCA\xFD\xD6\xB5\xB7\xB6\xCE\xA7!\xB3\xCC\xD0\xF2\xD7\xD4\xB6\xAF\xBD\xAB\xBD\xE1\xB9\xFB\xC9\xE8\xD6\xC3\xCE\xAA"
                                           "0";              // 错误!运算结果超出了数值范围!程序自动将结果设置为0
inline const char* const TEXT_WARNING = "\xBE\xAF\xB8\xE6";  // 警告

// Full-width characters and what they become, in replacement order.
struct SFullWidth {
    const char* m_szWide;
    char m_cAscii;
};
inline const SFullWidth FULL_WIDTH[9] = {
    {"\xA1\xC1", '*'},  // ×
    {"\xA3\xAB", '+'},  // ＋
    {"\xA3\xAD", '-'},  // －
    {"\xA1\xA2", '/'},  // 、
    {"\xA3\xA8", '('},  // （
    {"\xA3\xA9", ')'},  // ）
    {"\xA1\xA3", '.'},  // 。
    {"\xA1\xB2", '['},  // 〔
    {"\xA1\xB3", ']'},  // 〕
};

}  // namespace calctext
