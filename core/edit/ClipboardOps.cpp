#include "core/edit/ClipboardOps.h"

#include <algorithm>
#include <unordered_map>

#include "core/edit/CurrentCell.h"
#include "core/edit/SummaryItems.h"
#include "core/edit/UndoHistory.h"
#include "core/engine/CalcTexts.h"
#include "core/engine/GbkText.h"
#include "core/engine/Prompt.h"
#include "core/sheet/CalcGrid.h"
#include "core/sheet/CellText.h"
#include "core/sheet/EditTexts.h"
#include "core/sheet/SheetGrid.h"

CClipboard::EState CMemoryClipboard::GetText(std::string& text)
{
    if (!m_bHasText)
        return CLIP_NOT_TEXT;
    text = m_strText;
    return CLIP_TEXT;
}

bool CMemoryClipboard::SetText(const std::string& text)
{
    m_strText = text;
    m_bHasText = true;
    return true;
}

CClipboardOps::CClipboardOps(CCalcGrid& calc, CCurrentCell& cell, CSummaryItems& summary, UndoHistory& history,
                             CPrompt& prompt, CClipboard& clipboard)
    : m_Calc(calc), m_Cell(cell), m_Summary(summary), m_History(history), m_Prompt(prompt), m_Clipboard(clipboard)
{
}

void CClipboardOps::Selection(int& r1, int& c1, int& r2, int& c2) const
{
    const SheetGrid& grid = m_Calc.Grid();
    r1 = std::min(grid.Row(), grid.RowSel());
    r2 = std::max(grid.Row(), grid.RowSel());
    c1 = std::min(grid.Col(), grid.ColSel());
    c2 = std::max(grid.Col(), grid.ColSel());
}

void CClipboardOps::FitRows(int r1, int r2)
{
    const int last = std::min(r2, m_Calc.Grid().Rows() - 1);
    for (int r = r1; r <= last; ++r)
        m_Calc.FitRowHeight(r);
}

void CClipboardOps::CopyRow(int r, int r1, int c1, int c2, std::string& out)
{
    const SheetGrid& grid = m_Calc.Grid();
    const bool bSummary = CSummaryItems::IsSummaryRow(grid, r);
    for (int c = c1; c <= c2; ++c) {
        if (!bSummary) {
            const std::string& text = grid.TextMatrix(r, c);
            m_Buffer[r - r1][c - c1] = text;
            out += celltext::WithoutLineBreaks(text);
        }
        out += c == c2 ? '\n' : '\t';
    }
}

bool CClipboardOps::Copy()
{
    // A copy counts as a change of the sheet, refused or not.
    int r1, c1, r2, c2;
    Selection(r1, c1, r2, c2);
    if (r2 - r1 + 1 > BUFFER_ROWS) {
        m_Prompt.ShowMessage(edittext::COPY_TOO_MANY_ROWS, calctext::TEXT_WARNING);
        return true;
    }
    m_Buffer.assign(static_cast<std::size_t>(r2 - r1 + 1), std::vector<std::string>(BUFFER_CELLS));
    std::string out;
    for (int r = r1; r <= r2; ++r)
        CopyRow(r, r1, c1, c2, out);
    out.pop_back();
    m_Clipboard.SetText(out);
    return true;
}

