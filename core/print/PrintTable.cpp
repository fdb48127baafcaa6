#include "core/print/PrintTable.h"

#include <algorithm>

#include "core/print/PrintSelection.h"
#include "core/print/PrintTexts.h"
#include "core/settings/SettingsNames.h"
#include "core/sheet/SheetGrid.h"

namespace {

enum EStyle { STYLE_NONE,
              STYLE_ENTER,
              STYLE_SHOW,
              STYLE_SHOWSIGN };

int LineCount(const std::string& text)
{
    return 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

std::string Joined(const std::string& text)
{
    std::string out = text;
    out.erase(std::remove(out.begin(), out.end(), '\n'), out.end());
    return out;
}

EStyle StyleOf(const std::string& showStyle)
{
    return showStyle == settingstext::SHOW_STYLE_AUTOENTER   ? STYLE_ENTER
        : showStyle == settingstext::SHOW_STYLE_AUTOSHOW     ? STYLE_SHOW
        : showStyle == settingstext::SHOW_STYLE_AUTOSHOWSIGN ? STYLE_SHOWSIGN
                                                             : STYLE_NONE;
}

// How many printed lines a row takes in the style (0: the row is not
// printed), and which of its cells are joined into one line.
int PrintedHeight(EStyle style, const std::string* const cells[6], bool bJoin[6])
{
    int height = 0;
    const int formulaLines = LineCount(*cells[COL_FORMULA]);
    switch (style) {
    case STYLE_ENTER:
        for (int c = 0; c < 5; ++c)
            height = std::max(height, LineCount(*cells[c]));
        break;
    case STYLE_SHOW:
        height = formulaLines;
        bJoin[COL_POSITION] = LineCount(*cells[COL_POSITION]) > formulaLines;
        bJoin[COL_SIZE] = LineCount(*cells[COL_SIZE]) > formulaLines;
        break;
    case STYLE_SHOWSIGN:
        height = formulaLines;
        bJoin[COL_POSITION] = bJoin[COL_SIZE] = true;
        break;
    case STYLE_NONE: break;
    }
    return height;
}

// The row's cells laid over `height` new lines of the table, a line of
// text each; the item number and a summary row's category stand on every
// line.
void AddPrintedLines(SPrintTable& table, const std::string* const cells[6], const bool bJoin[6], int height)
{
    const std::size_t first = table.m_Lines.size();
    table.m_Lines.resize(first + height);
    const bool bCalcRow = cells[COL_SEQ]->empty();
    for (int c = 0; c < 6; ++c) {
        std::string x = c == COL_FORMULA && bCalcRow ? *cells[COL_FORMULA] + *cells[COL_UNIT]
            : bJoin[c]                               ? Joined(*cells[c])
                                                     : *cells[c];
        if (c == COL_SEQ || (c == COL_SIZE && x == printtext::SUMMARY_CATEGORY)) {
            for (int j = 0; j < height; ++j)
                table.m_Lines[first + j].m_t[c] = x;
            continue;
        }
        std::size_t pos = 0;
        for (int j = 0; j < height && pos <= x.size(); ++j) {
            const std::size_t end = std::min(x.find('\n', pos), x.size());
            table.m_Lines[first + j].m_t[c] = x.substr(pos, end - pos);
            pos = end + 1;
        }
    }
}

}  // namespace

SPrintTable BuildPrintTable(const SheetGrid& sheet, const CPrintSelection& selection, const std::string& showStyle)
{
    const EStyle style = StyleOf(showStyle);
    SPrintTable table;
    for (int row = 1; row < sheet.Rows(); ++row) {
        if (!selection.IsRowSelected(sheet, row))
            continue;
        const std::string* cells[6];
        bool bText = false;
        for (int c = 0; c < 6; ++c) {
            cells[c] = &sheet.TextMatrix(row, c);
            bText = bText || (c < 5 && !cells[c]->empty());
        }
        bool bJoin[6] = {false, false, false, false, false, true};
        const int height = PrintedHeight(style, cells, bJoin);
        if (height == 0)
            continue;
        AddPrintedLines(table, cells, bJoin, height);
        if (bText)
            table.m_nCount = static_cast<int>(table.m_Lines.size());
    }
    return table;
}
