#include "core/print/PrintLayout.h"

#include <algorithm>
#include <cmath>

#include "core/print/PrintTexts.h"

namespace {

const int REF_WIDTH = 4676;
const int REF_HEIGHT = 6744;

float Scale(int value, int reference)
{
    return static_cast<float>(value * 100 / reference) / 100.0f;
}

float FontScale(int dpi)
{
    return static_cast<float>(dpi * 1000 / 600) / 1000.0f;
}

// The alignment a nSEATSIGN value asks for by its last digit; false when
// the column is not drawn.
bool SeatAlign(const std::string& value, EPrintAlign& eAlign)
{
    if (value.empty())
        return false;
    switch (value.back()) {
    case '1': eAlign = PRINTALIGN_LEFT; return true;
    case '4': eAlign = PRINTALIGN_CENTER; return true;
    case '7': eAlign = PRINTALIGN_RIGHT; return true;
    default: return false;
    }
}

void AddText(SPrintPage& page, EPrintFont eFont, int left, int top, int right, int bottom, EPrintAlign eAlign,
             std::string text, bool bEllipsis = false)
{
    SPrintText t;
    t.m_eFont = eFont;
    t.m_rc = {left, top, right, bottom};
    t.m_eAlign = eAlign;
    t.m_bEllipsis = bEllipsis;
    t.m_strText = std::move(text);
    page.m_Texts.push_back(std::move(t));
}

}  // namespace

SPrintFontSpec PrintFontSpec(EPrintFont eFont, const SPrintDevice& device)
{
    const float fx = FontScale(device.m_nDpiX);
    const float fy = FontScale(device.m_nDpiY);
    SPrintFontSpec spec;
    switch (eFont) {
    case PRINTFONT_BODY:
        spec.m_nHeight = static_cast<int>(std::floor(91.0f * fy + 0.5f));
        spec.m_nWidth = static_cast<int>(44.0f * fx);
        break;
    case PRINTFONT_SMALL: spec.m_nHeight = static_cast<int>(std::floor(70.0f * fy + 0.5f)); break;
    case PRINTFONT_TITLE:
        spec.m_nHeight = static_cast<int>(std::floor(120.0f * fy + 0.5f));
        spec.m_bBold = true;
        break;
    }
    return spec;
}

SPrintGeometry PrintGeometry(const SPrintDevice& device, const SPrintFontHeights& heights, const int colWidth[4])
{
    SPrintGeometry g;
    g.m_sx = Scale(device.m_nWidth, REF_WIDTH);
    g.m_sy = Scale(device.m_nHeight, REF_HEIGHT);
    g.m_fx = FontScale(device.m_nDpiX);
    g.m_fy = FontScale(device.m_nDpiY);
    auto sx = [&](int v) { return static_cast<int>(static_cast<float>(v) * g.m_sx); };
    auto sy = [&](int v) { return static_cast<int>(static_cast<float>(v) * g.m_sy); };

    g.m_nGap = sy(100);
    g.m_nPitch = std::max(1, heights.m_nBody + g.m_nGap);
    g.m_nUsable = device.m_nHeight - 2 * heights.m_nSmall - sy(1150);
    g.m_nLines = std::max(1, g.m_nUsable / g.m_nPitch - 1);
    g.m_nRest = std::max(0, g.m_nUsable % g.m_nPitch);
    g.m_nTitleExtra = 3 * g.m_nRest / 4;

    // The left edge follows the vertical scale, as it always has.
    const int x0 = sy(250);
    const int x1 = device.m_nWidth - sx(100);
    g.m_nUnit = (x1 - x0) / (5 + colWidth[0] + colWidth[1] + colWidth[2] + colWidth[3]);
    g.m_nColX[0] = x0;
    g.m_nColX[1] = x0 + 5 * g.m_nUnit;
    for (int i = 0; i < 3; ++i)
        g.m_nColX[2 + i] = g.m_nColX[1 + i] + colWidth[i] * g.m_nUnit;
    g.m_nColX[5] = x1;
    g.m_nTop = heights.m_nSmall + sy(900);
    return g;
}

