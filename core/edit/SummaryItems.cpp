#include "core/edit/SummaryItems.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <unordered_map>

#include "core/edit/UndoHistory.h"
#include "core/engine/CalcState.h"
#include "core/engine/CalcTexts.h"
#include "core/engine/ExprEngine.h"
#include "core/engine/ExprText.h"
#include "core/engine/GbkText.h"
#include "core/engine/Prompt.h"
#include "core/sheet/CalcGrid.h"
#include "core/sheet/CellText.h"
#include "core/sheet/EditTexts.h"
#include "core/sheet/SheetGrid.h"

namespace {

const int TOTAL_MAX_ROWS = 9000;

// atoi: optional blanks and sign, then digits; anything else ends it.
long ItemNumber(const std::string& text)
{
    return std::strtol(text.c_str(), nullptr, 10);
}

// atof's prefix rule for decimal numbers: blanks, an optional sign, digits
// with an optional point and exponent; no number gives 0. Hexadecimal,
// "inf" and "nan" are not numbers here.
double LeadingNumber(const std::string& text)
{
    const char* p = text.c_str();
    const char* end = p + text.size();
    while (p < end && (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\v' || *p == '\f'))
        ++p;
    bool bNegative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        bNegative = *p == '-';
        ++p;
    }
    if (p == end || !(gbk::IsAsciiDigit(*p) || (*p == '.' && p + 1 < end && gbk::IsAsciiDigit(p[1]))))
        return 0.0;
    double value = 0.0;
    std::from_chars(p, end, value, std::chars_format::general);
    return bNegative ? -value : value;
}

void AppendTotalLine(std::string& out, const std::string& key, double sum, int decimals, bool bLast)
{
    out += key;
    out += '=';
    CSummaryItems::AppendTotalValue(out, sum, decimals);
    out += bLast ? ";" : ";\n";
}

}  // namespace

CSummaryItems::CSummaryItems(CCalcGrid& calc, UndoHistory& history, CPrompt& prompt)
    : m_Calc(calc), m_History(history), m_Prompt(prompt)
{
}

void CSummaryItems::MoveTo(int row, int col)
{
    SheetGrid& grid = m_Calc.Grid();
    if (row == grid.Row() && col == grid.Col())
        return;
    RefreshItemOf(grid.Row(), grid.Col(), false);
    grid.SetRow(row);
    grid.SetCol(col);
}

double CSummaryItems::RowValue(const std::string& formula)
{
    if (formula.empty())
        return 0.0;
    return LeadingNumber(celltext::WithoutLineBreaks(exprtext::ValueAfterSeparator(formula)));
}

void CSummaryItems::AppendTotalValue(std::string& out, double sum, int decimals)
{
    CExprEngine::AppendFixed(out, CExprEngine::RoundHalfUp(sum, decimals + 1), decimals);
}

bool CSummaryItems::IsSummaryRow(const SheetGrid& grid, int row)
{
    return row >= 1 && row < grid.Rows() && !grid.TextMatrix(row, COL_SEQ).empty();
}

int CSummaryItems::SummaryRowAbove(const SheetGrid& grid, int row)
{
    for (int r = std::min(row, grid.Rows()) - 1; r >= 1; --r)
        if (!grid.TextMatrix(r, COL_SEQ).empty())
            return r;
    return -1;
}

int CSummaryItems::ItemEnd(const SheetGrid& grid, int row)
{
    const int rows = grid.Rows();
    for (int r = row + 1; r < rows; ++r)
        if (!grid.TextMatrix(r, COL_SEQ).empty())
            return r - 1;
    return rows - 1;
}

bool CSummaryItems::SameCategory(const std::string& a, const std::string& b)
{
    std::size_t i = 0, j = 0;
    for (;;) {
        while (i < a.size() && a[i] == '\n')
            ++i;
        while (j < b.size() && b[j] == '\n')
            ++j;
        if (i == a.size() || j == b.size())
            return i == a.size() && j == b.size();
        if (a[i] != b[j])
            return false;
        ++i;
        ++j;
    }
}

std::string CSummaryItems::TotalText(int a, int b)
{
    if (b < a)
        return std::string();
    if (b - a + 1 > TOTAL_MAX_ROWS) {
        m_Prompt.ShowMessage(edittext::TOTAL_TOO_MANY_ROWS, calctext::TEXT_WARNING);
        b = a + TOTAL_MAX_ROWS - 1;
    }
    const SheetGrid& grid = m_Calc.Grid();
    const int decimals = m_Calc.State().Decimals();
    std::string out;

    if (a == b) {
        // One row shows its category even when its value is 0.
        AppendTotalLine(out, celltext::WithoutLineBreaks(grid.TextMatrix(a, COL_SIZE)),
                        RowValue(grid.TextMatrix(a, COL_FORMULA)), decimals, true);
    } else {
        // Rows grouped by category in order of first appearance, each group
        // summed in row order.
        std::unordered_map<std::string, std::size_t> index;
        std::vector<std::string> keys;
        std::vector<double> sums;
        for (int r = a; r <= b; ++r) {
            std::string key = celltext::WithoutLineBreaks(grid.TextMatrix(r, COL_SIZE));
            const double value = RowValue(grid.TextMatrix(r, COL_FORMULA));
            auto found = index.find(key);
            if (found == index.end()) {
                index.emplace(key, keys.size());
                keys.push_back(std::move(key));
                sums.push_back(value);
            } else {
                sums[found->second] += value;
            }
        }
        // A group that sums to exactly 0 is left out.
        for (std::size_t g = 0; g < keys.size(); ++g)
            if (sums[g] != 0)
                AppendTotalLine(out, keys[g], sums[g], decimals, g + 1 == keys.size());
    }

    if (!out.empty()) {
        if (out[0] == '\n')
            out.erase(0, 1);
        // The final ";", or the line feed before a left-out last group.
        if (!out.empty())
            out.pop_back();
    }
    return out;
}

std::string CSummaryItems::UnitList(int a, int b) const
{
    const SheetGrid& grid = m_Calc.Grid();
    const std::string& total = grid.TextMatrix(a - 1, COL_FORMULA);
    std::string out;

    // Rows a .. b are indexed by category lazily, first occurrence only, so
    // that every line costs no more than the rows not yet looked at.
    std::unordered_map<std::string, int> first;
    int next = a;
    auto unitOf = [&](const std::string& category) -> const std::string* {
        auto found = first.find(category);
        if (found != first.end())
            return &grid.TextMatrix(found->second, COL_UNIT);
        while (next <= b) {
            const int r = next++;
            auto added = first.emplace(celltext::WithoutLineBreaks(grid.TextMatrix(r, COL_SIZE)), r);
            if (added.second && added.first->first == category)
                return &grid.TextMatrix(r, COL_UNIT);
        }
        return nullptr;
    };

    std::size_t pos = 0;
    const std::size_t n = total.size();
    for (;;) {
        while (pos < n && total[pos] == '\n')
            ++pos;
        const std::size_t mark = total.find_first_of("=;", pos);
        if (mark == std::string::npos)
            break;
        if (total[mark] == '=' && a <= b) {
            const std::string category = total.substr(pos, mark - pos);
            if (!category.empty()) {
                if (const std::string* unit = unitOf(category))
                    out += *unit;
            }
            out += ";\n";
        }
        pos = mark + 1;
    }
    return out;
}

std::string CSummaryItems::ComputedUnitList(int s) const
{
    std::string units = UnitList(s + 1, ItemEnd(m_Calc.Grid(), s));
    units.resize(units.size() >= 2 ? units.size() - 2 : 0);
    return units;
}

void CSummaryItems::UpdateUnitList(int s)
{
    m_Calc.Grid().SetTextMatrix(s, COL_UNIT, ComputedUnitList(s));
    m_Calc.FitRowHeight(s);
}

void CSummaryItems::RefreshUnitLists()
{
    SheetGrid& grid = m_Calc.Grid();
    const int rows = grid.Rows();
    for (int s = 1; s < rows; ++s)
        if (!grid.TextMatrix(s, COL_SEQ).empty())
            UpdateUnitList(s);
    m_bListsCurrent = true;
}

void CSummaryItems::RefreshUnitListsOf(int first, int last, bool bWereCurrent)
{
    // A list reads only its own item's rows and total, so when all were up
    // to date, the items the rows belong to are all a full refresh would
    // change: a small edit then costs the size of its items, not of the
    // sheet.
    if (!bWereCurrent) {
        RefreshUnitLists();
        return;
    }
    const SheetGrid& grid = m_Calc.Grid();
    first = std::max(first, 1);
    last = std::min(last, grid.Rows() - 1);
    const int above = SummaryRowAbove(grid, first);
    if (above >= 0)
        UpdateUnitList(above);
    for (int s = first; s <= last; ++s)
        if (IsSummaryRow(grid, s))
            UpdateUnitList(s);
    m_bListsCurrent = true;
}

void CSummaryItems::CheckUnitLists()
{
    const SheetGrid& grid = m_Calc.Grid();
    m_bListsCurrent = true;
    for (int s = 1; s < grid.Rows() && m_bListsCurrent; ++s)
        if (IsSummaryRow(grid, s) && grid.TextMatrix(s, COL_UNIT) != ComputedUnitList(s))
            m_bListsCurrent = false;
}

bool CSummaryItems::ToggleSummary()
{
    SheetGrid& grid = m_Calc.Grid();
    if (grid.RowSel() != grid.Row()) {
        m_Prompt.ShowMessage(edittext::SUMMARY_MULTI_ROW, calctext::TEXT_WARNING);
        return false;
    }
    const int r = grid.Row();
    if (r < 1)
        return false;

    if (!grid.TextMatrix(r, COL_SEQ).empty()) {
        RemoveItemAt(r);
        return true;
    }

    // A row with content moves down under a new empty heading row.
    if (!grid.TextMatrix(r, COL_SIZE).empty() || !grid.TextMatrix(r, COL_FORMULA).empty()) {
        const SRowsInserted inserted = m_Calc.InsertRows();
        if (inserted.m_bDone)
            m_History.RecordStep(grid, UNDO_INSERT_ROWS, inserted.m_nFirst, 1, inserted.m_nLast, SHEET_COLS - 1);
        if (!m_History.IsReplaying()) {
            m_History.NoteRowInserted(r);
            m_History.MarkTopAsItem();
        }
    }

    const std::uint32_t color = m_Calc.SummaryColor();
    for (int c = 1; c < grid.Cols(); ++c)
        grid.SetBackColorAt(r, c, color);
    grid.SetTextMatrix(r, COL_SIZE, edittext::SUMMARY_SIZE);
    grid.SetTextMatrix(r, COL_FORMULA, std::string());
    grid.SetAlignmentAt(r, COL_POSITION, ALIGN_LEFT_CENTER);
    MoveTo(r, COL_POSITION);

    const int above = SummaryRowAbove(grid, r);
    const long number = above >= 0 ? ItemNumber(grid.TextMatrix(above, COL_SEQ)) + 1 : 1;
    grid.SetTextMatrix(r, COL_SEQ, std::to_string(number));
    for (int row = r + 1; row < grid.Rows(); ++row) {
        const std::string& seq = grid.TextMatrix(row, COL_SEQ);
        if (!seq.empty())
            grid.SetTextMatrix(row, COL_SEQ, std::to_string(ItemNumber(seq) + 1));
    }

    grid.SetTextMatrix(r, COL_FORMULA, TotalText(r + 1, ItemEnd(grid, r)));
    m_Calc.FitRowHeight(r);
    if (above >= 0) {
        grid.SetTextMatrix(above, COL_FORMULA, TotalText(above + 1, r - 1));
        m_Calc.FitRowHeight(above);
    }
    RefreshItemList();
    RefreshUnitLists();
    return true;
}

void CSummaryItems::RemoveItemAt(int r)
{
    SheetGrid& grid = m_Calc.Grid();
    if (!IsSummaryRow(grid, r))
        return;
    for (int c = 1; c < grid.Cols(); ++c)
        grid.SetBackColorAt(r, c, 0);
    // The heading's name cell becomes current alone (a cut may reach here
    // with a larger selection).
    MoveTo(r, COL_POSITION);
    grid.SetRowSel(r);
    grid.SetColSel(COL_POSITION);
    grid.SetAlignmentAt(r, COL_POSITION, ALIGN_RIGHT_CENTER);
    grid.SetTextMatrix(r, COL_SEQ, std::string());
    grid.SetTextMatrix(r, COL_UNIT, std::string());

    int last = -1;
    for (int row = r + 1; row < grid.Rows(); ++row) {
        const std::string& seq = grid.TextMatrix(row, COL_SEQ);
        if (seq.empty())
            continue;
        if (last < 0)
            last = row - 1;
        grid.SetTextMatrix(row, COL_SEQ, std::to_string(ItemNumber(seq) - 1));
    }
    if (last < 0)
        last = grid.Rows() - 1;

    grid.SetTextMatrix(r, COL_SIZE, std::string());
    grid.SetTextMatrix(r, COL_FORMULA, std::string());

    // The item above now reaches down over the removed item's rows; its unit
    // list follows its new total.
    const int above = SummaryRowAbove(grid, r);
    if (above >= 0) {
        grid.SetTextMatrix(above, COL_FORMULA, TotalText(above + 1, last));
        UpdateUnitList(above);
    }
    m_Calc.FitRowHeight(r);
    RefreshItemList();
}

void CSummaryItems::RemoveItemsAt(const std::vector<int>& rows)
{
    if (rows.empty())
        return;
    RemoveItemAt(rows.front());
    if (rows.size() == 1)
        return;
    SheetGrid& grid = m_Calc.Grid();
    // Each later heading loses what RemoveItemAt takes from it; each
    // numbered row below goes down by the headings removed above it.
    std::size_t next = 1;
    long passed = 0;
    for (int row = rows[1]; row < grid.Rows(); ++row) {
        if (next < rows.size() && row == rows[next]) {
            ++next;
            ++passed;
            for (int c = 1; c < grid.Cols(); ++c)
                grid.SetBackColorAt(row, c, 0);
            grid.SetAlignmentAt(row, COL_POSITION, ALIGN_RIGHT_CENTER);
            grid.SetTextMatrix(row, COL_SEQ, std::string());
            grid.SetTextMatrix(row, COL_UNIT, std::string());
            grid.SetTextMatrix(row, COL_SIZE, std::string());
            grid.SetTextMatrix(row, COL_FORMULA, std::string());
            m_Calc.FitRowHeight(row);
            continue;
        }
        const std::string& seq = grid.TextMatrix(row, COL_SEQ);
        if (!seq.empty())
            grid.SetTextMatrix(row, COL_SEQ, std::to_string(ItemNumber(seq) - passed));
    }
    const int r = rows.back();
    MoveTo(r, COL_POSITION);
    grid.SetRowSel(r);
    grid.SetColSel(COL_POSITION);
    const int above = SummaryRowAbove(grid, r);
    if (above >= 0) {
        int last = grid.Rows() - 1;
        for (int row = r + 1; row < grid.Rows(); ++row)
            if (IsSummaryRow(grid, row)) {
                last = row - 1;
                break;
            }
        grid.SetTextMatrix(above, COL_FORMULA, TotalText(above + 1, last));
        UpdateUnitList(above);
    }
    RefreshItemList();
}

void CSummaryItems::RenumberItemsFrom(int row, long delta)
{
    SheetGrid& grid = m_Calc.Grid();
    for (int r = std::max(row, 1); r < grid.Rows(); ++r) {
        const std::string& seq = grid.TextMatrix(r, COL_SEQ);
        if (!seq.empty())
            grid.SetTextMatrix(r, COL_SEQ, std::to_string(ItemNumber(seq) + delta));
    }
}

void CSummaryItems::RefreshItemsOfRows(std::vector<int> rows, bool bUnitLists)
{
    const SheetGrid& grid = m_Calc.Grid();
    std::sort(rows.begin(), rows.end());
    int end = 0;  // the last row of the item refreshed last
    for (int r : rows) {
        if (r <= end || r < 1 || r >= grid.Rows() || IsSummaryRow(grid, r))
            continue;
        RefreshItemOf(r, COL_FORMULA, false);
        const int above = SummaryRowAbove(grid, r);
        if (bUnitLists && above >= 0)
            UpdateUnitList(above);
        end = ItemEnd(grid, r);
    }
}

void CSummaryItems::RefreshItemOf(int row, int col, bool bChanged)
{
    SheetGrid& grid = m_Calc.Grid();
    if (row < 1 || row >= grid.Rows() || IsSummaryRow(grid, row))
        return;
    if ((col == COL_SIZE || col == COL_FORMULA) && !RefreshTotalOf(row, col == COL_FORMULA))
        return;
    if (col != COL_UNIT && col != COL_SIZE)
        return;
    if (!grid.TextMatrix(row, COL_SIZE).empty()) {
        if (col == COL_SIZE)
            TakeCategoryUnit(row);
        else if (bChanged && !grid.TextMatrix(row, COL_UNIT).empty())  // an empty unit wipes nothing
            SpreadUnit(row);
    }
    RefreshUnitLists();
}

bool CSummaryItems::RefreshTotalOf(int row, bool bExpression)
{
    SheetGrid& grid = m_Calc.Grid();
    const int above = SummaryRowAbove(grid, row);
    if (above < 0)
        return false;
    std::string total = TotalText(above + 1, ItemEnd(grid, row));
    // After an expression the unit list stays as it is, even when the
    // total gained or lost a line.
    const bool bListMayLag = bExpression && m_bListsCurrent && total != grid.TextMatrix(above, COL_FORMULA);
    grid.SetTextMatrix(above, COL_FORMULA, total);
    m_Calc.FitRowHeight(above);
    if (bListMayLag && grid.TextMatrix(above, COL_UNIT) != ComputedUnitList(above))
        m_bListsCurrent = false;
    return true;
}

void CSummaryItems::SpreadUnit(int row)
{
    // A unit just typed goes to every other row of the same category; the
    // copies belong to the commit's undo step.
    SheetGrid& grid = m_Calc.Grid();
    const std::string unit = grid.TextMatrix(row, COL_UNIT);
    const std::string size = grid.TextMatrix(row, COL_SIZE);
    const int lastRow = grid.Rows() - 2;
    std::vector<int> rows;
    for (int r = 1; r <= lastRow; ++r) {
        if (r == row || !grid.TextMatrix(r, COL_SEQ).empty())
            continue;
        if (SameCategory(grid.TextMatrix(r, COL_SIZE), size) && grid.TextMatrix(r, COL_UNIT) != unit)
            rows.push_back(r);
    }
    if (!rows.empty())
        m_History.WidenTopStep(grid, row, COL_UNIT, rows.front(), rows.back());
    for (int r : rows) {
        grid.SetTextMatrix(r, COL_UNIT, unit);
        m_Calc.FitRowHeight(r);
    }
}

void CSummaryItems::TakeCategoryUnit(int row)
{
    // A new category takes the unit its other rows already have.
    SheetGrid& grid = m_Calc.Grid();
    const std::string unit = grid.TextMatrix(row, COL_UNIT);
    const std::string size = grid.TextMatrix(row, COL_SIZE);
    const int lastRow = grid.Rows() - 2;
    for (int r = 1; r <= lastRow; ++r) {
        if (!grid.TextMatrix(r, COL_SEQ).empty())
            continue;
        const std::string& other = grid.TextMatrix(r, COL_UNIT);
        if (!other.empty() && other != unit && SameCategory(grid.TextMatrix(r, COL_SIZE), size)) {
            grid.SetTextMatrix(row, COL_UNIT, other);
            m_Calc.FitRowHeight(row);
            break;
        }
    }
}

void CSummaryItems::RecomputeStretch(int first, int last)
{
    SheetGrid& grid = m_Calc.Grid();
    const int rows = grid.Rows();
    first = std::clamp(first, 1, std::max(rows - 1, 1));
    last = std::clamp(last, 1, std::max(rows - 1, 1));

    int start = -1;
    for (int r = first; r >= 1; --r)
        if (IsSummaryRow(grid, r)) {
            start = r;
            break;
        }
    if (start < 0)
        for (int r = first + 1; r < rows; ++r)
            if (IsSummaryRow(grid, r)) {
                start = r;
                break;
            }
    if (start < 0)
        return;

    // The stretch ends at the second summary row at or below last.
    int end = rows - 1;
    int found = 0;
    for (int r = last; r < rows; ++r)
        if (IsSummaryRow(grid, r) && ++found == 2) {
            end = r;
            break;
        }

    // Each rewritten total takes its unit list along, so that the units stay
    // one line per total line (rows may have been removed from the item).
    int heading = -1;
    for (int r = start; r <= end; ++r) {
        if (!IsSummaryRow(grid, r))
            continue;
        if (heading >= 0) {
            grid.SetTextMatrix(heading, COL_FORMULA, TotalText(heading + 1, r - 1));
            UpdateUnitList(heading);
        }
        heading = r;
    }
    if (heading >= 0 && end == rows - 1) {
        grid.SetTextMatrix(heading, COL_FORMULA, TotalText(heading + 1, rows - 1));
        UpdateUnitList(heading);
    }

    for (int r = start; r < end; ++r)
        m_Calc.FitRowHeight(r);
}

std::string CSummaryItems::EntryText(int row) const
{
    const SheetGrid& grid = m_Calc.Grid();
    return celltext::WithoutLineBreaks(grid.TextMatrix(row, COL_SEQ)) + " " + celltext::WithoutLineBreaks(grid.TextMatrix(row, COL_POSITION));
}

void CSummaryItems::RefreshItemList()
{
    const SheetGrid& grid = m_Calc.Grid();
    m_Entries.clear();
    m_nSelected = -1;
    for (int r = 1; r < grid.Rows(); ++r)
        if (!grid.TextMatrix(r, COL_SEQ).empty())
            m_Entries.push_back(EntryText(r));

    int current = grid.Row();
    if (!IsSummaryRow(grid, current))
        current = SummaryRowAbove(grid, current);
    if (current < 0)
        return;
    const std::string entry = EntryText(current);
    for (std::size_t i = 0; i < m_Entries.size(); ++i)
        if (m_Entries[i] == entry) {
            m_nSelected = static_cast<int>(i);
            break;
        }
}

int CSummaryItems::ChooseItem(int index)
{
    if (index < 0 || index >= static_cast<int>(m_Entries.size()))
        return -1;
    const std::string entry = m_Entries[index];
    const SheetGrid& grid = m_Calc.Grid();
    for (int r = 1; r < grid.Rows(); ++r) {
        if (!grid.TextMatrix(r, COL_SEQ).empty() && EntryText(r) == entry) {
            m_nSelected = index;
            return r;
        }
    }
    return -1;
}