bool CClipboardOps::Cut()
{
    SheetGrid& grid = m_Calc.Grid();
    int r1, c1, r2, c2;
    Selection(r1, c1, r2, c2);
    if (r2 - r1 + 1 > BUFFER_ROWS) {
        m_Prompt.ShowMessage(edittext::CUT_TOO_MANY_ROWS, calctext::TEXT_WARNING);
        return true;
    }
    m_History.RecordStep(grid, UNDO_CUT, r1, c1, r2, c2);

    m_Buffer.assign(static_cast<std::size_t>(r2 - r1 + 1), std::vector<std::string>(BUFFER_CELLS));
    std::string out;
    // A cut heading takes its item's numbering with it. The first one is
    // removed as soon as it is cleared (leaving the current cell commits,
    // and reads the rows below as they are); the numbering of the others
    // goes in one pass at the end, which ends the same.
    std::vector<int> headings;
    for (int r = r1; r <= r2; ++r) {
        const bool bSummary = CSummaryItems::IsSummaryRow(grid, r);
        CopyRow(r, r1, c1, c2, out);
        for (int c = c1; c <= c2; ++c)
            grid.SetTextMatrix(r, c, std::string());
        if (bSummary && headings.empty()) {
            // Leaving the current cell commits what is typed there.
            m_Cell.MoveTo(r, COL_POSITION);
            m_Summary.RemoveItemAt(r);
        }
        if (bSummary)
            headings.push_back(r);
    }
    if (headings.size() > 1) {
        headings.erase(headings.begin());
        m_Summary.RemoveItemsAt(headings);
    }
    out.pop_back();
    m_Summary.RecomputeStretch(r1, r2);
    m_Summary.RefreshUnitLists();
    FitRows(r1, r2);
    if (c1 <= COL_FORMULA && c2 >= COL_FORMULA)
        m_Calc.ColourFormulaCells(r1, r2);  // an emptied cell loses its error colour
    m_Clipboard.SetText(out);
    m_Calc.RebuildRefTable();
    return true;
}

bool CClipboardOps::Clear()
{
    SheetGrid& grid = m_Calc.Grid();
    int r1, c1, r2, c2;
    Selection(r1, c1, r2, c2);
    m_History.RecordStep(grid, UNDO_CLEAR, r1, c1, r2, c2);
    for (int r = r1; r <= r2; ++r) {
        if (CSummaryItems::IsSummaryRow(grid, r))
            continue;
        for (int c = c1; c <= c2; ++c)
            grid.SetTextMatrix(r, c, std::string());
    }
    m_Summary.RecomputeStretch(r1, r2);
    m_Summary.RefreshUnitLists();
    FitRows(r1, r2);
    if (c1 <= COL_FORMULA && c2 >= COL_FORMULA)
        m_Calc.ColourFormulaCells(r1, r2);  // an emptied cell loses its error colour
    m_Calc.RebuildRefTable();
    return true;
}

std::vector<std::vector<std::string>> CClipboardOps::SplitClipboardText(const std::string& input)
{
    std::string text = input;
    // Trailing line ends go, then one more separator.
    const bool bEndsWithLine = !text.empty() && text.back() == '\n';
    const bool bEndsWithTab = !text.empty() && text.back() == '\t';
    if (bEndsWithLine)
        while (!text.empty() && text.back() == '\n')
            text.pop_back();
    if ((bEndsWithLine || bEndsWithTab) && !text.empty() && (text.back() == '\t' || text.back() == '\n' || text.back() == '\r'))
        text.pop_back();

    std::vector<std::vector<std::string>> lines(1);
    lines.back().emplace_back();
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\t') {
            lines.back().emplace_back();
        } else if (c == '\n' || c == '\r') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            lines.emplace_back();
            lines.back().emplace_back();
        } else {
            lines.back().back() += c;
        }
    }
    return lines;
}

std::string CClipboardOps::CleanReferenceName(const std::string& text)
{
    std::string name;
    for (std::size_t i = 0; i < text.size(); i += gbk::CharLength(text, i)) {
        const char c = text[i];
        if (gbk::CharLength(text, i) == 1 && (gbk::IsAsciiLetter(c) || gbk::IsAsciiDigit(c)))
            name += gbk::ToLowerAscii(c);
    }
    std::size_t lead = 0;
    while (lead < name.size() && !gbk::IsAsciiLetter(name[lead]))
        ++lead;
    name.erase(0, lead);
    if (name.size() > 6)
        name.resize(6);
    return name;
}

