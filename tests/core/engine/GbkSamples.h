// GBK texts used across the engine tests.
#pragma once

#include <string>

#include "core/engine/CalcTexts.h"

namespace sample {

inline const std::string WALL = "\xC7\xBD\xB3\xA4\xB6\xC8";                                                     // 墙长度
inline const std::string OUTSIDE = "\xD6\xD0\xC0\xA8\xBA\xC5\xCD\xE2\xCC\xEE\xD0\xB4\xBC\xC6\xCB\xE3\xCA\xBD";  // 中括号外填写计算式
inline const std::string NOTE = "\xD7\xA2\xCA\xCD";                                                             // 注释
inline const std::string LUSHAN = "\x8F\x5D\xC9\xBD";                                                           // 廬山 (trail byte of 廬 is "]")
inline const std::string MENCHUANG = "\xE9\x54\xB4\xB0";                                                        // 門窗 (trail byte of 門 is "T")
inline const std::string TRAIL_OPEN = "\x8F\x5B";                                                               // 廩 (trail byte "[")
inline const std::string TRAIL_CARET = "\x8F\x5E";                                                              // 廭 (trail byte "^")
inline const std::string TRAIL_S = "\x81\x73";                                                                  // 乻 (trail byte "s")
inline const std::string TRAIL_T = "\x81\x74";                                                                  // 乼 (trail byte "t")
// The full-width characters the cleaning maps to their ASCII forms.
inline const std::string FW_TIMES = "\xA1\xC1";  // ×
inline const std::string FW_PLUS = "\xA3\xAB";   // ＋
inline const std::string FW_MINUS = "\xA3\xAD";  // －
inline const std::string FW_SLASH = "\xA1\xA2";  // 、
inline const std::string FW_OPEN = "\xA3\xA8";   // （
inline const std::string FW_CLOSE = "\xA3\xA9";  // ）
inline const std::string FW_POINT = "\xA1\xA3";  // 。
inline const std::string FW_LEFT = "\xA1\xB2";   // 〔
inline const std::string FW_RIGHT = "\xA1\xB3";  // 〕
// Full-width letters and digits, which are not mapped: ＳＩＮ, ３０
inline const std::string FW_SIN = "\xA3\xD3\xA3\xC9\xA3\xCE";
inline const std::string FW_30 = "\xA3\xB3\xA3\xB0";

inline std::string Msg(int k) { return calctext::CALC_MESSAGES[k]; }

}  // namespace sample