CPrintLayout::CPrintLayout(const SPrintTable& table, const SPrintSettings& settings, const SPrintDevice& device,
                           const SPrintFontHeights& heights)
    : m_Table(table),
      m_Settings(settings),
      m_Device(device),
      m_Heights(heights),
      m_Geo(PrintGeometry(device, heights, settings.m_nColWidth))
{
}

int CPrintLayout::PageCount() const
{
    return (m_Table.m_nCount + m_Geo.m_nLines - 1) / m_Geo.m_nLines;
}

SPrintPage CPrintLayout::Page(int p) const
{
    SPrintPage page;
    page.m_Rules.reserve(m_Geo.m_nLines + 8);
    page.m_Texts.reserve(5 * m_Geo.m_nLines + 16);
    Header(page, p);
    Rules(page);
    Lines(page, p);
    Footer(page);
    return page;
}

void CPrintLayout::Header(SPrintPage& page, int p) const
{
    const int W = m_Device.m_nWidth;
    const int hTitle = m_Heights.m_nTitle;
    const int hSmall = m_Heights.m_nSmall;
    AddText(page, PRINTFONT_TITLE, 0, ScaledY(250), W, ScaledY(250) + hTitle, PRINTALIGN_CENTER,
            m_Settings.m_strCompany);
    AddText(page, PRINTFONT_TITLE, 0, ScaledY(450), W, ScaledY(450) + hTitle, PRINTALIGN_CENTER, m_Settings.m_strBook);

    const int left = ScaledX(400);
    AddText(page, PRINTFONT_SMALL, left, ScaledY(700), W, hSmall + ScaledY(750), PRINTALIGN_LEFT,
            m_Settings.m_strClientLabel + printtext::COLON + m_Settings.m_strClient);
    AddText(page, PRINTFONT_SMALL, left, ScaledY(850), W, hSmall + ScaledY(900), PRINTALIGN_LEFT,
            m_Settings.m_strProjectLabel + printtext::COLON + m_Settings.m_strProject);
    const std::string pageNo = std::string(printtext::PAGE_PREFIX) + std::to_string(p) + printtext::PAGE_MIDDLE + std::to_string(PageCount()) + printtext::PAGE_SUFFIX;
    AddText(page, PRINTFONT_SMALL, left, ScaledY(850), W, hSmall + ScaledY(900), PRINTALIGN_RIGHT, pageNo);
}

void CPrintLayout::Rules(SPrintPage& page) const
{
    const SPrintGeometry& g = m_Geo;
    const int x0 = g.m_nColX[0];
    const int x1 = g.m_nColX[5];
    const int pen = m_Settings.m_nPen;
    const int y0 = g.m_nTop + g.m_nTitleExtra;
    page.m_Rules.push_back({x0, g.m_nTop, x1, g.m_nTop, pen});
    for (int j = 1; j <= g.m_nLines + 1; ++j)
        page.m_Rules.push_back({x0, y0 + j * g.m_nPitch, x1, y0 + j * g.m_nPitch, pen});
    const int bottom = m_Device.m_nHeight - m_Heights.m_nSmall - ScaledY(250) - g.m_nRest / 4;
    for (int x : g.m_nColX)
        page.m_Rules.push_back({x, g.m_nTop, x, bottom, pen});

    // The column titles, centred in their columns within the title band.
    const int top = g.m_nTop + (g.m_nTitleExtra + g.m_nPitch - m_Heights.m_nBody) / 2;
    for (int c = 0; c < 5; ++c) {
        const int right = c == 4 ? g.m_nColX[4] + m_Settings.m_nColWidth[3] * g.m_nUnit : g.m_nColX[c + 1];
        AddText(page, PRINTFONT_BODY, g.m_nColX[c], top, right, top + m_Heights.m_nBody, PRINTALIGN_CENTER,
                m_Settings.m_strHeader[c]);
    }
}

