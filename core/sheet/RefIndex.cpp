#include "core/sheet/RefIndex.h"

#include <algorithm>

#include "core/engine/ExprText.h"
#include "core/engine/GbkText.h"
#include "core/sheet/CellText.h"

namespace {

const std::vector<int> NO_ROWS;
const std::string NO_TEXT;

// Neighbours of a name used as an operand in a prepared text.
bool IsOperandDelimiter(char c)
{
    return c == '*' || c == '/' || c == '+' || c == '-' || c == '(' || c == ')' || c == '=';
}

// Neighbours of a name the substitution replaces: before it one of
// "*/+-()]", after it one of "*/+-()=[".
bool IsSubstBefore(char c)
{
    return c == '*' || c == '/' || c == '+' || c == '-' || c == '(' || c == ')' || c == ']';
}
bool IsSubstAfter(char c)
{
    return c == '*' || c == '/' || c == '+' || c == '-' || c == '(' || c == ')' || c == '=' || c == '[';
}
bool IsSubstDelimiter(char c) { return IsSubstBefore(c) || IsSubstAfter(c); }

bool IsRegularRun(const char* s, std::size_t n)
{
    bool letter = false;
    for (std::size_t i = 0; i < n; ++i) {
        const char c = s[i];
        if (gbk::IsAsciiLetter(c))
            letter = true;
        else if (!gbk::IsAsciiDigit(c))
            return false;
    }
    return letter && n > 0;
}

bool HasAsciiLetter(const std::string& s)
{
    for (char c : s)
        if (gbk::IsAsciiLetter(c))
            return true;
    return false;
}

bool IsPlainNumber(const char* s, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        if (!(gbk::IsAsciiDigit(s[i]) || s[i] == '.' || s[i] == '-'))
            return false;
    return true;
}

std::string FormatRow(int row)
{
    return std::to_string(row);
}

}  // namespace

CRefIndex::CRefIndex(SheetGrid& grid, CCalcState& state) : m_Grid(grid), m_State(state)
{
}

bool CRefIndex::IsRegularName(const std::string& name)
{
    return IsRegularRun(name.data(), name.size());
}

int CRefIndex::Lookup(const std::string& text) const
{
    auto it = m_Ids.find(text);
    return it == m_Ids.end() ? -1 : it->second;
}

int CRefIndex::Intern(const std::string& text)
{
    auto it = m_Ids.find(text);
    if (it != m_Ids.end())
        return it->second;
    const int id = static_cast<int>(m_IdText.size());
    m_Ids.emplace(text, id);
    m_IdText.push_back(text);
    m_Users.emplace_back();
    m_NamedRows.emplace_back();
    m_TableRows.emplace_back();
    return id;
}

const std::string& CRefIndex::NameOfRow(int row) const
{
    const int id = m_Rows[row].m_nNameId;
    return id < 0 ? NO_TEXT : m_IdText[id];
}

const std::vector<int>& CRefIndex::UsersOf(int id) const
{
    return (id >= 0 && id < static_cast<int>(m_Users.size())) ? m_Users[id] : NO_ROWS;
}

const std::vector<int>& CRefIndex::RowsNamed(int id) const
{
    return (id >= 0 && id < static_cast<int>(m_NamedRows.size())) ? m_NamedRows[id] : NO_ROWS;
}

int CRefIndex::NextMessageRow(int after, int except) const
{
    for (auto it = m_MessageRows.upper_bound(after); it != m_MessageRows.end(); ++it)
        if (*it != except)
            return *it;
    return 0;
}

// --- watching the sheet -------------------------------------------------

void CRefIndex::OnTextChanged(int row, int col)
{
    if (m_bOwnWrite || m_bAllDirty || (col != COL_FORMULA && col != COL_REF))
        return;
    if (row < 0 || row >= static_cast<int>(m_Rows.size()))
        return;
    if (!m_Rows[row].m_bDirty) {
        m_Rows[row].m_bDirty = true;
        m_Dirty.push_back(row);
    }
}

