// What the editing commands (summary items, undo history, clipboard, bulk
// edits, display commands) need from the grid that owns the sheet. The grid
// (CCalcGrid) implements it; tests implement it over a bare SheetGrid.
//
// Every operation works on the sheet of Grid(); rows and columns are counted
// as the sheet counts them (row 0 the header, column 0 the item numbers).
#pragma once

#include <cstdint>
#include <string>

class SheetGrid;
class CCalcState;
class CPrompt;
class CSettingsKey;
class CSummaryItems;
class UndoHistory;

class CSheetEditHost {
public:
    virtual ~CSheetEditHost() = default;

    virtual SheetGrid& Grid() = 0;
    // Decimals, reference table and calculation messages.
    virtual CCalcState& State() = 0;
    // Message boxes and questions.
    virtual CPrompt& Prompt() = 0;
    virtual const CSettingsKey& Settings() = 0;
    // The summary items of this sheet and the application's undo history.
    virtual CSummaryItems& Summary() = 0;
    virtual UndoHistory& History() = 0;

    // The document's modified flag.
    virtual void SetModified() = 0;
    // Row height from the number of text lines of the row.
    virtual void FitRowHeight(int row) = 0;
    // The reference table rebuilt from the sheet.
    virtual void RebuildReferences() = 0;
    // Background of summary rows (columns 1 to 5).
    virtual std::uint32_t SummaryColor() const = 0;
    // Background of expression cells whose calculation failed.
    virtual std::uint32_t ErrorColor() const { return 65535; }

    // The sheet's row commands on the selected rows Row .. RowSel: they
    // record their undo step themselves unless a replay is running.
    virtual void InsertRows() = 0;
    virtual void DeleteRows() = 0;
    // Set while an undo or redo replays; recordings are skipped meanwhile.
    virtual void SetReplaying(bool bReplaying) = 0;

    // Result text of an expression for a row (old result cut, evaluated,
    // formatted, message in front).
    virtual std::string CalcExpressionText(int row, const std::string& text) = 0;
    // Moves the current cell as the grid does: the cell being left is
    // committed (recorded for undo unless navigating or replaying), then
    // (row, col) becomes current. Nothing happens when it already is.
    virtual void MoveCurrentCell(int row, int col) = 0;
    // Set while a bulk operation moves the current cell: commits record no
    // undo step meanwhile.
    virtual void SetNavigating(bool bNavigating) = 0;
    // Off while many cells are committed in a row: their items' totals are
    // then recomputed once by the caller.
    virtual void SetItemRefresh(bool bRefresh) { (void)bRefresh; }
    // Opens the editor on the current cell with its text and commits it at
    // once (re-formatted and re-evaluated). With bRecordUndo the commit
    // records its cell-edit step like a normal edit.
    virtual void OpenEditorAndCommit(bool bRecordUndo) = 0;
};
