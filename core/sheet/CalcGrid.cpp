#include "core/sheet/CalcGrid.h"

#include <algorithm>
#include <climits>
#include <functional>
#include <iterator>
#include <queue>

#include "core/engine/CalcTexts.h"
#include "core/engine/ExprText.h"
#include "core/engine/GbkText.h"
#include "core/engine/Prompt.h"
#include "core/settings/SettingsStore.h"
#include "core/settings/SheetSettings.h"
#include "core/sheet/CellText.h"
#include "core/sheet/EditTexts.h"
#include "core/sheet/RefIndex.h"

namespace {

// Header templates: one segment per column, as wide as the column.
const char TEMPLATE_1024[] = "\xD0\xF2\xBA\xC5 |    \xBC\xC6\xCB\xE3\xB2\xBF\xCE\xBB       |\xB9\xE6\xB8\xF1\xC0\xE0\xB1\xF0               "
                             "|\xBC\xC6\xCB\xE3\xB1\xED\xB4\xEF\xCA\xBD                                               | \xB5\xA5\xCE\xBB   "
                             "|\xD2\xFD\xD3\xC3  ";  // 序号 |    计算部位       |规格类别 ... | 单位   |引用
const char TEMPLATE_OTHER[] = "\xD0\xF2\xBA\xC5|   \xBC\xC6\xCB\xE3\xB2\xBF\xCE\xBB |\xB9\xE6\xB8\xF1\xC0\xE0\xB1\xF0     "
                              "|\xBC\xC6\xCB\xE3\xB1\xED\xB4\xEF\xCA\xBD                                       | \xB5\xA5\xCE\xBB   "
                              "|\xD2\xFD\xD3\xC3  ";  // 序号|   计算部位 |规格类别     |计算表达式 ... | 单位   |引用
const char TEXT_SEQ_HEADER[] = "\xD0\xF2\xBA\xC5";    // 序号

const int NEW_SHEET_ROWS = 36;
const int GROWTH = 10;
const std::size_t SIZE_LIMIT = 128;
const std::size_t UNIT_LIMIT = 1023;

bool HasLineBreak(const std::string& text)
{
    return text.find('\n') != std::string::npos;
}

}  // namespace

// Keeps the worker's message boxes until the interface thread shows them.
class CCalcGrid::CQueuedPrompt : public CPrompt {
public:
    void ShowMessage(const std::string& text, const std::string& caption) override
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_Messages.emplace_back(text, caption);
    }
    EAnswer AskQuestion(const std::string&, const std::string&, EButtons) override { return ANSWER_YES; }
    std::vector<std::pair<std::string, std::string>> Take()
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        std::vector<std::pair<std::string, std::string>> out;
        out.swap(m_Messages);
        return out;
    }

    CPrompt* m_pTarget = nullptr;  // the prompt the worker replaced

private:
    std::mutex m_Mutex;
    std::vector<std::pair<std::string, std::string>> m_Messages;
};

