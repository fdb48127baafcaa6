#include "cli/QtxCommon.h"

#include "core/text/TextCodec.h"

namespace qtx {

std::string PrintableText(const std::string& gbk)
{
    return PrintablePath(textcodec::GbkToUtf8(gbk).Bytes());
}

std::string PrintablePath(const std::string& utf8)
{
    std::string out;
    out.reserve(utf8.size() + 8);
    for (char c : utf8) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default: out += c; break;
        }
    }
    return out;
}

std::string ScriptText(const std::string& utf8, bool* pReplaced)
{
    return textcodec::Utf8ToGbk(CUtf8Text(ScriptPath(utf8)), pReplaced);
}

std::string ScriptPath(const std::string& utf8)
{
    std::string plain;
    plain.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        char c = utf8[i];
        if (c == '\\' && i + 1 < utf8.size()) {
            char e = utf8[i + 1];
            char r = 0;
            switch (e) {
            case '\\': r = '\\'; break;
            case 't': r = '\t'; break;
            case 'n': r = '\n'; break;
            case 'r': r = '\r'; break;
            case 's': r = ' '; break;
            default: break;
            }
            if (r) {
                plain += r;
                ++i;
                continue;
            }
        }
        plain += c;
    }
    return plain;
}

}  // namespace qtx