void CRefIndex::OnRowsInserted(int first, int count)
{
    if (m_bAllDirty)
        return;
    const bool atEnd = first >= static_cast<int>(m_Rows.size());
    m_Rows.insert(m_Rows.begin() + std::min<std::size_t>(first, m_Rows.size()), static_cast<std::size_t>(count), SRow());
    if (!atEnd) {
        // Row numbers below moved: the lists are rebuilt, the table (which
        // keeps the old numbers until its next rebuild) is rebuilt whole.
        m_bRenumber = true;
        m_bTableFull = true;
    }
}

void CRefIndex::OnRowsRemoved(int first, int count)
{
    if (m_bAllDirty)
        return;
    if (first < 0 || first >= static_cast<int>(m_Rows.size()))
        return;
    count = std::min<int>(count, static_cast<int>(m_Rows.size()) - first);
    m_Rows.erase(m_Rows.begin() + first, m_Rows.begin() + first + count);
    m_bRenumber = true;
    m_bTableFull = true;
}

void CRefIndex::OnAllTextsChanged()
{
    m_bAllDirty = true;
    m_bTableFull = true;
}

// --- row information ------------------------------------------------------

void CRefIndex::TokensOfText(const std::string& prepared, std::vector<int>& ids)
{
    ids.clear();
    const std::size_t n = prepared.size();
    std::size_t start = 0;
    for (std::size_t i = 0; i < n;) {
        const std::size_t len = gbk::CharLength(prepared, i);
        if (len == 1 && IsOperandDelimiter(prepared[i])) {
            // The segment before a delimiter is an operand position.
            if (i > start && IsRegularRun(prepared.data() + start, i - start))
                ids.push_back(Intern(prepared.substr(start, i - start)));
            start = i + 1;
        }
        i += len;
    }
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
}

void CRefIndex::AddRowTo(std::vector<int>& list, int row)
{
    if (list.empty() || list.back() < row) {
        list.push_back(row);
        return;
    }
    auto it = std::lower_bound(list.begin(), list.end(), row);
    if (it == list.end() || *it != row)
        list.insert(it, row);
}

void CRefIndex::RemoveRowFrom(std::vector<int>& list, int row)
{
    auto it = std::lower_bound(list.begin(), list.end(), row);
    if (it != list.end() && *it == row)
        list.erase(it);
}

void CRefIndex::CountName(int id, int delta)
{
    // Called after the row was added to / before it is removed from the list.
    const std::size_t n = m_NamedRows[id].size();
    if (delta > 0 && n == 2)
        ++m_nDuplicateNames;
    if (delta < 0 && n == 2)
        --m_nDuplicateNames;
    if ((delta > 0 && n == 1) || (delta < 0 && n == 1))
        m_nIrregularGridNames += IsRegularName(m_IdText[id]) ? 0 : delta;
}

void CRefIndex::CountTableName(int id, int delta)
{
    if (!IsRegularName(m_IdText[id]))
        m_nIrregularTableNames += delta;
}

void CRefIndex::ApplyRow(int row, int nameId, std::vector<int>& tokens, bool bMessage)
{
    SRow& info = m_Rows[row];
    if (info.m_nNameId != nameId) {
        if (info.m_nNameId >= 0) {
            CountName(info.m_nNameId, -1);
            RemoveRowFrom(m_NamedRows[info.m_nNameId], row);
        }
        if (nameId >= 0) {
            AddRowTo(m_NamedRows[nameId], row);
            CountName(nameId, +1);
        }
        info.m_nNameId = nameId;
    }
    if (info.m_Tokens != tokens) {
        for (int id : info.m_Tokens)
            if (!std::binary_search(tokens.begin(), tokens.end(), id))
                RemoveRowFrom(m_Users[id], row);
        for (int id : tokens)
            if (!std::binary_search(info.m_Tokens.begin(), info.m_Tokens.end(), id))
                AddRowTo(m_Users[id], row);
        info.m_Tokens.swap(tokens);
    }
    if (info.m_bMessage != bMessage) {
        if (bMessage)
            m_MessageRows.insert(row);
        else
            m_MessageRows.erase(row);
        info.m_bMessage = bMessage;
    }
}