// Orders the rows a change reaches so that each comes after all of its
// inputs. The graph is given by the successors of its nodes (the rows that
// use a node's name); node 0 is the origin. Rows that lie on a cycle (their
// own name leads back to them) have no defined value: they are left as they
// are and nothing is carried through them. Every other reached row appears
// once, after every reached row it uses; among rows whose inputs are done the
// one nearest the top goes first.
class CCalcGrid::CAffectedOrder {
public:
    // successors(row, out) lists the rows that use the row's name; origin is
    // -1 for a name without a row.
    void Reserve(std::size_t rows)
    {
        if (m_Local.size() < rows)
            m_Local.resize(rows, -1);
    }
    template <typename Successors>
    void Build(int origin, int rows, Successors successors, std::vector<int>& order)
    {
        order.clear();
        Reserve(static_cast<std::size_t>(rows));
        m_Nodes.assign(1, origin);
        m_EdgeStart.clear();
        m_Edges.clear();
        // Reached rows and their edges, breadth first.
        std::vector<int> out;
        for (std::size_t i = 0; i < m_Nodes.size(); ++i) {
            m_EdgeStart.push_back(static_cast<int>(m_Edges.size()));
            successors(m_Nodes[i], out);
            for (int r : out) {
                if (r < 1 || r >= rows || r == origin)
                    continue;  // the origin keeps the value it was given
                if (m_Local[r] < 0) {
                    m_Local[r] = static_cast<int>(m_Nodes.size());
                    m_Nodes.push_back(r);
                }
                m_Edges.push_back(m_Local[r]);
            }
        }
        m_EdgeStart.push_back(static_cast<int>(m_Edges.size()));
        for (std::size_t i = 1; i < m_Nodes.size(); ++i)
            m_Local[m_Nodes[i]] = -1;
        const int n = static_cast<int>(m_Nodes.size());
        MarkCycles(n);
        // The rows reached without passing through a cycle, with the number
        // of their inputs among them.
        std::vector<int> inputs(static_cast<std::size_t>(n), 0);
        std::vector<char> reached(static_cast<std::size_t>(n), 0);
        std::vector<int> queue{0};
        reached[0] = 1;
        for (std::size_t q = 0; q < queue.size(); ++q) {
            const int u = queue[q];
            for (int e = m_EdgeStart[u]; e < m_EdgeStart[u + 1]; ++e) {
                const int w = m_Edges[e];
                if (m_Cyclic[w])
                    continue;
                ++inputs[w];
                if (!reached[w]) {
                    reached[w] = 1;
                    queue.push_back(w);
                }
            }
        }
        // Kahn's order, the topmost ready row first.
        std::priority_queue<std::pair<int, int>, std::vector<std::pair<int, int>>, std::greater<std::pair<int, int>>> ready;
        auto release = [&](int u) {
            for (int e = m_EdgeStart[u]; e < m_EdgeStart[u + 1]; ++e) {
                const int w = m_Edges[e];
                if (!m_Cyclic[w] && --inputs[w] == 0)
                    ready.emplace(m_Nodes[w], w);
            }
        };
        release(0);
        while (!ready.empty()) {
            const int u = ready.top().second;
            ready.pop();
            order.push_back(m_Nodes[u]);
            release(u);
        }
    }

private:
    // Tarjan's strongly connected components, without recursion: a node is
    // cyclic when its component has more than one node or it uses itself.
    void MarkCycles(int n)
    {
        m_Cyclic.assign(static_cast<std::size_t>(n), 0);
        std::vector<int> index(static_cast<std::size_t>(n), -1), low(static_cast<std::size_t>(n), 0);
        std::vector<char> onStack(static_cast<std::size_t>(n), 0);
        std::vector<int> stack;
        std::vector<std::pair<int, int>> calls;  // node, next edge
        int counter = 0;
        for (int root = 0; root < n; ++root) {
            if (index[root] >= 0)
                continue;
            calls.emplace_back(root, m_EdgeStart[root]);
            index[root] = low[root] = counter++;
            stack.push_back(root);
            onStack[root] = 1;
            while (!calls.empty()) {
                const int u = calls.back().first;
                int& e = calls.back().second;
                if (e < m_EdgeStart[u + 1]) {
                    const int w = m_Edges[e++];
                    if (w == u)
                        m_Cyclic[u] = 1;
                    if (index[w] < 0) {
                        index[w] = low[w] = counter++;
                        stack.push_back(w);
                        onStack[w] = 1;
                        calls.emplace_back(w, m_EdgeStart[w]);
                    } else if (onStack[w]) {
                        low[u] = std::min(low[u], index[w]);
                    }
                    continue;
                }
                calls.pop_back();
                if (!calls.empty())
                    low[calls.back().first] = std::min(low[calls.back().first], low[u]);
                if (low[u] == index[u]) {
                    const std::size_t top = std::find(stack.rbegin(), stack.rend(), u).base() - stack.begin() - 1;
                    const bool several = stack.size() - top > 1;
                    for (std::size_t i = top; i < stack.size(); ++i) {
                        onStack[stack[i]] = 0;
                        if (several)
                            m_Cyclic[stack[i]] = 1;
                    }
                    stack.resize(top);
                }
            }
        }
    }

    std::vector<int> m_Local;  // per row: its node, -1 when not reached
    std::vector<int> m_Nodes;
    std::vector<int> m_EdgeStart;
    std::vector<int> m_Edges;
    std::vector<char> m_Cyclic;
};

CCalcGrid::CCalcGrid(CCalcState& state, const CSettingsKey& key)
    : m_State(state), m_Key(key), m_Engine(state), m_pIndex(new CRefIndex(m_Grid, state)),
      m_pQueue(new CQueuedPrompt), m_pOrder(new CAffectedOrder)
{
}

CCalcGrid::~CCalcGrid()
{
    if (m_Worker.joinable())
        m_Worker.join();
}

// --- sheet operations -----------------------------------------------------------

