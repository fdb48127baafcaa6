#include "core/engine/GbkText.h"

namespace gbk {

bool IsCharStart(const std::string& s, std::size_t pos)
{
    std::size_t i = 0;
    while (i < pos)
        i += CharLength(s, i);
    return i == pos;
}

std::size_t CharCount(const std::string& s)
{
    std::size_t count = 0;
    for (std::size_t i = 0; i < s.size(); i += CharLength(s, i))
        ++count;
    return count;
}

std::size_t ClipLength(const std::string& s, std::size_t maxBytes)
{
    if (s.size() <= maxBytes)
        return s.size();
    std::size_t i = 0;
    while (i < maxBytes) {
        std::size_t len = CharLength(s, i);
        if (i + len > maxBytes)
            break;
        i += len;
    }
    return i;
}

std::size_t FindChars(const std::string& s, const std::string& needle, std::size_t from)
{
    if (needle.empty())
        return from <= s.size() ? from : std::string::npos;
    std::size_t boundary = 0;  // the last known character start at or before a candidate
    for (std::size_t pos = s.find(needle, from); pos != std::string::npos; pos = s.find(needle, pos + 1)) {
        if (boundary > pos)
            continue;  // pos lies inside the double-byte character before boundary
        while (boundary < pos)
            boundary += CharLength(s, boundary);
        if (boundary == pos)
            return pos;
    }
    return std::string::npos;
}

void LowerAsciiInPlace(std::string& s)
{
    const std::size_t n = s.size();
    for (std::size_t i = 0; i < n;) {
        std::size_t len = CharLength(s.data(), n, i);
        if (len == 1)
            s[i] = ToLowerAscii(s[i]);
        i += len;
    }
}

}  // namespace gbk