CClipboardOps::EPasteEnd CClipboardOps::ReadLines(std::vector<std::vector<std::string>>& lines)
{
    std::string text;
    const CClipboard::EState state = m_Clipboard.GetText(text);
    if (state == CClipboard::CLIP_NOT_TEXT)
        m_Prompt.ShowMessage(edittext::CLIPBOARD_NOT_TEXT, edittext::APP_CAPTION);
    if (state != CClipboard::CLIP_TEXT)
        text.clear();
    if (text.empty())
        return PASTE_NOTHING;
    // Text that does not fit the transfer buffer is refused whole.
    lines = SplitClipboardText(text);
    bool bFits = static_cast<int>(lines.size()) <= BUFFER_ROWS;
    for (std::size_t i = 0; bFits && i < lines.size(); ++i)
        bFits = static_cast<int>(lines[i].size()) <= BUFFER_CELLS;
    return bFits ? PASTE_DONE : RefusePaste();
}

CClipboardOps::EPasteEnd CClipboardOps::RefusePaste()
{
    m_Prompt.ShowMessage(edittext::OUT_OF_SHEET, calctext::TEXT_WARNING);
    return PASTE_REFUSED;
}

bool CClipboardOps::WriteLines(int r1, int c1, int r2, int c2)
{
    // The clipboard's lines repeat down a taller selection; cells a line
    // does not reach are emptied. A summary row keeps its number and total.
    SheetGrid& grid = m_Calc.Grid();
    bool bRefWritten = false;
    std::size_t b = 0;
    for (int t = r1; t <= r2; ++t) {
        const bool bSummary = CSummaryItems::IsSummaryRow(grid, t);
        const std::vector<std::string>& line = m_Buffer[b];
        for (int k = c1; k <= c2; ++k) {
            const std::size_t cell = static_cast<std::size_t>(k - c1);
            if (bSummary && k == COL_FORMULA)
                continue;
            const std::string& value = (bSummary && k >= COL_SIZE) || cell >= line.size() ? std::string() : line[cell];
            if (k == COL_REF && !value.empty())
                bRefWritten = true;
            grid.SetTextMatrix(t, k, value);
        }
        if (++b == m_Buffer.size())
            b = 0;
    }
    return bRefWritten;
}

void CClipboardOps::CalculatePasted(int r1, int c1, int r2, int c2)
{
    // As a commit calculates them, within the paste's undo step; the totals
    // follow afterwards, each item once.
    SheetGrid& grid = m_Calc.Grid();
    m_Calc.RebuildRefTable();
    const SCommitMode quiet{false, false};
    for (int t = r1; t <= r2; ++t) {
        if (CSummaryItems::IsSummaryRow(grid, t) || grid.TextMatrix(t, COL_FORMULA).empty())
            continue;
        m_Cell.MoveTo(t, COL_FORMULA, quiet);
        m_Cell.OpenAndCommit(quiet);
    }
    grid.SetRow(r1);
    grid.SetCol(c1);
    grid.SetRowSel(r2);
    grid.SetColSel(c2);
}

void CClipboardOps::RefreshPastedItems(int r1, int r2)
{
    const SheetGrid& grid = m_Calc.Grid();
    int heading = CSummaryItems::SummaryRowAbove(grid, r1);
    int done = -1;
    for (int t = r1; t <= r2; ++t) {
        if (CSummaryItems::IsSummaryRow(grid, t)) {
            heading = t;
            continue;
        }
        if (heading >= 0 && heading != done) {
            m_Summary.RefreshItemOf(t, COL_FORMULA);
            done = heading;
        }
    }
}

void CClipboardOps::CleanPastedNames(int r1, int r2)
{
    SheetGrid& grid = m_Calc.Grid();
    CPrompt& prompt = m_Prompt;
    // One that another row already has is dropped.
    std::unordered_map<std::string, int> used;
    for (int r = 1; r < grid.Rows(); ++r) {
        const std::string& name = grid.TextMatrix(r, COL_REF);
        if (!name.empty())
            ++used[celltext::WithoutLineBreaks(name)];
    }
    for (int t = r1; t <= r2; ++t) {
        const std::string raw = grid.TextMatrix(t, COL_REF);
        if (!raw.empty())
            --used[celltext::WithoutLineBreaks(raw)];
        std::string name = CleanReferenceName(raw);
        if (celltext::IsFunctionName(name)) {
            prompt.ShowMessage(edittext::REF_NAME_IS_FUNCTION, calctext::TEXT_WARNING);
            name.clear();
        }
        if (!name.empty()) {
            auto found = used.find(name);
            if (found != used.end() && found->second > 0)
                name.clear();
            else
                ++used[name];
        }
        grid.SetTextMatrix(t, COL_REF, name);
    }
}