void CCalcGrid::ResetSheet()
{
    std::lock_guard<std::recursive_mutex> lock(m_Mutex);
    m_Grid.SetFormatString(m_bScreen1024 ? TEMPLATE_1024 : TEMPLATE_OTHER);
    m_Grid.SetRows(NEW_SHEET_ROWS);
    m_Grid.SetFixedCols(1);
    m_Grid.SetFixedAlignment(1, ALIGN_CENTER_CENTER);
    m_Grid.SetFixedRows(1);
    m_Grid.Clear();
    m_pIndex->Clear();
    m_RecalculatedUsers.clear();  // rows of the old sheet
    for (int row = 0; row < m_Grid.Rows(); ++row)
        m_Grid.SetRowHeight(row, m_Grid.LineHeight());

    const SSheetInitSettings settings = ReadSheetInitSettings(m_Key);
    m_Grid.SetColAlignment(0, ALIGN_CENTER_CENTER);
    for (int col = 1; col < SHEET_COLS; ++col) {
        m_Grid.SetColAlignment(col, settings.m_ColAlign[col]);
        m_Grid.SetAlignmentAt(0, col, ALIGN_CENTER_CENTER);
    }
    m_Grid.SetRow(1);
    m_Grid.SetCol(1);
    m_Grid.SetTextMatrix(0, COL_SEQ, TEXT_SEQ_HEADER);
    for (int col = 1; col < SHEET_COLS; ++col)
        m_Grid.SetTextMatrix(0, col, settings.m_strHeader[col]);
    m_clrErrorCell = settings.m_clrErrorCell;
    m_clrSummaryRow = settings.m_clrSummaryRow;
    RebuildRefTable();
}

SRowsInserted CCalcGrid::InsertRows()
{
    std::lock_guard<std::recursive_mutex> lock(m_Mutex);
    const int r1 = std::min(m_Grid.Row(), m_Grid.RowSel());
    const int r2 = std::max(m_Grid.Row(), m_Grid.RowSel());
    const int count = r2 - r1 + 1;
    if (r1 < 1 || m_Grid.Rows() + count > SHEET_MAX_ROWS) {
        // The sheet would pass its row limit: refused like growth at the end.
        if (m_State.Prompt())
            m_State.Prompt()->ShowMessage(edittext::OUT_OF_SHEET, calctext::TEXT_WARNING);
        return SRowsInserted();
    }
    {
        CRedrawOff redrawOff(m_Grid);
        m_Grid.InsertRowsAt(r1, count);
    }
    return SRowsInserted{true, r1, r2};
}

void CCalcGrid::FitRowHeight(int row)
{
    m_Grid.FitRowHeight(row);
}

bool CCalcGrid::GrowIfNearEnd()
{
    std::lock_guard<std::recursive_mutex> lock(m_Mutex);
    // A full sheet still takes edits of its rows; it only stops growing.
    const int rows = m_Grid.Rows();
    if (m_Grid.Row() > rows - GROWTH && rows < SHEET_MAX_ROWS)
        m_Grid.SetRows(rows + GROWTH >= SHEET_MAX_ROWS ? SHEET_MAX_ROWS : rows + GROWTH);
    return true;
}

void CCalcGrid::ColourFormulaCells(int first, int last)
{
    first = std::max(first, 1);
    last = std::min(last, m_Grid.Rows() - 1);
    for (int row = first; row <= last; ++row) {
        if (!m_Grid.TextMatrix(row, COL_SEQ).empty())
            continue;
        const std::string& text = m_Grid.TextMatrix(row, COL_FORMULA);
        bool message = false;
        for (const char* pMessage : calctext::CALC_MESSAGES)
            if (text.compare(0, std::char_traits<char>::length(pMessage), pMessage) == 0)
                message = true;
        const std::uint32_t colour = message ? m_clrErrorCell & 0xFFFFFF : 0;
        if (m_Grid.BackColorAt(row, COL_FORMULA) != colour)
            m_Grid.SetBackColorAt(row, COL_FORMULA, colour);
    }
}

std::string CCalcGrid::WrapCellText(const std::string& text, int width)
{
    return celltext::WrapCellText(text, width);
}

// --- the commit -------------------------------------------------------------------

