// Fixed texts of printing, as GBK bytes.
#pragma once

namespace printtext {

inline constexpr char SUMMARY_CATEGORY[] = "\xBC\xC6\xCB\xE3\xBB\xE3\xD7\xDC";  // 计算汇总
inline constexpr char COLON[] = "\xA3\xBA";                                     // ：
inline constexpr char PAGE_PREFIX[] = "\xB5\xDA";                               // 第
inline constexpr char PAGE_MIDDLE[] = "\xD2\xB3\xB9\xB2";                       // 页共
inline constexpr char PAGE_SUFFIX[] = "\xD2\xB3    ";                           // 页 and four spaces
inline constexpr char FILE_LABEL[] = "\xCE\xC4\xBC\xFE\xA3\xBA";                // 文件：
// 没有可打印的内容。
inline constexpr char NOTHING_TO_PRINT[] = "\xC3\xBB\xD3\xD0\xBF\xC9\xB4\xF2\xD3\xA1\xB5\xC4\xC4\xDA\xC8\xDD\xA1\xA3";
inline constexpr char PRINTING[] = "\xD5\xFD\xD4\xDA\xB4\xF2\xD3\xA1...";  // 正在打印...
// PDF文件写入失败！
inline constexpr char PDF_FAILED[] = "PDF\xCE\xC4\xBC\xFE\xD0\xB4\xC8\xEB\xCA\xA7\xB0\xDC\xA3\xA1";
inline constexpr char WARNING[] = "\xBE\xAF\xB8\xE6";  // 警告

}  // namespace printtext
