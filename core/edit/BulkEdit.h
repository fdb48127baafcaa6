// Bulk edits of the current column over the selected rows: appending the
// same text or expression to every cell, removing the first occurrence of a
// text, and adding or removing a leading minus on every expression. None of
// them records an undo step.
#pragma once

#include <functional>
#include <string>

class CCalcGrid;
class CCurrentCell;
class CExprEngine;
class CPrompt;
class CSettingsKey;
class CSummaryItems;

// The text dialog's "确定": the message to show and keep the dialog open
// with, or the empty text when the text is accepted. An accepted text is
// not stored here (see CBulkEdit::ConfirmText).
std::string CheckBulkText(CExprEngine& engine, const std::string& text);

// The expression of a cell text: the text before its result separator (a
// "=" at the very start is kept).
std::string ExpressionPart(const std::string& cellText);

// The expression with its leading minus added or removed.
std::string ToggleMinusText(const std::string& expression);

class CBulkEdit {
public:
    CBulkEdit(CCalcGrid& calc, CCurrentCell& cell, CSummaryItems& summary, CPrompt& prompt, const CSettingsKey& key);

    // The dialog confirmed with text: shows the refusal and returns false,
    // or stores the text (SelectAddSign) and returns true.
    bool ConfirmText(const std::string& text);

    // The commands, after the dialog was confirmed: they take the stored
    // text. Each returns whether the sheet changed.
    bool AppendToCells();
    bool RemoveFromCells();
    bool ToggleMinus();

private:
    void Rows(int& r1, int& r2) const;
    // Writes a cell the way the commands do: made current and, for an
    // expression, passed through the editor and its commit.
    bool WriteCell(int row, int col, const std::string& text);
    // The commands' common pass over the selected rows, headings left out:
    // edit turns a row's text of column col into its new text, or returns
    // false to leave the row. Ends with the refresh of the totals when the
    // expressions changed. Run while the sheet does not draw.
    bool EditRows(int col, const std::function<bool(int row, std::string& text)>& edit);

    CCalcGrid& m_Calc;
    CCurrentCell& m_Cell;
    CSummaryItems& m_Summary;
    CPrompt& m_Prompt;
    const CSettingsKey& m_Key;
};