void CRefIndex::RecomputeRow(int row)
{
    const std::string& formula = m_Grid.TextMatrix(row, COL_FORMULA);
    const std::string name = celltext::WithoutLineBreaks(m_Grid.TextMatrix(row, COL_REF));
    const int nameId = name.empty() ? -1 : Intern(name);
    std::vector<int> tokens;
    if (!formula.empty())
        TokensOfText(exprtext::PrepareForEvaluation(exprtext::CleanExpression(formula)), tokens);
    SRow& info = m_Rows[row];
    info.m_bExprValid = false;
    info.m_strExpr.clear();
    info.m_strExpr.shrink_to_fit();
    info.m_bRecalcValid = false;
    info.m_strRecalc.clear();
    info.m_strRecalc.shrink_to_fit();
    ComputeSeparator(row);
    ApplyRow(row, nameId, tokens, celltext::HasCircularMessage(formula));
}

void CRefIndex::RebuildLists()
{
    for (auto& list : m_Users)
        list.clear();
    for (auto& list : m_NamedRows)
        list.clear();
    m_MessageRows.clear();
    m_nDuplicateNames = 0;
    m_nIrregularGridNames = 0;
    for (int row = 0; row < static_cast<int>(m_Rows.size()); ++row) {
        SRow& info = m_Rows[row];
        for (int id : info.m_Tokens)
            m_Users[id].push_back(row);
        if (info.m_nNameId >= 0) {
            m_NamedRows[info.m_nNameId].push_back(row);
            CountName(info.m_nNameId, +1);
        }
        if (info.m_bMessage)
            m_MessageRows.insert(row);
    }
    m_bRenumber = false;
}

void CRefIndex::Refresh()
{
    if (m_bAllDirty) {
        m_Rows.assign(static_cast<std::size_t>(m_Grid.Rows()), SRow());
        m_Dirty.clear();
        m_Divergent.clear();
        for (int row = 0; row < m_Grid.Rows(); ++row) {
            SRow& info = m_Rows[row];
            const std::string& formula = m_Grid.TextMatrix(row, COL_FORMULA);
            const std::string name = celltext::WithoutLineBreaks(m_Grid.TextMatrix(row, COL_REF));
            info.m_nNameId = name.empty() ? -1 : Intern(name);
            if (!formula.empty())
                TokensOfText(exprtext::PrepareForEvaluation(exprtext::CleanExpression(formula)), info.m_Tokens);
            info.m_bMessage = celltext::HasCircularMessage(formula);
            ComputeSeparator(row);
        }
        m_bAllDirty = false;
        m_bRenumber = true;
        m_bTableFull = true;
    }
    if (static_cast<int>(m_Rows.size()) != m_Grid.Rows()) {
        // Cannot happen while the watcher is attached; recover anyway.
        m_bAllDirty = true;
        Refresh();
        return;
    }
    if (m_bRenumber) {
        // Rows moved: the lists are rebuilt from what each row knows, and
        // the dirty list (which holds old numbers) from the rows' flags. The
        // table is rebuilt whole next time, so nothing is divergent.
        RebuildLists();
        m_Dirty.clear();
        m_Divergent.clear();
        for (int row = 0; row < static_cast<int>(m_Rows.size()); ++row) {
            m_Rows[row].m_bDivergent = false;
            if (m_Rows[row].m_bDirty)
                m_Dirty.push_back(row);
        }
    }
    for (int row : m_Dirty) {
        if (row >= static_cast<int>(m_Rows.size()) || !m_Rows[row].m_bDirty)
            continue;
        m_Rows[row].m_bDirty = false;
        RecomputeRow(row);
        MarkDivergent(row);
    }
    m_Dirty.clear();
}

void CRefIndex::Clear()
{
    std::vector<SRow>().swap(m_Rows);
    std::vector<int>().swap(m_Dirty);
    std::vector<int>().swap(m_Divergent);
    std::unordered_map<std::string, int>().swap(m_Ids);
    std::vector<std::string>().swap(m_IdText);
    std::vector<std::vector<int>>().swap(m_Users);
    std::vector<std::vector<int>>().swap(m_NamedRows);
    std::vector<std::vector<int>>().swap(m_TableRows);
    m_MessageRows.clear();
    m_nDuplicateNames = 0;
    m_nIrregularGridNames = 0;
    m_nIrregularTableNames = 0;
    m_bAllDirty = true;
    m_bRenumber = false;
    m_bTableFull = true;
}

