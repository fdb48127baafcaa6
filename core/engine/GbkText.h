// Byte-level helpers for GBK text (code page 936).
//
// Every text in the core is a GBK byte string. A lead byte 0x81-0xFE followed
// by a trail byte 0x40-0xFE (not 0x7F) is one double-byte character; it is
// never split and never read as a digit, letter, bracket or operator, even
// when its trail byte has the value of one. Any other byte is a character on
// its own.
#pragma once

#include <cstddef>
#include <string>

namespace gbk {

inline bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }
inline bool IsTrailByte(unsigned char c) { return c >= 0x40 && c <= 0xFE && c != 0x7F; }

// Length in bytes (1 or 2) of the character that starts at byte i.
inline std::size_t CharLength(const char* s, std::size_t n, std::size_t i)
{
    return (i + 1 < n && IsLeadByte(static_cast<unsigned char>(s[i])) && IsTrailByte(static_cast<unsigned char>(s[i + 1])))
        ? 2
        : 1;
}
inline std::size_t CharLength(const std::string& s, std::size_t i)
{
    return CharLength(s.data(), s.size(), i);
}

inline bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }
inline bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
inline bool IsAsciiLower(char c) { return c >= 'a' && c <= 'z'; }
inline char ToLowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

// True when byte position pos starts a character (scans from the start).
bool IsCharStart(const std::string& s, std::size_t pos);

// Number of characters (double-byte characters count once).
std::size_t CharCount(const std::string& s);

// The longest prefix of s of at most maxBytes bytes that does not end inside
// a double-byte character.
std::size_t ClipLength(const std::string& s, std::size_t maxBytes);

// First occurrence of needle at or after from that starts on a character
// boundary, or npos.
std::size_t FindChars(const std::string& s, const std::string& needle, std::size_t from = 0);

// ASCII letters to lower case; double-byte characters are left alone.
void LowerAsciiInPlace(std::string& s);

}  // namespace gbk
