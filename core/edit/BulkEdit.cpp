#include "core/edit/BulkEdit.h"

#include <algorithm>

#include "core/edit/CurrentCell.h"
#include "core/edit/SummaryItems.h"
#include "core/engine/CalcState.h"
#include "core/engine/ExprEngine.h"
#include "core/engine/ExprText.h"
#include "core/engine/GbkText.h"
#include "core/engine/Prompt.h"
#include "core/settings/SettingsNames.h"
#include "core/settings/SettingsStore.h"
#include "core/sheet/CalcGrid.h"
#include "core/sheet/EditTexts.h"
#include "core/sheet/SheetGrid.h"

namespace {

bool StartsWithOperator(const std::string& text)
{
    return !text.empty() && (text[0] == '*' || text[0] == '+' || text[0] == '-' || text[0] == '/');
}

void RemoveLineFeeds(std::string& text)
{
    text.erase(std::remove(text.begin(), text.end(), '\n'), text.end());
}

// True when the "(" at open is closed only by the text's final ")":
// counting from the next character up to the one before the last, the depth
// never falls back to 0. Annotations are passed over.
bool ClosedOnlyAtEnd(const std::string& text, std::size_t open)
{
    int depth = 1;
    const std::size_t end = text.size() - 1;
    for (std::size_t i = open + 1; i < end; i += gbk::CharLength(text, i)) {
        if (gbk::CharLength(text, i) == 2)
            continue;
        const char c = text[i];
        if (c == '[') {
            std::size_t j = i + 1;
            while (j < end && !(text[j] == ']' && gbk::CharLength(text, j) == 1))
                j += gbk::CharLength(text, j);
            if (j >= end)
                return true;
            i = j;
        } else if (c == '(') {
            ++depth;
        } else if (c == ')' && --depth == 0) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::string CheckBulkText(CExprEngine& engine, const std::string& text)
{
    if (text.empty())
        return edittext::BULK_NEEDS_EXPRESSION;
    if (!StartsWithOperator(text))
        return std::string();
    const std::string rest = text.substr(1);
    // An operator alone has nothing to add.
    if (rest.empty())
        return edittext::BULK_NEEDS_EXPRESSION;

    // The checks must not leave their traces in the shared calculation state.
    CKeepCalcOutcome keep(engine.State());
    bool bBad = engine.CheckAnnotations(rest) != 0 || engine.CheckParentheses(rest) != 0;
    if (!bBad) {
        const std::string reduced = engine.ReduceFunctions(engine.PrepareForEvaluation(rest));
        bBad = engine.CheckSyntax(reduced) != 0;
    }
    return bBad ? std::string(edittext::BULK_BAD_EXPRESSION) : std::string();
}

std::string ExpressionPart(const std::string& cellText)
{
    const std::size_t pos = exprtext::FindResultSeparator(cellText);
    if (pos == 0 || pos >= cellText.size())
        return cellText;
    return cellText.substr(0, pos);
}

std::string ToggleMinusText(const std::string& t)
{
    const std::size_t n = t.size();
    const bool bEndsClosed = n >= 2 && t[n - 1] == ')';
    if (n >= 2 && t[0] == '-' && t[1] == '(' && bEndsClosed) {
        if (n <= 3 || ClosedOnlyAtEnd(t, 1))
            return t.substr(2, n - 3);
        // -(a)*(b): the minus stands before more than one bracket; handled
        // like any other leading minus below.
    }
    if (n >= 1 && t[0] == '-') {
        if (t.find_first_of("+-", 1) == std::string::npos)
            return t.substr(1);
        return "-(" + t + ")";
    }
    if (n >= 2 && t[0] == '(' && bEndsClosed && ClosedOnlyAtEnd(t, 0))
        return "-" + t;
    return "-(" + t + ")";
}

CBulkEdit::CBulkEdit(CCalcGrid& calc, CCurrentCell& cell, CSummaryItems& summary, CPrompt& prompt, const CSettingsKey& key)
    : m_Calc(calc), m_Cell(cell), m_Summary(summary), m_Prompt(prompt), m_Key(key)
{
}

bool CBulkEdit::ConfirmText(const std::string& text)
{
    const std::string message = CheckBulkText(m_Calc.Engine(), text);
    if (!message.empty()) {
        m_Prompt.ShowMessage(message, edittext::APP_CAPTION);
        return false;
    }
    m_Key.WriteValue(settingsname::SELECT_ADD_SIGN, text);
    return true;
}

void CBulkEdit::Rows(int& r1, int& r2) const
{
    const SheetGrid& grid = m_Calc.Grid();
    r1 = std::min(grid.Row(), grid.RowSel());
    r2 = std::max(grid.Row(), grid.RowSel());
}

bool CBulkEdit::WriteCell(int row, int col, const std::string& text)
{
    SheetGrid& grid = m_Calc.Grid();
    bool changed = false;
    if (grid.TextMatrix(row, col) != text) {
        grid.SetTextMatrix(row, col, text);
        if (col == COL_SIZE || col == COL_UNIT)
            m_Summary.NoteUnitListsBehind();
        changed = true;
    }
    // None of the commits is a step of its own. The items of expression
    // rows are recomputed once at the end; totalling the item again as each
    // expression cell is left would make the whole edit grow with rows x
    // item size.
    const SCommitMode mode{false, col != COL_FORMULA};
    changed |= m_Cell.MoveTo(row, col, mode);
    if (col == COL_FORMULA)
        changed |= m_Cell.OpenAndCommit(mode);
    else
        m_Calc.FitRowHeight(row);
    return changed;
}

bool CBulkEdit::EditRows(int col, const std::function<bool(int row, std::string& text)>& edit)
{
    SheetGrid& grid = m_Calc.Grid();
    int r1, r2;
    Rows(r1, r2);
    bool changed = false;
    for (int d = r1; d <= r2; ++d) {
        if (CSummaryItems::IsSummaryRow(grid, d))
            continue;
        std::string t = grid.TextMatrix(d, col);
        if (edit(d, t))
            changed |= WriteCell(d, col, t);
    }
    if (col == COL_FORMULA)
        m_Summary.RecomputeStretch(r1, r2);
    return changed;
}

bool CBulkEdit::AppendToCells()
{
    SheetGrid& grid = m_Calc.Grid();
    CRedrawOff redrawOff(grid);
    const std::string s = m_Key.ReadString(settingsname::SELECT_ADD_SIGN);
    const int c = grid.Col();
    if (s.empty() || c == COL_UNIT || c == COL_REF)
        return false;
    if (c == COL_FORMULA && !StartsWithOperator(s)) {
        m_Prompt.ShowMessage(edittext::BULK_NEEDS_OPERATOR, edittext::APP_CAPTION);
        return false;
    }
    return EditRows(c, [&](int d, std::string& t) {
        if (c != COL_FORMULA) {
            t += s;
            return true;
        }
        if (t.empty())
            return false;
        t = m_Calc.CalcExpressionText(d, "(" + ExpressionPart(t) + ")" + s);
        return true;
    });
}

bool CBulkEdit::RemoveFromCells()
{
    SheetGrid& grid = m_Calc.Grid();
    const std::string s = m_Key.ReadString(settingsname::SELECT_ADD_SIGN);
    if (s.empty()) {
        grid.Refresh();
        return false;
    }
    CRedrawOff redrawOff(grid);
    const int c = grid.Col();
    return EditRows(c, [&](int d, std::string& t) {
        if (grid.TextMatrix(d, COL_FORMULA).empty())
            return false;
        if (c == COL_FORMULA) {
            const std::size_t pos = exprtext::FindResultSeparator(t);
            if (pos < t.size())
                t.erase(pos);
            if (pos != 0)
                RemoveLineFeeds(t);
        }
        const std::size_t at = gbk::FindChars(t, s);
        if (at != std::string::npos)
            t.erase(at, s.size());
        if (c == COL_FORMULA)
            t = m_Calc.CalcExpressionText(d, t);
        return true;
    });
}

bool CBulkEdit::ToggleMinus()
{
    CRedrawOff redrawOff(m_Calc.Grid());
    return EditRows(COL_FORMULA, [&](int d, std::string& t) {
        if (t.empty())
            return false;
        t = ExpressionPart(t);
        RemoveLineFeeds(t);
        t = m_Calc.CalcExpressionText(d, ToggleMinusText(t));
        return true;
    });
}