void CRefIndex::ComputeSeparator(int row)
{
    const std::string& formula = m_Grid.TextMatrix(row, COL_FORMULA);
    const std::size_t sep = exprtext::FindResultSeparator(formula);
    SRow& info = m_Rows[row];
    info.m_nSep = -1;
    if (sep < formula.size() && IsPlainNumber(formula.data() + sep + 1, formula.size() - sep - 1))
        info.m_nSep = static_cast<int>(sep);
}

const std::string& CRefIndex::PreparedExpression(int row)
{
    SRow& info = m_Rows[row];
    if (!info.m_bExprValid) {
        info.m_strExpr = exprtext::PrepareForEvaluation(exprtext::CleanExpression(m_Grid.TextMatrix(row, COL_FORMULA)));
        info.m_strExpr.erase(exprtext::FindResultSeparator(info.m_strExpr));
        info.m_bExprValid = true;
    }
    return info.m_strExpr;
}

const std::string* CRefIndex::RecalcExpression(int row)
{
    SRow& info = m_Rows[row];
    if (info.m_bDirty || info.m_nSep <= 0)
        return nullptr;
    if (!info.m_bRecalcValid) {
        // As the recalculation of a stored text reads it: the expression
        // cleaned, blanks and carriage returns removed, cleaned again for
        // the calculation and cut at its own separator.
        const std::string& formula = m_Grid.TextMatrix(row, COL_FORMULA);
        std::string work = exprtext::CleanExpression(formula.substr(0, static_cast<std::size_t>(info.m_nSep)));
        work.erase(std::remove_if(work.begin(), work.end(), [](char c) { return c == ' ' || c == '\r'; }), work.end());
        work = exprtext::CleanExpression(work);
        work.erase(exprtext::FindResultSeparator(work));
        info.m_strRecalc = std::move(work);
        info.m_bRecalcValid = true;
    }
    return &info.m_strRecalc;
}

void CRefIndex::RewriteValue(int row, const std::string& value)
{
    const std::string& formula = m_Grid.TextMatrix(row, COL_FORMULA);
    SRow& info = m_Rows[row];
    std::string text;
    // A stored text "expression=number" keeps everything the index knows
    // when only its number changes: the cleaned and prepared text before the
    // separator does not depend on a number behind it.
    const bool keep = !info.m_bDirty && info.m_nSep >= 0 && IsPlainNumber(value.data(), value.size());
    if (keep) {
        text.reserve(static_cast<std::size_t>(info.m_nSep) + 1 + value.size());
        text.assign(formula, 0, static_cast<std::size_t>(info.m_nSep) + 1);
    } else {
        const std::size_t sep = exprtext::FindResultSeparator(formula);
        text = sep < formula.size() ? formula.substr(0, sep + 1) : formula + "=";
    }
    text += value;
    m_bOwnWrite = true;
    m_Grid.SetTextMatrix(row, COL_FORMULA, text);
    m_bOwnWrite = false;
    if (!keep) {
        RecomputeRow(row);
        MarkDivergent(row);
    }
}

bool CRefIndex::WriteNumberKeeping(int row, const std::string& text)
{
    SRow& info = m_Rows[row];
    const std::string& old = m_Grid.TextMatrix(row, COL_FORMULA);
    const std::size_t sep = static_cast<std::size_t>(info.m_nSep);
    if (info.m_nSep < 0 || info.m_bDirty || text.size() <= sep || old.compare(0, sep + 1, text, 0, sep + 1) != 0 || !IsPlainNumber(text.data() + sep + 1, text.size() - sep - 1))
        return false;
    m_bOwnWrite = true;
    m_Grid.SetTextMatrix(row, COL_FORMULA, text);
    m_bOwnWrite = false;
    if (info.m_nNameId >= 0)
        MarkDivergent(row);
    return true;
}

// --- the reference table ----------------------------------------------------

void CRefIndex::MarkDivergent(int row)
{
    SRow& info = m_Rows[row];
    if (!info.m_bDivergent) {
        info.m_bDivergent = true;
        m_Divergent.push_back(row);
    }
}

