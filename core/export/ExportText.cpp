#include "core/export/ExportText.h"

#include <algorithm>
#include <cstdint>

#include "core/engine/GbkText.h"
#include "core/text/TextCodec.h"

namespace exporttext {

int DisplayWidth(const std::string& gbk)
{
    int width = 0;
    for (std::size_t i = 0; i < gbk.size();) {
        const std::size_t len = gbk::CharLength(gbk, i);
        width += static_cast<int>(len);
        i += len;
    }
    return width;
}

std::vector<int> FittedWidths(const std::vector<std::vector<std::string>>& rows, std::size_t columns)
{
    const int MARGIN = 2, NARROWEST = 6, WIDEST = 80;
    std::vector<int> widest(columns, 0);
    for (const auto& row : rows)
        for (std::size_t c = 0; c < row.size() && c < columns; ++c)
            if (static_cast<int>(row[c].size()) > widest[c])  // bytes bound the width
                widest[c] = std::max(widest[c], DisplayWidth(row[c]));
    for (int& w : widest)
        w = std::clamp(w + MARGIN, NARROWEST, WIDEST);
    return widest;
}

std::u16string Utf16FromGbk(const std::string& gbk)
{
    std::u16string out;
    bool bAscii = true;
    for (char c : gbk)
        bAscii = bAscii && static_cast<unsigned char>(c) < 0x80;
    if (bAscii)
        return std::u16string(gbk.begin(), gbk.end());
    const std::string utf8 = textcodec::GbkToUtf8(gbk);
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        std::uint32_t cp = c;
        std::size_t len = 1;
        if (c >= 0xF0 && i + 3 < utf8.size()) {
            cp = ((c & 0x07u) << 18) | ((utf8[i + 1] & 0x3Fu) << 12) | ((utf8[i + 2] & 0x3Fu) << 6) | (utf8[i + 3] & 0x3Fu);
            len = 4;
        } else if (c >= 0xE0 && i + 2 < utf8.size()) {
            cp = ((c & 0x0Fu) << 12) | ((utf8[i + 1] & 0x3Fu) << 6) | (utf8[i + 2] & 0x3Fu);
            len = 3;
        } else if (c >= 0xC0 && i + 1 < utf8.size()) {
            cp = ((c & 0x1Fu) << 6) | (utf8[i + 1] & 0x3Fu);
            len = 2;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
        i += len;
    }
    return out;
}

}  // namespace exporttext