SCellCommit CCalcGrid::CommitText(int row, int col, const std::string& typed)
{
    std::lock_guard<std::recursive_mutex> lock(m_Mutex);
    SCellCommit result;
    if (row < 1 || row >= m_Grid.Rows() || col < 1 || col >= SHEET_COLS)
        return result;
    const bool summaryRow = !m_Grid.TextMatrix(row, COL_SEQ).empty();
    // A heading shows its number, total and units: only its name is typed.
    if (col >= COL_SIZE && summaryRow)
        return result;
    result.m_bTaken = true;
    // The calculation state tells about this commit only.
    m_State.MarkCalcOk();
    std::string t = typed;
    if (col == COL_FORMULA || col == COL_REF)
        t = exprtext::CleanExpression(t);
    t.erase(std::remove_if(t.begin(), t.end(), [](char c) { return c == ' ' || c == '\r' || c == '\n'; }), t.end());
    // A typed result is not kept: the expression gets its own.
    t.erase(exprtext::FindResultSeparator(t));
    RebuildRefTable(row, col, t);
    if (col == COL_FORMULA && !t.empty())
        t = CalcExpressionTextAt(row, col, t);
    if (col == COL_REF)
        CommitName(row, t);
    if (col == COL_FORMULA)
        CommitFormula(row, t);
    t = celltext::WrapCellText(t, celltext::WrapWidth(col));
    if (col == COL_SIZE)
        t.resize(gbk::ClipLength(t, SIZE_LIMIT));
    else if (col == COL_UNIT)
        t.resize(gbk::ClipLength(t, UNIT_LIMIT));
    // A heading keeps its colour; an expression that failed shows it.
    if (!summaryRow) {
        m_Grid.SetBackColorAt(row, col, 0);
        if (col == COL_FORMULA && !m_State.CalcOk())
            m_Grid.SetBackColorAt(row, col, m_clrErrorCell & 0xFFFFFF);
    }
    const std::string& old = m_Grid.TextMatrix(row, col);
    result.m_bChanged = old != t;
    if (result.m_bChanged)
        result.m_strOldText = old;
    m_Grid.SetTextMatrix(row, col, t);
    FitRowHeight(row);
    m_State.MarkCalcOk();
    return result;
}

void CCalcGrid::CommitFormula(int row, std::string& t)
{
    RebuildRefTable(row, COL_FORMULA, t);
    const int found = CheckCircular(row, t);
    if (found > 0) {
        m_State.MarkCalcFailed();
        if (found == row && !celltext::HasCircularMessage(t))
            t.insert(0, celltext::CircularMessage());
        return;
    }
    celltext::RemoveCircularMessage(t);
    // The cell's colour tells about its own calculation, not about the last
    // row the propagation recalculated.
    CKeepCalcOutcome keep(m_State);
    PropagateValue(row, celltext::ValueOrZero(t));
}