std::string CRefIndex::GridValue(int row)
{
    const std::string& formula = m_Grid.TextMatrix(row, COL_FORMULA);
    const SRow& info = m_Rows[row];
    if (info.m_nSep >= 0)
        return formula.substr(static_cast<std::size_t>(info.m_nSep) + 1);
    return exprtext::ValueAfterSeparator(formula);
}

int CRefIndex::EntryOfRow(int row) const
{
    const auto& table = m_State.m_RefTable;
    auto it = std::lower_bound(table.begin(), table.end(), row,
                               [](const CRefEntry& e, int r) { return e.m_nRow < r; });
    return (it != table.end() && it->m_nRow == row) ? static_cast<int>(it - table.begin()) : -1;
}

int CRefIndex::FirstEntryNamed(const std::string& name) const
{
    const int id = Lookup(name);
    if (id < 0 || m_TableRows[id].empty())
        return -1;
    return EntryOfRow(m_TableRows[id].front());
}

void CRefIndex::SetEntryValue(int entry, const std::string& value)
{
    CRefEntry& e = m_State.m_RefTable[entry];
    if (e.m_strValue == value)
        return;
    e.m_strValue = value;
    if (e.m_nRow >= 0 && e.m_nRow < static_cast<int>(m_Rows.size()))
        NoteEntry(e.m_nRow);
}

void CRefIndex::NoteEntry(int row)
{
    SRow& info = m_Rows[row];
    if (info.m_bDivergent)
        return;
    const int entry = EntryOfRow(row);
    if (entry < 0)
        return;
    const std::string& value = m_State.m_RefTable[entry].m_strValue;
    const std::string& formula = m_Grid.TextMatrix(row, COL_FORMULA);
    const bool agrees = !info.m_bDirty && info.m_nSep >= 0 && formula.compare(static_cast<std::size_t>(info.m_nSep) + 1, std::string::npos, value) == 0;
    if (!agrees)
        MarkDivergent(row);
}

void CRefIndex::SyncEntry(int row, const std::string& name, const std::string& value)
{
    auto& table = m_State.m_RefTable;
    auto it = std::lower_bound(table.begin(), table.end(), row,
                               [](const CRefEntry& e, int r) { return e.m_nRow < r; });
    const bool present = it != table.end() && it->m_nRow == row;
    if (name.empty()) {
        if (present) {
            const int id = Lookup(it->m_strName);
            RemoveRowFrom(m_TableRows[id], row);
            CountTableName(id, -1);
            table.erase(it);
        }
        return;
    }
    if (present) {
        if (it->m_strName != name) {
            const int oldId = Lookup(it->m_strName);
            RemoveRowFrom(m_TableRows[oldId], row);
            CountTableName(oldId, -1);
            const int id = Intern(name);
            AddRowTo(m_TableRows[id], row);
            CountTableName(id, +1);
            it->m_strName = name;
        }
        if (it->m_strValue != value)
            it->m_strValue = value;
        return;
    }
    CRefEntry entry;
    entry.m_strName = name;
    entry.m_strRow = FormatRow(row);
    entry.m_nRow = row;
    entry.m_strValue = value;
    table.insert(it, std::move(entry));
    const int id = Intern(name);
    AddRowTo(m_TableRows[id], row);
    CountTableName(id, +1);
}