bool CClipboardOps::Paste()
{
    SheetGrid& grid = m_Calc.Grid();
    EPasteEnd end;
    {
        // The questions and messages of a paste come while the sheet does
        // not draw; it draws again before it is shown anew.
        CRedrawOff redrawOff(grid);
        end = PasteUndrawn();
    }
    if (end != PASTE_NOTHING)
        grid.Refresh();
    // A declined paste changed no cell: the names stay as they were read.
    if (end != PASTE_DECLINED)
        m_Calc.RebuildRefTable();
    return end == PASTE_DONE || end == PASTE_DECLINED;
}

CClipboardOps::EPasteEnd CClipboardOps::PasteUndrawn()
{
    SheetGrid& grid = m_Calc.Grid();
    int r1, c1, r2, c2;
    Selection(r1, c1, r2, c2);
    const bool bSingle = r1 == r2 && c1 == c2;
    std::vector<std::vector<std::string>> lines;
    const EPasteEnd read = ReadLines(lines);
    if (read != PASTE_DONE)
        return read;
    const int nLines = static_cast<int>(lines.size());
    if (bSingle) {
        c2 = std::min(c1 + static_cast<int>(lines.back().size()) - 1, grid.Cols() - 1);
        r2 = r1 + nLines - 1;
    }
    // The paste may reach any row of the sheet, but not grow it past its
    // last possible row.
    if (grid.Row() + (r2 - r1) > SHEET_MAX_ROWS - 1)
        return RefusePaste();
    m_Buffer = std::move(lines);

    // From here the sheet counts as modified, even when the user keeps the
    // cells as they are.
    const int need = std::min(grid.Row() + (r2 - r1) + 6, SHEET_MAX_ROWS);
    if (grid.Rows() < need)
        grid.SetRows(need);
    if (bSingle) {
        grid.SetRowSel(grid.Row() + (r2 - r1));
        grid.SetColSel(c2);
    }
    Selection(r1, c1, r2, c2);

    bool bHasText = false;
    for (int r = r1; r <= r2 && !bHasText; ++r)
        for (int c = c1; c <= c2; ++c)
            if (!grid.TextMatrix(r, c).empty()) {
                bHasText = true;
                break;
            }
    if (bHasText && m_Prompt.AskQuestion(edittext::PASTE_OVERWRITE, calctext::TEXT_WARNING, CPrompt::BUTTONS_YESNO) != CPrompt::ANSWER_YES)
        return PASTE_DECLINED;

    m_History.RecordStep(grid, UNDO_PASTE, grid.Row(), c1, grid.RowSel(), c2);
    const bool bListsCurrent = m_Summary.UnitListsCurrent();
    const bool bRefWritten = WriteLines(r1, c1, r2, c2);
    if (c1 <= COL_FORMULA && c2 >= COL_FORMULA)
        CalculatePasted(r1, c1, r2, c2);
    if (c1 <= COL_FORMULA && c2 >= COL_SIZE)
        RefreshPastedItems(r1, r2);
    // Pasted reference names are cleaned.
    if (bRefWritten)
        CleanPastedNames(r1, r2);
    // Rows elsewhere that use a pasted row's name: their items' totals and
    // unit lists follow.
    m_Summary.RefreshItemsOfRows(m_Calc.TakeRecalculatedUsers(), true);
    if (c1 <= COL_UNIT && c2 >= COL_SIZE)
        m_Summary.RefreshUnitListsOf(r1, r2, bListsCurrent);
    FitRows(r1, r2);
    return PASTE_DONE;
}
