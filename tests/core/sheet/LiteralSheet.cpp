#include "LiteralSheet.h"

#include <algorithm>

#include "core/engine/ExprText.h"
#include "core/engine/GbkText.h"
#include "core/sheet/CellText.h"

namespace {
std::string Prepared(const std::string& text)
{
    return exprtext::PrepareForEvaluation(exprtext::CleanExpression(text));
}
}  // namespace

CLiteralSheet::CLiteralSheet(CCalcState& state) : m_State(state), m_Engine(state) {}

std::string CLiteralSheet::NameOf(int row) const
{
    return celltext::WithoutLineBreaks(m_Grid.TextMatrix(row, COL_REF));
}

void CLiteralSheet::RebuildRefTable(int row, int col, const std::string* pText)
{
    m_State.RefTableToRebuild().clear();
    for (int i = 1; i < m_Grid.Rows(); ++i) {
        const std::string name = (pText && i == row && col == COL_REF) ? *pText : NameOf(i);
        if (name.empty())
            continue;
        std::string formula = m_Grid.TextMatrix(i, COL_FORMULA);
        if (pText && i == row && col == COL_FORMULA) {
            formula = *pText;
            if (formula.empty() || formula[0] != '=')
                formula += "+0";
        }
        CRefEntry entry;
        entry.m_strName = name;
        entry.m_strRow = std::to_string(i);
        entry.m_nRow = i;
        entry.m_strValue = exprtext::ValueAfterSeparator(formula);
        m_State.RefTableToRebuild().push_back(entry);
    }
}

std::string CLiteralSheet::CalcExpressionText(int row, int col, const std::string& text)
{
    std::string t = exprtext::CleanExpression(text);
    t.erase(exprtext::FindResultSeparator(t));
    if (row > 0)
        RebuildRefTable(row, col, &t);
    return m_Engine.EvaluateToResultText(t);
}

std::string CLiteralSheet::CalcRowText(int row)
{
    std::string t = Prepared(m_Grid.TextMatrix(row, COL_FORMULA));
    t.erase(exprtext::FindResultSeparator(t));
    return m_Engine.EvaluateToResultText(t);
}

int CLiteralSheet::CheckCircular(int row, const std::string& text)
{
    if (m_State.RefTable().empty())
        return 0;
    const std::string n = NameOf(row);
    if (n.empty())
        return -1;
    if (std::find(m_RefPath.begin(), m_RefPath.end(), n) != m_RefPath.end())
        return row;
    m_RefPath.push_back(n);
    const std::string t = Prepared(text);
    const std::vector<CRefEntry> table = m_State.RefTable();
    for (const CRefEntry& e : table) {
        if (!celltext::OccursAsOperand(t, e.m_strName))
            continue;
        const int found = CheckCircular(e.m_nRow, m_Grid.TextMatrix(e.m_nRow, COL_FORMULA));
        if (found != -1)
            return found;
    }
    m_RefPath.pop_back();
    return -1;
}

std::string CLiteralSheet::TableNameOf(int row) const
{
    for (const CRefEntry& e : m_State.RefTable())
        if (e.m_strRow == std::to_string(row))
            return e.m_strName;
    return std::string();
}

bool CLiteralSheet::Uses(int row, const std::string& name) const
{
    // A total names categories, never rows.
    return m_Grid.TextMatrix(row, COL_SEQ).empty()
        && celltext::OccursAsOperand(Prepared(m_Grid.TextMatrix(row, COL_FORMULA)), name);
}

// The rows reached from the origin that lie on a cycle: each is reached
// again from itself.
std::vector<char> CLiteralSheet::RowsOnCycles(const std::vector<std::vector<int>>& users, const std::vector<int>& first) const
{
    const std::size_t rows = users.size();
    auto reach = [&](const std::vector<int>& from) {
        std::vector<char> seen(rows, 0);
        std::vector<int> todo = from;
        while (!todo.empty()) {
            const int r = todo.back();
            todo.pop_back();
            if (seen[r])
                continue;
            seen[r] = 1;
            for (int u : users[r])
                todo.push_back(u);
        }
        return seen;
    };
    const std::vector<char> reached = reach(first);
    std::vector<char> cyclic(rows, 0);
    for (std::size_t r = 1; r < rows; ++r)
        if (reached[r])
            cyclic[r] = reach(users[r])[r];
    return cyclic;
}

