#include "ui/skin/SkinRules.h"

#include <algorithm>
#include <cctype>
#include <fstream>

namespace skin {

namespace {

std::string Lower(std::string text)
{
    for (char& ch : text)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return text;
}

std::string Trim(const std::string& text)
{
    const char* const blanks = " \t\r\n";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// Reads an optionally signed decimal number at pos; false without digits.
bool ReadNumber(const std::string& text, std::size_t& pos, int& value)
{
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t'))
        ++pos;
    bool bNegative = false;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+'))
        bNegative = text[pos++] == '-';
    const std::size_t digits = pos;
    long n = 0;
    while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos]))) {
        if (n < 100000000)
            n = n * 10 + (text[pos] - '0');
        ++pos;
    }
    if (pos == digits)
        return false;
    value = static_cast<int>(bNegative ? -n : n);
    return true;
}

}  // namespace

bool CThemeIni::Load(const std::string& path)
{
    m_Sections.clear();
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    std::map<std::string, std::string>* pSection = nullptr;
    std::string line;
    while (std::getline(file, line)) {
        line = Trim(line);
        if (line.empty() || line[0] == ';')
            continue;
        if (line[0] == '[') {
            const std::size_t close = line.find(']');
            pSection = &m_Sections[Lower(Trim(line.substr(1, close == std::string::npos ? std::string::npos : close - 1)))];
            continue;
        }
        const std::size_t eq = line.find('=');
        if (!pSection || eq == std::string::npos)
            continue;
        std::string value = Trim(line.substr(eq + 1));
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        if (value.size() > 999)
            value.resize(999);
        pSection->emplace(Lower(Trim(line.substr(0, eq))), value);  // the first one wins
    }
    return true;
}

std::string CThemeIni::Text(const std::string& section, const std::string& key, const std::string& def) const
{
    const auto itSection = m_Sections.find(Lower(section));
    if (itSection == m_Sections.end())
        return def;
    const auto itKey = itSection->second.find(Lower(key));
    return itKey == itSection->second.end() ? def : itKey->second;
}

int CThemeIni::Int(const std::string& section, const std::string& key, int def) const
{
    const std::string text = Text(section, key);
    std::size_t pos = 0;
    int value = def;
    return ReadNumber(text, pos, value) ? value : def;
}

SRgb CThemeIni::Colour(const std::string& section, const std::string& key, SRgb def) const
{
    const std::string text = Text(section, key);
    int channel[3] = {};
    std::size_t pos = 0;
    for (int i = 0; i < 3; ++i) {
        if (i > 0) {
            while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t'))
                ++pos;
            if (pos >= text.size() || text[pos] != ',')
                return def;
            ++pos;
        }
        if (!ReadNumber(text, pos, channel[i]))
            return def;
        channel[i] = std::clamp(channel[i], 0, 255);
    }
    return {channel[0], channel[1], channel[2]};
}

std::string ThemeImagePath(const std::string& themePath, const std::string& value)
{
    const std::size_t nameStart = value.find_last_of("\\/");
    const std::string name = nameStart == std::string::npos ? value : value.substr(nameStart + 1);
    const std::size_t dirEnd = themePath.find_last_of("\\/");
    if (dirEnd == std::string::npos)
        return name;
    return themePath.substr(0, dirEnd) + "/" + name;
}

SSlice SliceOf(int imageLength, int fixedStart, int fixedEnd)
{
    SSlice slice{fixedStart, imageLength - fixedEnd};
    if (slice.m_nEnd <= slice.m_nStart)
        slice.m_nEnd = slice.m_nStart + 1;
    return slice;
}

std::vector<SPiece> StripPieces(int imageLength, SSlice slice, int targetLength)
{
    std::vector<SPiece> pieces;
    const int startLen = std::min(slice.m_nStart, targetLength);
    if (startLen > 0)
        pieces.push_back({0, 0, startLen});
    const int endLen = std::max(0, imageLength - slice.m_nEnd);
    const int middleEnd = targetLength - endLen;
    const int middleLen = slice.m_nEnd - slice.m_nStart;
    for (int x = slice.m_nStart; x < middleEnd; x += middleLen)
        pieces.push_back({slice.m_nStart, x, std::min(middleLen, middleEnd - x)});
    if (endLen > 0)
        pieces.push_back({slice.m_nEnd, targetLength - endLen, endLen});
    return pieces;
}

SRect ButtonRect(int nWidth, int xCoord, int yCoord, int imageWidth, int imageHeight, int nCells)
{
    // A theme that names no cells is read as one cell rather than dividing
    // by zero.
    const int cell = imageWidth / std::max(1, nCells);
    const int left = nWidth - xCoord;
    return {left, yCoord, left + cell, yCoord + imageHeight};
}