void CCalcGrid::CommitName(int row, std::string& t)
{
    std::string name = celltext::MakeRefName(t);
    if (celltext::IsFunctionName(name)) {
        if (m_State.Prompt())
            m_State.Prompt()->ShowMessage(edittext::REF_NAME_IS_FUNCTION, calctext::TEXT_WARNING);
        name.clear();
    }
    m_pIndex->Refresh();
    // A name another row already carries is not taken.
    if (!name.empty()) {
        const int id = m_pIndex->Lookup(name);
        for (int other : m_pIndex->RowsNamed(id))
            if (other != row && other > 0) {
                name.clear();
                break;
            }
    }
    // The row's name before this commit: the one its cell still holds.
    const std::string oldName = m_pIndex->NameOfRow(row);
    RebuildRefTable(row, COL_REF, name);
    const std::string formula = m_Grid.TextMatrix(row, COL_FORMULA);
    const int found = CheckCircular(row, formula);
    if (found > 0) {
        m_State.MarkCalcFailed();
        if (found == row && !celltext::HasCircularMessage(formula))
            WriteFormula(row, celltext::CircularMessage() + formula);
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

void CCalcGrid::WriteFormula(int row, const std::string& text)
{
    m_Grid.SetTextMatrix(row, COL_FORMULA, text);
}

// --- row calculation -----------------------------------------------------------------

std::string CCalcGrid::CalcExpressionText(int row, const std::string& text)
{
    std::lock_guard<std::recursive_mutex> lock(m_Mutex);
    return CalcExpressionTextAt(row, m_Grid.Col(), text);
}

std::string CCalcGrid::CalcExpressionTextAt(int row, int col, const std::string& text)
{
    std::string t = exprtext::CleanExpression(text);
    t.erase(exprtext::FindResultSeparator(t));
    // The index reads the row's expression as it is about to be stored.
    if (row > 0)
        RebuildRefTable(row, col, t);
    return m_Engine.EvaluateToResultText(t);
}

std::string CCalcGrid::CalcRowText(int row)
{
    std::lock_guard<std::recursive_mutex> lock(m_Mutex);
    m_pIndex->Refresh();
    if (row < 0 || row >= m_Grid.Rows())
        return m_Engine.EvaluateToResultText("");
    return m_Engine.EvaluateToResultText(m_pIndex->PreparedExpression(row));
}

std::string CCalcGrid::EvaluateValue(const std::string& prepared)
{
    // The number CalcRowText would put behind its "=".
    const double value = m_Engine.Evaluate(m_Engine.PrepareExpression(prepared));
    std::string v = CExprEngine::FormatResult(std::string(), value, m_State.Decimals());
    v.erase(0, 1);
    return v;
}

std::string CCalcGrid::RecalcKeepingText(const std::string& text)
{
    std::lock_guard<std::recursive_mutex> lock(m_Mutex);
    // The expression keeps its text as the user wrote it (blanks, line
    // breaks); only the result behind it is new.
    const std::size_t sep = exprtext::FindResultSeparator(text);
    const std::string expr = (sep > 0 && sep < text.size()) ? text.substr(0, sep) : text;
    std::string work = exprtext::CleanExpression(expr);
    work.erase(std::remove_if(work.begin(), work.end(), [](char c) { return c == ' ' || c == '\r'; }), work.end());
    work = m_Engine.CalcExpressionText(work);
    const std::size_t at = exprtext::FindResultSeparator(work);
    if (at > 0 && at < work.size())
        work.erase(0, at);
    return expr + work;
}

void CCalcGrid::RecalcRow(int row)
{
    if (row < 1 || row >= m_Grid.Rows())
        return;
    const std::string& formula = m_Grid.TextMatrix(row, COL_FORMULA);
    if (formula.empty() || !m_Grid.TextMatrix(row, COL_SEQ).empty())
        return;
    // A text on several lines may lose the line break of its old value.
    const bool hadBreak = HasLineBreak(formula);
    std::string text;
    if (const std::string* pExpr = m_pIndex->RecalcExpression(row)) {
        // The stored text is "expression=number": what RecalcKeepingText
        // gives is the same up to the separator and the new number behind.
        const std::size_t sep = static_cast<std::size_t>(m_pIndex->SeparatorOfRow(row));
        text.reserve(sep + 16);
        text.assign(formula, 0, sep + 1);
        text += EvaluateValue(*pExpr);
    } else {
        text = RecalcKeepingText(formula);
    }
    if (!m_pIndex->WriteNumberKeeping(row, text))
        m_Grid.SetTextMatrix(row, COL_FORMULA, text);
    if (hadBreak)
        FitRowHeight(row);
}

void CCalcGrid::RecalcAllRows()
{
    std::lock_guard<std::recursive_mutex> lock(m_Mutex);
    m_pIndex->Refresh();
    const int last = m_Grid.Rows() - 1;
    const int current = m_Grid.Row();
    // The rows around the current one first, so that what the user looks
    // at is right soonest; then down to the end and up to the top.
    const int start = std::max(current - 20, 1);
    const int end = std::min(current + 20, last);
    for (int row = end; row > start; --row)
        RecalcRow(row);
    for (int row = end; row <= last; ++row)
        RecalcRow(row);
    for (int row = start; row >= 1; --row)
        RecalcRow(row);
}

// --- references ---------------------------------------------------------------------------

void CCalcGrid::RebuildRefTable()
{
    std::lock_guard<std::recursive_mutex> lock(m_Mutex);
    m_pIndex->RebuildTable(-1, -1, nullptr);
    // Sized and touched here, as a sheet is opened, so that the first change
    // after it does not wait for fresh memory.
    const std::size_t rows = static_cast<std::size_t>(m_Grid.Rows());
    if (m_Visited.size() < rows)
        m_Visited.resize(rows, 0);
    const std::size_t names = static_cast<std::size_t>(m_pIndex->IdCount());
    if (m_PathCount.size() < names)
        m_PathCount.resize(names, 0);
    m_pOrder->Reserve(rows);
}

void CCalcGrid::RebuildRefTable(int row, int col, const std::string& text)
{
    std::lock_guard<std::recursive_mutex> lock(m_Mutex);
    m_pIndex->RebuildTable(row, col, &text);
}

// One circular check: depth first over the rows whose names the
// expressions use, with an explicit stack; the path is kept as a count per
// name.
//
// A row from which the search once came back without a cycle is not
// searched again: whatever it reaches cannot close a cycle through a name
// that only one row carries (that row would have been met on the first
// search). Only a name carried by several rows can: so each finished row
// keeps the set of such names below it, and is searched again only when one
// of them is on the path now - which then ends the check at the same row
// the full search would report.
class CCalcGrid::CCycleSearch {
public:
    explicit CCycleSearch(CCalcGrid& calc)
        : m_Calc(calc), m_Index(*calc.m_pIndex), m_bDups(m_Index.HasDuplicateNames()), m_nRows(calc.m_Grid.Rows()), m_nStamp(calc.NextVisitStamp(m_bDups)),
          m_PathCount(calc.m_PathCount)
    {
        // The counts are kept between checks, all 0, so that a check costs
        // the rows it visits rather than the number of names.
        if (m_PathCount.size() < static_cast<std::size_t>(m_Index.IdCount()))
            m_PathCount.resize(static_cast<std::size_t>(m_Index.IdCount()), 0);
    }
    ~CCycleSearch()
    {
        // A cycle found leaves its path behind.
        for (const SFrame& frame : m_Stack)
            --m_PathCount[m_Index.NameIdOfRow(frame.m_nRow)];
    }
    CCycleSearch(const CCycleSearch&) = delete;
    CCycleSearch& operator=(const CCycleSearch&) = delete;

    // The row met again on the path, or -1 when there is no cycle.
    int Run(int row, const std::string& text)
    {
        if (OnPath(row))
            return row;
        Push(row, text, false);
        while (!m_Stack.empty()) {
            SFrame& frame = m_Stack.back();
            if (frame.m_nNext == frame.m_Edges.size()) {
                Pop();
                continue;
            }
            const int next = frame.m_Edges[frame.m_nNext++];
            // Rows without a name end nothing and lead nowhere.
            if (next < 1 || next >= m_nRows || !m_Index.RowHasName(next))
                continue;
            if (OnPath(next))
                return next;
            if (m_Calc.m_Visited[next] == m_nStamp) {
                if (!m_bDups)
                    continue;
                if (!LeadsToPath(next)) {
                    Merge(frame.m_Below, m_Calc.m_Below[next]);
                    continue;
                }
            }
            Push(next, m_Calc.m_Grid.TextMatrix(next, COL_FORMULA), true);
        }
        return -1;
    }

private:
    struct SFrame {
        int m_nRow;
        std::vector<int> m_Edges;
        std::size_t m_nNext;
        std::vector<int> m_Below;  // duplicated names reached, sorted
    };

    bool OnPath(int row) const { return m_PathCount[m_Index.NameIdOfRow(row)] > 0; }
    bool IsDup(int id) const { return m_bDups && m_Index.RowsNamed(id).size() > 1; }

    // Row r enters the path with the rows its expression uses: formula is
    // the text to read (the one being committed for the first row), or the
    // stored one the index has tokens for (cached).
    void Push(int r, const std::string& formula, bool cached)
    {
        const int id = m_Index.NameIdOfRow(r);
        if (m_PathCount[id]++ == 0 && IsDup(id))
            m_DupsOnPath.push_back(id);
        SFrame frame{r, {}, 0, {}};
        const bool scan = m_Index.HasIrregularNames();
        std::string prepared;
        if (!cached || scan)
            prepared = exprtext::PrepareCleaned(formula);
        if (cached)
            m_Tokens = m_Index.TokensOfRow(r);
        else
            m_Index.TokensOfText(prepared, m_Tokens);
        m_Index.EntriesUsedBy(m_Tokens, scan ? &prepared : nullptr, frame.m_Edges);
        m_Stack.push_back(std::move(frame));
    }

    // The top row is done without a cycle: it leaves the path, and keeps
    // the duplicated names below it for later checks.
    void Pop()
    {
        SFrame& frame = m_Stack.back();
        const int id = m_Index.NameIdOfRow(frame.m_nRow);
        if (--m_PathCount[id] == 0 && IsDup(id))
            m_DupsOnPath.erase(std::find(m_DupsOnPath.begin(), m_DupsOnPath.end(), id));
        m_Calc.m_Visited[frame.m_nRow] = m_nStamp;
        if (m_bDups) {
            if (IsDup(id))
                Merge(frame.m_Below, std::vector<int>{id});
            m_Calc.m_Below[frame.m_nRow] = frame.m_Below;
            if (m_Stack.size() > 1)
                Merge(m_Stack[m_Stack.size() - 2].m_Below, frame.m_Below);
        }
        m_Stack.pop_back();
    }

    bool LeadsToPath(int r) const
    {
        const std::vector<int>& below = m_Calc.m_Below[r];
        for (int id : m_DupsOnPath)
            if (std::binary_search(below.begin(), below.end(), id))
                return true;
        return false;
    }

    static void Merge(std::vector<int>& into, const std::vector<int>& from)
    {
        if (from.empty())
            return;
        std::vector<int> both;
        both.reserve(into.size() + from.size());
        std::set_union(into.begin(), into.end(), from.begin(), from.end(), std::back_inserter(both));
        into.swap(both);
    }

    CCalcGrid& m_Calc;
    CRefIndex& m_Index;
    const bool m_bDups;
    const int m_nRows;
    const int m_nStamp;
    std::vector<int>& m_PathCount;  // per name id: how often it is on the path
    std::vector<int> m_DupsOnPath;  // ids of duplicated names on the path
    std::vector<int> m_Tokens;
    std::vector<SFrame> m_Stack;
};

int CCalcGrid::NextVisitStamp(bool bDups)
{
    const std::size_t rows = static_cast<std::size_t>(m_Grid.Rows());
    if (m_Visited.size() < rows)
        m_Visited.resize(rows, 0);
    if (bDups && m_Below.size() < rows)
        m_Below.resize(rows);
    if (++m_nStamp == INT_MAX) {
        std::fill(m_Visited.begin(), m_Visited.end(), 0);
        m_nStamp = 1;
    }
    return m_nStamp;
}

int CCalcGrid::CheckCircular(int row, const std::string& text)
{
    std::lock_guard<std::recursive_mutex> lock(m_Mutex);
    m_pIndex->Refresh();
    // Without names nothing can be circular.
    if (m_State.RefCount() == 0)
        return 0;
    // A row without a name is used by no other row.
    if (row < 1 || row >= m_Grid.Rows() || !m_pIndex->RowHasName(row))
        return -1;
    CCycleSearch search(*this);
    return search.Run(row, text);
}

void CCalcGrid::UsersOfName(const std::string& name, std::vector<int>& out, int idHint)
{
    out.clear();
    if (name.empty())
        return;
    if (CRefIndex::IsRegularName(name)) {
        const bool bHint = idHint >= 0 && idHint < m_pIndex->IdCount() && m_pIndex->TextOfId(idHint) == name;
        const int id = bHint ? idHint : m_pIndex->Lookup(name);
        if (id >= 0)
            out = m_pIndex->UsersOf(id);
    } else {
        // A name written from outside that the index does not list: scanned.
        for (int i = 1; i < m_Grid.Rows(); ++i)
            if (celltext::OccursAsOperand(exprtext::PrepareCleaned(m_Grid.TextMatrix(i, COL_FORMULA)), name))
                out.push_back(i);
    }
    // A total names categories, never rows, even one that reads like a name.
    out.erase(std::remove_if(out.begin(), out.end(),
                             [this](int r) { return r < m_Grid.Rows() && !m_Grid.TextMatrix(r, COL_SEQ).empty(); }),
              out.end());
}

void CCalcGrid::OrderUsers(int origin, const std::string& start, const std::function<std::string(int)>& nameOf,
                           std::vector<int>& order)
{
    m_pOrder->Build(
        origin, m_Grid.Rows(),
        [&](int r, std::vector<int>& out) {
            const int hint = r >= 0 && m_pIndex->RowHasName(r) ? m_pIndex->NameIdOfRow(r) : -1;
            UsersOfName(r == origin ? start : nameOf(r), out, hint);
        },
        order);
}

void CCalcGrid::PropagateValue(int row, const std::string& value)
{
    std::lock_guard<std::recursive_mutex> lock(m_Mutex);
    CRefIndex& index = *m_pIndex;
    index.Refresh();
    // Only a named row has users.
    if (m_State.RefCount() == 0)
        return;
    const int entry = index.EntryOfRow(row);
    if (entry < 0)
        return;
    index.SetEntryValue(entry, value.empty() ? "0" : value);
    const std::string name = m_State.RefTable()[entry].m_strName;

    // Every row that depends on this one, directly or through other names,
    // recalculated once, after the rows it uses: the texts are those a
    // depth-first visit in row order leaves behind, without visiting a row
    // once per path. A row marked as circular stops nothing; rows on a cycle
    // keep their texts.
    std::vector<int> order;
    OrderUsers(
        row, name,
        [&](int r) {
            const int e = index.RowHasName(r) ? index.EntryOfRow(r) : -1;
            return e >= 0 ? m_State.RefTable()[e].m_strName : std::string();
        },
        order);
    for (int next : order) {
        const std::string v = EvaluateValue(index.PreparedExpression(next));
        const bool hadBreak = HasLineBreak(m_Grid.TextMatrix(next, COL_FORMULA));
        index.RewriteValue(next, v);
        if (hadBreak)  // a line break behind the old "=" went with the old value
            FitRowHeight(next);
        // A named row carries its new value on to its own users.
        if (index.RowHasName(next)) {
            const int e = index.EntryOfRow(next);
            if (e >= 0)
                index.SetEntryValue(e, v);
        }
        index.NoteEntry(next);
        m_RecalculatedUsers.push_back(next);
    }
}

std::vector<int> CCalcGrid::TakeRecalculatedUsers()
{
    std::lock_guard<std::recursive_mutex> lock(m_Mutex);
    std::vector<int> rows;
    rows.swap(m_RecalculatedUsers);
    return rows;
}

void CCalcGrid::RefreshNameUsers(int row, const std::string& name)
{
    std::lock_guard<std::recursive_mutex> lock(m_Mutex);
    CRefIndex& index = *m_pIndex;
    index.Refresh();
    if (m_State.RefCount() == 0)
        return;
    // The rows that use the name, directly or through their own names, each
    // recalculated once after the rows it uses; the row the refresh starts
    // from does not carry its own name on.
    std::vector<int> order;
    OrderUsers(
        -1, exprtext::PrepareCleaned(name),
        [&](int r) { return r != row && index.RowHasName(r) ? exprtext::PrepareCleaned(index.NameOfRow(r)) : std::string(); },
        order);
    for (int next : order) {
        // Recalculated for its effects only (messages, the calculation
        // state); the text is not stored.
        m_Engine.EvaluateToResultText(index.PreparedExpression(next));
        if (!index.RowHasName(next))
            continue;
        const int entry = index.FirstEntryNamed(index.NameOfRow(next));
        if (entry >= 0)
            index.SetEntryValue(entry, celltext::ValueOrZero(m_Grid.TextMatrix(next, COL_FORMULA)));
    }
}

// --- decimals -----------------------------------------------------------------------

void CCalcGrid::MoreDecimals()
{
    ChangeDecimals(+1);
}

void CCalcGrid::FewerDecimals()
{
    ChangeDecimals(-1);
}

void CCalcGrid::ChangeDecimals(int delta)
{
    WaitForRecalc();
    {
        std::lock_guard<std::recursive_mutex> lock(m_Mutex);
        int decimals = m_State.Decimals() + delta;
        if (decimals > 6) {
            if (m_State.Prompt())
                m_State.Prompt()->ShowMessage(edittext::DECIMALS_TOO_MANY, edittext::APP_CAPTION);
            decimals = 6;
        }
        if (decimals < 0)
            decimals = 0;
        WriteDecimals(m_Key, decimals);
        m_State.SetDecimals(decimals);
        m_pQueue->m_pTarget = m_State.Prompt();
    }
    m_bRecalcRunning = true;
    m_Worker = std::thread([this]() {
        {
            std::lock_guard<std::recursive_mutex> lock(m_Mutex);
            CPrompt* saved = m_State.Prompt();
            m_State.SetPrompt(m_pQueue.get());
            RecalcAllRows();
            m_State.SetPrompt(saved);
            m_bRecalcRunning = false;
        }
        if (m_OnRecalcFinished)
            m_OnRecalcFinished();
    });
}

void CCalcGrid::WaitForRecalc()
{
    if (m_Worker.joinable())
        m_Worker.join();
    DeliverPendingMessages();
}

bool CCalcGrid::RecalcRunning() const
{
    return m_bRecalcRunning;
}

void CCalcGrid::DeliverPendingMessages()
{
    const auto messages = m_pQueue->Take();
    CPrompt* target = m_pQueue->m_pTarget;
    if (!target)
        return;
    for (const auto& message : messages)
        target->ShowMessage(message.first, message.second);
}

std::size_t CCalcGrid::MemoryBytes() const
{
    std::size_t bytes = static_cast<std::size_t>(m_Grid.Rows()) * (SHEET_COLS * (sizeof(std::string) + 5) + 8);
    for (int row = 0; row < m_Grid.Rows(); ++row)
        for (int col = 0; col < SHEET_COLS; ++col) {
            const std::size_t cap = m_Grid.TextMatrix(row, col).capacity();
            if (cap > 15)
                bytes += cap + 1;
        }
    return bytes + m_pIndex->MemoryBytes();
}