void CLiteralSheet::CarryValue(int origin, int from)
{
    for (int i : m_Users[from]) {
        if (i == origin || m_Cyclic[i])
            continue;
        m_Recalculated[i] = 1;
        const std::string v = exprtext::ValueAfterSeparator(CalcRowText(i));
        const std::string& stored = m_Grid.TextMatrix(i, COL_FORMULA);
        const std::size_t sep = exprtext::FindResultSeparator(stored);
        const std::string rewritten = sep < stored.size() ? stored.substr(0, sep + 1) + v : stored + "=" + v;
        const bool multiLine = stored.find('\n') != std::string::npos;
        m_Grid.SetTextMatrix(i, COL_FORMULA, rewritten);
        if (multiLine)
            FitRowHeight(i);
        if (NameOf(i).empty())
            continue;
        for (CRefEntry& e : m_State.RefTableToRebuild())
            if (e.m_strRow == std::to_string(i)) {
                e.m_strValue = v;
                CarryValue(origin, i);
                break;
            }
    }
}

// Shows the messages of the recalculated rows once each, as the rows read
// after every value has arrived.
void CLiteralSheet::ShowMessagesOfRecalculated(CPrompt* prompt)
{
    m_State.SetPrompt(prompt);
    for (int i = 1; i < m_Grid.Rows(); ++i)
        if (m_Recalculated[i])
            CalcRowText(i);
}

// The plain depth-first carry, changed in two ways: a row marked as circular
// stops nothing, and a row on a cycle is neither recalculated nor carries
// its value on. Each recalculated row raises its messages once.
void CLiteralSheet::PropagateValue(int row, std::string value)
{
    if (m_State.RefTable().empty())
        return;
    if (value.empty())
        value = "0";
    std::string name;
    bool found = false;
    for (CRefEntry& e : m_State.RefTableToRebuild())
        if (e.m_strRow == std::to_string(row)) {
            e.m_strValue = value;
            name = e.m_strName;
            found = true;
            break;
        }
    if (!found)
        return;
    const int rows = m_Grid.Rows();
    std::vector<std::vector<int>> users(static_cast<std::size_t>(rows));
    for (int r = 1; r < rows; ++r) {
        const std::string own = r == row ? name : NameOf(r).empty() ? std::string()
                                                                    : TableNameOf(r);
        for (int i = 1; i < rows && !own.empty(); ++i)
            if (i != row && Uses(i, own))
                users[r].push_back(i);
    }
    m_Cyclic = RowsOnCycles(users, users[row]);
    m_Users = users;
    m_Recalculated.assign(static_cast<std::size_t>(rows), 0);
    CPrompt* prompt = m_State.Prompt();
    m_State.SetPrompt(nullptr);
    CarryValue(row, row);
    ShowMessagesOfRecalculated(prompt);
}

void CLiteralSheet::RefreshUsers(const std::vector<int>& users)
{
    for (int t : users) {
        if (m_Cyclic[t])
            continue;
        m_Recalculated[t] = 1;
        CalcRowText(t);
        const std::string own = NameOf(t);
        if (own.empty())
            continue;
        for (CRefEntry& e : m_State.RefTableToRebuild())
            if (e.m_strName == own) {
                e.m_strValue = celltext::ValueOrZero(m_Grid.TextMatrix(t, COL_FORMULA));
                break;
            }
        RefreshUsers(m_Users[t]);
    }
}

// As the propagation: rows on a cycle are left out, a circular row stops
// nothing, the row the refresh starts from does not carry its name on.
void CLiteralSheet::RefreshNameUsers(int row, const std::string& rawName)
{
    const std::string name = Prepared(rawName);
    if (m_State.RefTable().empty())
        return;
    const int rows = m_Grid.Rows();
    std::vector<std::vector<int>> users(static_cast<std::size_t>(rows));
    std::vector<int> first;
    for (int i = 1; i < rows; ++i)
        if (Uses(i, name))
            first.push_back(i);
    for (int r = 1; r < rows; ++r) {
        const std::string own = r == row || NameOf(r).empty() ? std::string() : Prepared(NameOf(r));
        for (int i = 1; i < rows && !own.empty(); ++i)
            if (Uses(i, own))
                users[r].push_back(i);
    }
    m_Cyclic = RowsOnCycles(users, first);
    m_Users = users;
    m_Recalculated.assign(static_cast<std::size_t>(rows), 0);
    CPrompt* prompt = m_State.Prompt();
    m_State.SetPrompt(nullptr);
    RefreshUsers(first);
    ShowMessagesOfRecalculated(prompt);
}

