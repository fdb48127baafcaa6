// Summary items: numbered heading rows that total the rows below them per
// category (规格类别), with the matching units, and the list of items
// the tool bar shows.
//
// A summary row is a data row whose COL_SEQ is not empty; its item runs to
// the row before the next summary row, or to the last row of the sheet.
#pragma once

#include <string>
#include <vector>

class CCalcGrid;
class CPrompt;
class SheetGrid;
class UndoHistory;

// The cell moves these commands make are plain moves: the session commits
// an open editor before it runs any of them, so that leaving a cell here
// only refreshes the item of the cell left.
class CSummaryItems {
public:
    CSummaryItems(CCalcGrid& calc, UndoHistory& history, CPrompt& prompt);

    // F2: numbers the current row as a new item, or removes the numbering of
    // a summary row. Refused with a message when several rows are selected.
    // True when the sheet changed.
    bool ToggleSummary();
    // The numbering of summary row r removed (as ToggleSummary does on it):
    // later items renumbered, the item above recomputed. Used by cut and
    // row deletion.
    void RemoveItemAt(int r);
    // The numbering of several summary rows removed, in row order: the
    // sheet ends as RemoveItemAt on each in turn leaves it, in one pass over
    // the rows below the first.
    void RemoveItemsAt(const std::vector<int>& rows);
    // Headings that went with deleted rows at row: every item number from
    // row on changes by delta.
    void RenumberItemsFrom(int row, long delta);

    // Total text of rows a .. b: one line per category in order of first
    // appearance, "category=sum;" joined by "\n", the final ";" dropped.
    // More than 9000 rows: a warning, and only the first 9000 are added up.
    std::string TotalText(int a, int b);
    // Unit list of the item whose rows are a .. b, read against the total
    // text in row a - 1: one "unit;\n" per total line.
    std::string UnitList(int a, int b) const;

    // Refresh after leaving cell (row, col) of a calculation row; bChanged
    // when leaving it changed its text (only then is a unit carried to the
    // other rows of its category).
    void RefreshItemOf(int row, int col, bool bChanged = true);
    // The totals of the items holding the rows (a name's users whose value
    // changed), each item once; with bUnitLists their unit lists too.
    void RefreshItemsOfRows(std::vector<int> rows, bool bUnitLists = false);
    // Totals of the items around rows first .. last recomputed.
    void RecomputeStretch(int first, int last);
    // Every summary row's unit list recomputed.
    void RefreshUnitLists();
    // The unit lists after rows first .. last were rewritten in place (no
    // row numbered or un-numbered): those of the items holding the rows
    // recomputed. The others are left as they are when bWereCurrent tells
    // that every list was up to date before the rows changed; otherwise
    // every list is recomputed, as RefreshUnitLists does.
    void RefreshUnitListsOf(int first, int last, bool bWereCurrent);
    // True while every summary row's unit list is the one RefreshUnitLists
    // would write. Commits that leave a list behind say so; a sheet read
    // from elsewhere is checked with CheckUnitLists.
    bool UnitListsCurrent() const { return m_bListsCurrent; }
    void NoteUnitListsBehind() { m_bListsCurrent = false; }
    void CheckUnitLists();

    // The tool-bar list: one entry per summary row ("number name"), and the
    // entry of the item that holds the current row (-1 for none).
    void RefreshItemList();
    const std::vector<std::string>& ItemEntries() const { return m_Entries; }
    int SelectedItem() const { return m_nSelected; }
    // Choice of entry index (from 0): its summary row, whose name cell the
    // caller makes current and passes through the editor once; -1 for a bad
    // index.
    int ChooseItem(int index);

    // Helpers over the sheet.
    static bool IsSummaryRow(const SheetGrid& grid, int row);
    // Nearest summary row above row (not row itself), or -1.
    static int SummaryRowAbove(const SheetGrid& grid, int row);
    // The row before the next summary row below row, or the last row.
    static int ItemEnd(const SheetGrid& grid, int row);
    // Category texts are compared with their line breaks ignored.
    static bool SameCategory(const std::string& a, const std::string& b);
    // The quantity of a row as the totals add it up: the number behind the
    // result separator of its expression cell, 0 when there is none.
    static double RowValue(const std::string& formula);
    // A summed quantity as a total line shows it with this many decimals.
    static void AppendTotalValue(std::string& out, double sum, int decimals);

private:
    // The total of the item holding calculation row `row` rewritten; false
    // when no summary row heads it.
    bool RefreshTotalOf(int row, bool bExpression);
    // The unit of row `row` copied to the other rows of its category, and
    // the category's unit taken over by it.
    void SpreadUnit(int row);
    void TakeCategoryUnit(int row);
    void UpdateUnitList(int s);
    // The unit list RefreshUnitLists writes into summary row s.
    std::string ComputedUnitList(int s) const;
    std::string EntryText(int row) const;
    // (row, col) made current, the item of the cell left refreshed.
    void MoveTo(int row, int col);

    CCalcGrid& m_Calc;
    UndoHistory& m_History;
    CPrompt& m_Prompt;
    std::vector<std::string> m_Entries;
    int m_nSelected = -1;
    // Unknown until the first check or full refresh.
    bool m_bListsCurrent = false;
};
