#include "core/text/TextCodec.h"

#include <cerrno>
#include <cstdint>
#include <iconv.h>

namespace textcodec {

namespace {

// One converter per thread and direction; iconv handles keep shift state and
// must not be shared between threads.
class CConverter {
public:
    CConverter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~CConverter()
    {
        if (m_cd != reinterpret_cast<iconv_t>(-1))
            iconv_close(m_cd);
    }
    CConverter(const CConverter&) = delete;
    CConverter& operator=(const CConverter&) = delete;

    // skip(p, n) tells how many bytes an unconvertible sequence at p spans.
    template <typename Skip>
    std::string Convert(const std::string& in, bool* pReplaced, Skip skip)
    {
        std::string out;
        if (m_cd == reinterpret_cast<iconv_t>(-1)) {
            out = in;
            return out;
        }
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        out.resize(in.size() * 2 + 8);
        char* src = const_cast<char*>(in.data());
        size_t srcLeft = in.size();
        size_t used = 0;
        while (srcLeft > 0) {
            char* dst = &out[used];
            size_t dstLeft = out.size() - used;
            size_t rc = iconv(m_cd, &src, &srcLeft, &dst, &dstLeft);
            used = out.size() - dstLeft;
            if (rc != static_cast<size_t>(-1))
                break;
            if (errno == E2BIG) {
                out.resize(out.size() * 2 + 16);
                continue;
            }
            // EILSEQ or EINVAL: replace one character by "?" and go on.
            size_t n = skip(reinterpret_cast<const unsigned char*>(src), srcLeft);
            src += n;
            srcLeft -= n;
            if (used + 1 > out.size())
                out.resize(out.size() * 2 + 16);
            out[used++] = '?';
            if (pReplaced)
                *pReplaced = true;
            iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        }
        out.resize(used);
        return out;
    }

private:
    iconv_t m_cd;
};

size_t Utf8SequenceLength(const unsigned char* p, size_t left)
{
    size_t len = 1;
    if (p[0] >= 0xF0 && p[0] <= 0xF4)
        len = 4;
    else if (p[0] >= 0xE0)
        len = 3;
    else if (p[0] >= 0xC2 && p[0] <= 0xDF)
        len = 2;
    // A sequence cut short or broken by a byte that does not continue it is
    // one bad character, up to that byte.
    size_t k = 1;
    while (k < len && k < left && (p[k] & 0xC0) == 0x80)
        ++k;
    return k;
}

size_t GbkSequenceLength(const unsigned char* p, size_t left)
{
    if (left >= 2 && p[0] >= 0x81 && p[0] <= 0xFE && p[1] >= 0x40 && p[1] <= 0xFE && p[1] != 0x7F)
        return 2;
    return 1;
}

// Plain ASCII reads the same in both encodings.
bool IsAscii(const std::string& text)
{
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

}  // namespace

std::string Utf8ToGbk(const CUtf8Text& utf8, bool* pReplaced)
{
    if (IsAscii(utf8.Bytes()))
        return utf8.Bytes();
    thread_local CConverter conv("GBK", "UTF-8");
    return conv.Convert(utf8.Bytes(), pReplaced, Utf8SequenceLength);
}

CUtf8Text GbkToUtf8(const std::string& gbk)
{
    if (IsAscii(gbk))
        return CUtf8Text(gbk);
    thread_local CConverter conv("UTF-8", "GBK");
    return CUtf8Text(conv.Convert(gbk, nullptr, GbkSequenceLength));
}

std::u16string GbkToUtf16(const std::string& gbk)
{
    if (IsAscii(gbk))
        return std::u16string(gbk.begin(), gbk.end());
    // The converter's output is well-formed UTF-8, so decoding needs no checks
    // beyond staying inside the text.
    const CUtf8Text text = GbkToUtf8(gbk);
    const std::string& utf8 = text.Bytes();
    std::u16string out;
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

}  // namespace textcodec