void CLiteralSheet::Commit(int row, int col, const std::string& editorText)
{
    const bool summaryRow = !m_Grid.TextMatrix(row, COL_SEQ).empty();
    if (col >= COL_SIZE && summaryRow)
        return;
    m_State.MarkCalcOk();
    std::string t = editorText;
    if (col == COL_FORMULA || col == COL_REF)
        t = exprtext::CleanExpression(t);
    std::string squeezed;
    for (char c : t)
        if (c != ' ' && c != '\r' && c != '\n')
            squeezed += c;
    t = squeezed;
    t.erase(exprtext::FindResultSeparator(t));
    RebuildRefTable(row, col, &t);
    if (col == COL_FORMULA && !t.empty())
        t = CalcExpressionText(row, col, t);
    if (col == COL_REF) {
        std::string name = celltext::MakeRefName(t);
        for (int i = 1; i < m_Grid.Rows() && !name.empty(); ++i)
            if (i != row && NameOf(i) == name)
                name.clear();
        const std::string oldName = NameOf(row);
        RebuildRefTable(row, col, &name);
        m_RefPath.clear();
        const std::string formula = m_Grid.TextMatrix(row, COL_FORMULA);
        const int found = CheckCircular(row, formula);
        if (found > 0) {
            m_State.MarkCalcFailed();
            if (found == row && !celltext::HasCircularMessage(formula))
                m_Grid.SetTextMatrix(row, COL_FORMULA, celltext::CircularMessage() + formula);
            if (!oldName.empty())
                RefreshNameUsers(row, oldName);
            if (!name.empty())
                RefreshNameUsers(row, name);
        } else {
            m_State.MarkCalcOk();
            PropagateValue(row, celltext::ValueOrZero(formula));
        }
        t = name;
    }
    if (col == COL_FORMULA) {
        RebuildRefTable(row, col, &t);
        m_RefPath.clear();
        const int found = CheckCircular(row, t);
        if (found > 0) {
            m_State.MarkCalcFailed();
            if (found == row && !celltext::HasCircularMessage(t))
                t = celltext::CircularMessage() + t;
        } else {
            celltext::RemoveCircularMessage(t);
            const bool ok = m_State.CalcOk();
            PropagateValue(row, celltext::ValueOrZero(t));
            ok ? m_State.MarkCalcOk() : m_State.MarkCalcFailed();
        }
    }
    t = celltext::WrapCellText(t, celltext::WrapWidth(col));
    if (col == COL_SIZE)
        t.resize(gbk::ClipLength(t, 128));
    if (col == COL_UNIT)
        t.resize(gbk::ClipLength(t, 1023));
    if (!summaryRow) {
        m_Grid.SetBackColorAt(row, col, 0);
        if (col == COL_FORMULA && !m_State.CalcOk())
            m_Grid.SetBackColorAt(row, col, m_clrError);
    }
    m_Grid.SetTextMatrix(row, col, t);
    FitRowHeight(row);
    m_State.MarkCalcOk();
}

void CLiteralSheet::FitRowHeight(int row)
{
    int lines = 1;
    for (int col = 0; col < SHEET_COLS; ++col) {
        const std::string& text = m_Grid.TextMatrix(row, col);
        lines = std::max(lines, 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n')));
    }
    m_Grid.SetRowHeight(row, static_cast<int>(m_Grid.CellFontSize() * lines * 23.75));
}

std::string CLiteralSheet::RecalcKeepingText(const std::string& text)
{
    const std::size_t sep = exprtext::FindResultSeparator(text);
    const std::string expr = sep > 0 && sep < text.size() ? text.substr(0, sep) : text;
    std::string work;
    for (char c : exprtext::CleanExpression(expr))
        if (c != ' ' && c != '\r')
            work += c;
    work = m_Engine.CalcExpressionText(work);
    const std::size_t at = exprtext::FindResultSeparator(work);
    if (at > 0 && at < work.size())
        work.erase(0, at);
    return expr + work;
}

void CLiteralSheet::RecalcAll(int currentRow)
{
    const int last = m_Grid.Rows() - 1;
    const int start = std::max(currentRow - 20, 1);
    const int end = std::min(currentRow + 20, last);
    std::vector<int> order;
    for (int r = end; r > start; --r)
        order.push_back(r);
    for (int r = end; r <= last; ++r)
        order.push_back(r);
    for (int r = start; r >= 1; --r)
        order.push_back(r);
    for (int r : order) {
        if (r < 1)
            continue;
        const std::string formula = m_Grid.TextMatrix(r, COL_FORMULA);
        if (formula.empty() || !m_Grid.TextMatrix(r, COL_SEQ).empty())
            continue;
        m_Grid.SetTextMatrix(r, COL_FORMULA, RecalcKeepingText(formula));
        if (formula.find('\n') != std::string::npos)
            FitRowHeight(r);
    }
}

void CLiteralSheet::DeleteRows(int r1, int r2)
{
    m_Grid.RemoveRowsAt(r1, r2 - r1 + 1);
    RebuildRefTable(-1, -1, nullptr);
}
