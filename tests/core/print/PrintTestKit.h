// A plain sheet for the print tests: rows are given as their six texts.
#pragma once

#include <string>
#include <vector>

#include "core/print/PrintLayout.h"
#include "core/sheet/SheetGrid.h"

struct SRowTexts {
    std::string m_t[6];
};

inline SheetGrid MakeSheet(const std::vector<SRowTexts>& rows, int extraRows = 0)
{
    SheetGrid sheet;
    sheet.SetRows(static_cast<int>(rows.size()) + 1 + extraRows);
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (int c = 0; c < 6; ++c)
            sheet.SetTextMatrix(static_cast<int>(r) + 1, c, rows[r].m_t[c]);
    return sheet;
}

// A calculation row: location, category, expression, unit.
inline SRowTexts Calc(const std::string& position, const std::string& size, const std::string& formula,
                      const std::string& unit = "")
{
    return SRowTexts{{"", position, size, formula, unit, ""}};
}

// Line heights of the printer fonts at the reference device (Courier New at
// 600 dpi): with them a page holds 25 lines.
inline SPrintFontHeights ReferenceHeights()
{
    SPrintFontHeights h;
    h.m_nBody = 103;
    h.m_nSmall = 79;
    h.m_nTitle = 136;
    return h;
}