void CRefIndex::RebuildTable(int row, int col, const std::string* pText)
{
    Refresh();
    auto& table = m_State.m_RefTable;
    if (table.size() != m_nMirroredEntries)
        m_bTableFull = true;  // written from outside: start again
    const bool overName = pText && col == COL_REF && row > 0 && row < m_Grid.Rows();
    const bool overValue = pText && col == COL_FORMULA && row > 0 && row < m_Grid.Rows();
    auto overriddenValue = [&]() {
        std::string text = *pText;
        if (text.empty() || text[0] != '=')
            text += "+0";
        return exprtext::ValueAfterSeparator(text);
    };

    if (m_bTableFull) {
        table.clear();
        for (auto& list : m_TableRows)
            list.clear();
        m_nIrregularTableNames = 0;
        for (SRow& info : m_Rows)
            info.m_bDivergent = false;
        m_Divergent.clear();
        for (int i = 1; i < static_cast<int>(m_Rows.size()); ++i) {
            const std::string& name = (overName && i == row) ? *pText : NameOfRow(i);
            if (name.empty())
                continue;
            CRefEntry entry;
            entry.m_strName = name;
            entry.m_strRow = FormatRow(i);
            entry.m_nRow = i;
            entry.m_strValue = (overValue && i == row) ? overriddenValue() : GridValue(i);
            const int id = Intern(name);
            m_TableRows[id].push_back(i);
            CountTableName(id, +1);
            table.push_back(std::move(entry));
        }
        m_bTableFull = false;
    } else {
        std::vector<int> rows;
        rows.swap(m_Divergent);
        for (int r : rows) {
            if (r >= static_cast<int>(m_Rows.size()))
                continue;
            m_Rows[r].m_bDivergent = false;
            SyncEntry(r, NameOfRow(r), GridValue(r));
        }
        if (overName || overValue) {
            const std::string name = overName ? *pText : NameOfRow(row);
            SyncEntry(row, name, overValue ? overriddenValue() : GridValue(row));
        }
    }
    if (overName || overValue)
        MarkDivergent(row);
    m_nMirroredEntries = table.size();
}

void CRefIndex::EntriesUsedBy(const std::vector<int>& tokens, const std::string* pPrepared, std::vector<int>& rows) const
{
    rows.clear();
    if (m_nIrregularTableNames > 0 && pPrepared) {
        for (const CRefEntry& e : m_State.m_RefTable)
            if (celltext::OccursAsOperand(*pPrepared, e.m_strName))
                rows.push_back(e.m_nRow);
        return;
    }
    for (int id : tokens)
        for (int r : m_TableRows[id])
            rows.push_back(r);
    std::sort(rows.begin(), rows.end());
}

// --- substitution -------------------------------------------------------------

bool CRefIndex::Substitute(const std::string& text, std::string& out)
{
    const auto& table = m_State.m_RefTable;
    if (m_nIrregularTableNames > 0 || table.size() != m_nMirroredEntries)
        return false;
    out.clear();
    const std::size_t n = text.size();
    std::size_t copied = 0;
    std::size_t start = 0;
    bool beforeOk = true;  // start of the text
    auto segment = [&](std::size_t end) {
        if (end > start && beforeOk && (end == n || IsSubstAfter(text[end])) && IsRegularRun(text.data() + start, end - start)) {
            const int id = Lookup(text.substr(start, end - start));
            if (id >= 0 && !m_TableRows[id].empty()) {
                const int entry = EntryOfRow(m_TableRows[id].front());
                if (entry < 0)
                    return false;
                const std::string& value = table[entry].m_strValue;
                if (HasAsciiLetter(value))
                    return false;  // the value could hold another name
                out.append(text, copied, start - copied);
                out += '(';
                out += value;
                out += ')';
                copied = end;
            }
        }
        return true;
    };
    for (std::size_t i = 0; i < n;) {
        const std::size_t len = gbk::CharLength(text, i);
        if (len == 1 && IsSubstDelimiter(text[i])) {
            if (!segment(i))
                return false;
            beforeOk = IsSubstBefore(text[i]);
            start = i + 1;
        }
        i += len;
    }
    if (!segment(n))
        return false;
    out.append(text, copied, std::string::npos);
    return true;
}

std::size_t CRefIndex::MemoryBytes() const
{
    std::size_t bytes = m_Rows.capacity() * sizeof(SRow);
    for (const SRow& info : m_Rows)
        bytes += info.m_Tokens.capacity() * sizeof(int) + (info.m_strExpr.capacity() > 15 ? info.m_strExpr.capacity() + 1 : 0);
    for (std::size_t id = 0; id < m_IdText.size(); ++id) {
        bytes += 64 + sizeof(std::string) + 3 * sizeof(std::vector<int>);
        bytes += (m_Users[id].capacity() + m_NamedRows[id].capacity() + m_TableRows[id].capacity()) * sizeof(int);
    }
    bytes += m_MessageRows.size() * 48;
    for (const CRefEntry& e : m_State.m_RefTable)
        bytes += sizeof(CRefEntry) + (e.m_strValue.capacity() > 15 ? e.m_strValue.capacity() + 1 : 0);
    return bytes;
}
