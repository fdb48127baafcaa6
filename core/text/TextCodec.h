// Conversion between the GBK texts of the core and the UTF-8 / Unicode texts
// of the screen, the clipboard and the command line. This is the only place
// that converts; a character GBK cannot hold becomes "?".
#pragma once

#include <string>

#include "core/text/Utf8Text.h"

namespace textcodec {

// UTF-8 to GBK. pReplaced (when given) is set to true if any character had
// to be replaced by "?", and left alone otherwise.
std::string Utf8ToGbk(const CUtf8Text& utf8, bool* pReplaced = nullptr);

// GBK to UTF-8. Bytes that are not GBK become "?".
CUtf8Text GbkToUtf8(const std::string& gbk);

// GBK to UTF-16 (for the binary workbook, which stores UTF-16).
std::u16string GbkToUtf16(const std::string& gbk);

}  // namespace textcodec
