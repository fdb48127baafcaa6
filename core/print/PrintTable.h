// The print table: the selected rows of the sheet as printed lines. One row
// gives one or more consecutive lines; each line holds six texts t0..t5 for
// the sheet's six columns. The number of lines has no fixed limit: every
// selected row gets its lines.
#pragma once

#include <string>
#include <vector>

class SheetGrid;
class CPrintSelection;

struct SPrintLine {
    std::string m_t[6];
    // A summary line: t0 (the item number) is not empty.
    bool IsSummary() const { return !m_t[0].empty(); }
};

struct SPrintTable {
    std::vector<SPrintLine> m_Lines;
    // The printed line count: the lines up to the last selected row that
    // has text in one of its columns 0..4. Pages are counted from it.
    int m_nCount = 0;
};

// Builds the table from the sheet rows 1.. that the selection prints.
// showStyle: "AUTOENTER" (a row takes as many lines as its tallest column
// 0..4), "AUTOSHOW" (as many as its expression; location and category are
// joined onto one line when they have more), "AUTOSHOWSIGN" (as many as its
// expression; location and category always joined); any other value gives
// rows no lines. The expression of a calculation row is followed by its
// unit; the reference name is always joined.
SPrintTable BuildPrintTable(const SheetGrid& sheet, const CPrintSelection& selection, const std::string& showStyle);
