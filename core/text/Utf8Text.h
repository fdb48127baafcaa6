// UTF-8 text: what the screen, the clipboard, the console and the workbook
// library read and write. The core's own texts are GBK bytes in std::string;
// this type keeps the two apart, so that handing one where the other belongs
// does not compile. Only the codec (TextCodec.h) turns one into the other.
#pragma once

#include <ostream>
#include <string>
#include <utility>

class CUtf8Text {
public:
    CUtf8Text() = default;
    // Bytes that are known to be UTF-8: from Qt, the command line, a library.
    explicit CUtf8Text(std::string bytes) : m_strBytes(std::move(bytes)) {}

    const std::string& Bytes() const { return m_strBytes; }
    // For C libraries that take a NUL-terminated UTF-8 string.
    const char* c_str() const { return m_strBytes.c_str(); }
    bool IsEmpty() const { return m_strBytes.empty(); }

    friend bool operator==(const CUtf8Text& a, const CUtf8Text& b) { return a.m_strBytes == b.m_strBytes; }
    friend bool operator!=(const CUtf8Text& a, const CUtf8Text& b) { return !(a == b); }
    // The console takes UTF-8 as it is.
    friend std::ostream& operator<<(std::ostream& out, const CUtf8Text& text) { return out << text.m_strBytes; }

private:
    std::string m_strBytes;
};