void CPrintLayout::Lines(SPrintPage& page, int p) const
{
    const SPrintGeometry& g = m_Geo;
    const int hBody = m_Heights.m_nBody;
    const int y0 = g.m_nTop + g.m_nTitleExtra;
    const int indent = ScaledX(20);
    EPrintAlign align[4] = {};
    bool bDrawn[4] = {};
    for (int i = 0; i < 4; ++i)
        bDrawn[i] = SeatAlign(m_Settings.m_strSeatSign[i], align[i]);
    const std::size_t lines = m_Table.m_Lines.size();

    for (int d = 0; d < g.m_nLines; ++d) {
        const std::size_t k = static_cast<std::size_t>(p - 1) * g.m_nLines + d;
        if (k >= lines)
            break;  // beyond the table every band is empty
        const SPrintLine& line = m_Table.m_Lines[k];
        const int top = y0 + g.m_nPitch + g.m_nGap / 2 + d * g.m_nPitch;
        const int bottom = top + hBody;
        const bool bSummary = line.IsSummary();

        if (d == 0 || line.m_t[0] != m_Table.m_Lines[k - 1].m_t[0])
            AddText(page, PRINTFONT_BODY, g.m_nColX[0], top, g.m_nColX[1], bottom, PRINTALIGN_CENTER, line.m_t[0], true);
        if (bSummary)
            AddText(page, PRINTFONT_BODY, g.m_nColX[1] + 4 + indent, top, g.m_nColX[2], bottom, PRINTALIGN_LEFT,
                    line.m_t[1], true);
        else if (bDrawn[0])
            AddText(page, PRINTFONT_BODY, g.m_nColX[1] + 4, top, g.m_nColX[2] - indent, bottom, align[0], line.m_t[1],
                    true);
        if (bDrawn[1])
            AddText(page, PRINTFONT_BODY, g.m_nColX[2] + 4, top, g.m_nColX[3], bottom, align[1], line.m_t[2], true);
        if (bDrawn[2]) {
            std::string text = line.m_t[3];
            if (bSummary && !text.empty())
                text += line.m_t[4];
            AddText(page, PRINTFONT_BODY, g.m_nColX[3] + indent, top, g.m_nColX[4], bottom, align[2], std::move(text),
                    true);
        }
        if (bDrawn[3]) {
            const int left = g.m_nColX[4] + 16;
            AddText(page, PRINTFONT_BODY, left, top, left + m_Settings.m_nColWidth[3] * g.m_nUnit, bottom, align[3],
                    line.m_t[5], true);
        }
    }
}

void CPrintLayout::Footer(SPrintPage& page) const
{
    const int bottom = m_Device.m_nHeight - ScaledY(250);
    const int top = bottom - m_Heights.m_nSmall;
    const int left = ScaledX(400);
    const int right = m_Device.m_nWidth;
    const std::string fourSpaces = "    ";
    const std::string& calculator = m_Settings.m_strCalculator.empty() ? fourSpaces : m_Settings.m_strCalculator;
    const std::string& checker = m_Settings.m_strChecker.empty() ? fourSpaces : m_Settings.m_strChecker;
    AddText(page, PRINTFONT_SMALL, left, top, right, bottom, PRINTALIGN_LEFT,
            m_Settings.m_strCalcLabel + printtext::COLON + calculator + ", " + m_Settings.m_strCheckLabel + printtext::COLON + checker);
    const std::string date = std::to_string(m_Settings.m_nYear) + "." + std::to_string(m_Settings.m_nMonth) + "." + std::to_string(m_Settings.m_nDay);
    AddText(page, PRINTFONT_SMALL, left, top, right, bottom, PRINTALIGN_CENTER,
            date + "  " + printtext::FILE_LABEL + m_Settings.m_strTitle + ".qtx");
    AddText(page, PRINTFONT_SMALL, left, top, right, bottom, PRINTALIGN_RIGHT, m_Settings.m_strAddress);
}