EHitTest HitTest(const SFrameLayout& l, int w, int h, int x, int y)
{
    if (l.m_rcClose.Contains(x, y))
        return HIT_CLOSE;
    if (l.m_bMinimiseBox && l.m_rcMinimise.Contains(x, y))
        return HIT_MINIMISE;
    if (l.m_bMaximiseBox && l.MaximiseRect().Contains(x, y))
        return HIT_MAXIMISE;
    if (l.IconRect().Contains(x, y))
        return HIT_SYSMENU;
    if (l.m_bSizable && !l.m_bMaximised) {
        const struct {
            SRect m_Rect;
            EHitTest m_Code;
        } zones[] = {
            {{0, 0, l.m_nLeft, l.m_nCaption}, HIT_TOPLEFT},
            {{w - l.m_nRight, 0, w, l.m_nCaption}, HIT_TOPRIGHT},
            {{0, h - l.m_nBottom, l.m_nLeft, h}, HIT_BOTTOMLEFT},
            {{w - l.m_nRight, h - l.m_nBottom, w, h}, HIT_BOTTOMRIGHT},
            {{0, 0, l.m_nLeft, h}, HIT_LEFT},
            {{w - l.m_nRight, 0, w, h}, HIT_RIGHT},
            {{0, h - l.m_nBottom, w, h}, HIT_BOTTOM},
            {{0, 0, w, l.m_nBottom}, HIT_TOP},
        };
        for (const auto& zone : zones)
            if (zone.m_Rect.Contains(x, y))
                return zone.m_Code;
    }
    if (SRect{l.m_nLeft, 5, w - l.m_nRight, l.m_nCaption}.Contains(x, y))
        return HIT_CAPTION;
    return HIT_CLIENT;
}

SRect CaptionTextRect(int textShift, int textShiftVert, int topSliceEnd, int nWidth, int topImageWidth, int captionHeight)
{
    return {textShift, textShiftVert, topSliceEnd + nWidth - topImageWidth, captionHeight};
}

SRgb FlatButtonRow(int y, int top, int height, bool bHover, bool bEmphasised)
{
    const int s = height > 0 ? (y - top) * 63 / height : 0;
    const int c = 255 - s / 3;
    const int e = 255 - s / 4;
    const int d = 255 - s / 5;
    if (bHover)
        return {e, e, bEmphasised ? c : d};
    return {c, c, bEmphasised ? e : d};
}

SEdgeColours FlatButtonHoverEdges()
{
    return {{250, 196, 88}, {251, 202, 106}, {252, 210, 121}, {229, 151, 0}};
}

SEdgeColours FlatButtonFocusEdges()
{
    return {{153, 198, 252}, {162, 189, 252}, {162, 201, 255}, {162, 201, 255}};
}

SRgb Lighten(SRgb c, double f)
{
    if (!(f > 0.0 && f <= 1.0))
        return c;
    // The small addition keeps 0.7 x 40 at 28 despite binary fractions.
    auto up = [f](int channel) { return channel + static_cast<int>(f * (255 - channel) + 1e-9); };
    return {up(c.m_nRed), up(c.m_nGreen), up(c.m_nBlue)};
}

SMenuColours FlatMenuColours(SRgb face, SRgb menu, SRgb highlight, SRgb grayText)
{
    SMenuColours colours;
    colours.m_Column = face;
    colours.m_Background = menu;
    const bool bSame = face == menu;
    if (bSame) {
        colours.m_Column = Lighten(face, 0.35);
        colours.m_Background = {255, 255, 255};
    }
    colours.m_SelectionFill = Lighten(highlight, bSame ? 0.85 : 0.7);
    colours.m_SelectionFrame = highlight;
    // Compared after the adjustment: only a white face on a white menu
    // still has them equal, and then plain grey would be too strong.
    colours.m_DisabledText = colours.m_Column == colours.m_Background ? Lighten(grayText, 0.55) : grayText;
    return colours;
}

SSize MenuItemSize(bool bSeparator, int textWidth, int menuBarHeight)
{
    if (bSeparator)
        return {0, menuBarHeight / 2};
    return {textWidth + 2 * MENU_PICTURE_WIDTH + 1, std::max(menuBarHeight, MENU_PICTURE_HEIGHT + 4)};
}

int MenuPictureOffset(int itemHeight)
{
    return std::max(0, (itemHeight - MENU_PICTURE_HEIGHT - 4) / 2);
}

}  // namespace skin
