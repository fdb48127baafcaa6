#include "core/sheet/RefIndex.h"

#include <algorithm>
#include <iterator>

#include "core/engine/ExprText.h"
#include "core/engine/GbkText.h"
#include "core/engine/RefNames.h"
#include "core/sheet/CellText.h"

namespace {

const std::vector<int> NO_ROWS;
const std::string NO_TEXT;

// Neighbours of a name used as an operand in a prepared text.
bool IsOperandDelimiter(char c)
{
    return c == '*' || c == '/' || c == '+' || c == '-' || c == '(' || c == ')' || c == '=';
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

CRefIndex::CRefIndex(SheetGrid& grid, CCalcState& state) : m_Grid(grid), m_State(state), m_Names(state.RefNamesToRebuild())
{
}

int CRefIndex::Intern(const std::string& text)
{
    const int id = m_Names.Intern(text);
    if (id >= static_cast<int>(m_Users.size())) {
        m_Users.resize(static_cast<std::size_t>(id) + 1);
        m_NamedRows.resize(static_cast<std::size_t>(id) + 1);
    }
    return id;
}

const std::string& CRefIndex::NameOfRow(int row) const
{
    const int id = m_Rows[row].m_nNameId;
    return id < 0 ? NO_TEXT : m_Names.TextOf(id);
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

// --- following the sheet ---------------------------------------------------

void CRefIndex::CatchUp()
{
    if (!m_Grid.HasChanges())
        return;
    if (m_Grid.AllChanged()) {
        m_bAllDirty = true;
        m_bTableFull = true;
    }
    for (const SSheetChange& change : m_Grid.Changes()) {
        switch (change.m_eKind) {
        case SSheetChange::TEXT: NoteText(change.m_nFirst); break;
        case SSheetChange::ROWS_INSERTED: NoteRowsInserted(change.m_nFirst, change.m_nCount); break;
        case SSheetChange::ROWS_REMOVED: NoteRowsRemoved(change.m_nFirst, change.m_nCount); break;
        }
    }
    m_Grid.ClearChanges();
}

void CRefIndex::NoteText(int row)
{
    if (m_bAllDirty)
        return;
    if (row < 0 || row >= static_cast<int>(m_Rows.size()))
        return;
    if (!m_Rows[row].m_bDirty) {
        m_Rows[row].m_bDirty = true;
        m_Dirty.push_back(row);
    }
}

void CRefIndex::NoteRowsInserted(int first, int count)
{
    if (m_bAllDirty)
        return;
    const bool atEnd = first >= static_cast<int>(m_Rows.size());
    const std::size_t at = std::min<std::size_t>(first, m_Rows.size());
    std::vector<SRow> fresh(static_cast<std::size_t>(count));  // rows move, they are not copied
    m_Rows.insert(m_Rows.begin() + at, std::make_move_iterator(fresh.begin()), std::make_move_iterator(fresh.end()));
    if (!m_RecalcTexts.empty())
        m_RecalcTexts.insert(m_RecalcTexts.begin() + at, static_cast<std::size_t>(count), std::string());
    if (!atEnd) {
        // Row numbers below moved: the lists are rebuilt, the table (which
        // keeps the old numbers until its next rebuild) is rebuilt whole.
        m_bRenumber = true;
        m_bTableFull = true;
    }
}

void CRefIndex::NoteRowsRemoved(int first, int count)
{
    if (m_bAllDirty)
        return;
    if (first < 0 || first >= static_cast<int>(m_Rows.size()))
        return;
    count = std::min<int>(count, static_cast<int>(m_Rows.size()) - first);
    m_Rows.erase(m_Rows.begin() + first, m_Rows.begin() + first + count);
    if (!m_RecalcTexts.empty())
        m_RecalcTexts.erase(m_RecalcTexts.begin() + first, m_RecalcTexts.begin() + first + count);
    m_bRenumber = true;
    m_bTableFull = true;
}

void CRefIndex::WriteOwn(int row, const std::string& text)
{
    // What the index writes, it already knows: the record of this one
    // change is dropped (the record was caught up with just before).
    m_Grid.SetTextMatrix(row, COL_FORMULA, text);
    m_Grid.ClearChanges();
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
            if (i > start && CRefNames::IsRegularName(prepared.data() + start, i - start))
                ids.push_back(Intern(prepared.substr(start, i - start)));
            start = i + 1;
        }
        i += len;
    }
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
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
        m_nIrregularGridNames += IsRegularName(m_Names.TextOf(id)) ? 0 : delta;
}

void CRefIndex::ApplyRow(int row, int nameId, std::vector<int>& tokens, bool bMessage)
{
    SRow& info = m_Rows[row];
    if (info.m_nNameId != nameId) {
        if (info.m_nNameId >= 0) {
            CountName(info.m_nNameId, -1);
            RemoveSortedRow(m_NamedRows[info.m_nNameId], row);
        }
        if (nameId >= 0) {
            AddSortedRow(m_NamedRows[nameId], row);
            CountName(nameId, +1);
        }
        info.m_nNameId = nameId;
    }
    if (info.m_Tokens != tokens) {
        for (int id : info.m_Tokens)
            if (!std::binary_search(tokens.begin(), tokens.end(), id))
                RemoveSortedRow(m_Users[id], row);
        for (int id : tokens)
            if (!std::binary_search(info.m_Tokens.begin(), info.m_Tokens.end(), id))
                AddSortedRow(m_Users[id], row);
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
    std::string prepared;
    if (!formula.empty()) {
        prepared = exprtext::PrepareCleaned(formula);
        TokensOfText(prepared, tokens);
    }
    SRow& info = m_Rows[row];
    KeepPrepared(info, tokens, prepared);
    ForgetRecalcText(row);
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
    CatchUp();
    if (m_bAllDirty) {
        m_Rows.clear();
        m_Rows.resize(static_cast<std::size_t>(m_Grid.Rows()));
        std::vector<std::string>().swap(m_RecalcTexts);
        m_Dirty.clear();
        m_Divergent.clear();
        for (int row = 0; row < m_Grid.Rows(); ++row) {
            SRow& info = m_Rows[row];
            const std::string& formula = m_Grid.TextMatrix(row, COL_FORMULA);
            const std::string name = celltext::WithoutLineBreaks(m_Grid.TextMatrix(row, COL_REF));
            info.m_nNameId = name.empty() ? -1 : Intern(name);
            if (!formula.empty()) {
                std::string prepared = exprtext::PrepareCleaned(formula);
                TokensOfText(prepared, info.m_Tokens);
                KeepPrepared(info, info.m_Tokens, prepared);
            }
            info.m_bMessage = celltext::HasCircularMessage(formula);
            ComputeSeparator(row);
        }
        m_bAllDirty = false;
        m_bRenumber = true;
        m_bTableFull = true;
    }
    if (static_cast<int>(m_Rows.size()) != m_Grid.Rows()) {
        // Cannot happen while the record is read in full; recover anyway.
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
    std::vector<std::string>().swap(m_RecalcTexts);
    std::vector<int>().swap(m_Dirty);
    std::vector<int>().swap(m_Divergent);
    m_Names.Clear();
    std::vector<std::vector<int>>().swap(m_Users);
    std::vector<std::vector<int>>().swap(m_NamedRows);
    m_MessageRows.clear();
    m_nDuplicateNames = 0;
    m_nIrregularGridNames = 0;
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

void CRefIndex::KeepPrepared(SRow& info, const std::vector<int>& tokens, std::string& prepared)
{
    // A row that uses names is recalculated whenever one of them changes:
    // its prepared expression, made here anyway, is kept for that; other
    // rows make theirs when first asked.
    if (tokens.empty()) {
        info.m_pExpr.reset();
        return;
    }
    prepared.erase(exprtext::FindResultSeparator(prepared));
    if (info.m_pExpr)
        info.m_pExpr->swap(prepared);
    else
        info.m_pExpr = std::make_unique<std::string>(std::move(prepared));
}

void CRefIndex::ForgetRecalcText(int row)
{
    SRow& info = m_Rows[row];
    if (!info.m_bRecalcValid)
        return;
    info.m_bRecalcValid = false;
    std::string().swap(m_RecalcTexts[row]);
}

const std::string& CRefIndex::PreparedExpression(int row)
{
    CatchUp();
    SRow& info = m_Rows[row];
    if (!info.m_pExpr) {
        std::string prepared = exprtext::PrepareCleaned(m_Grid.TextMatrix(row, COL_FORMULA));
        prepared.erase(exprtext::FindResultSeparator(prepared));
        info.m_pExpr = std::make_unique<std::string>(std::move(prepared));
    }
    return *info.m_pExpr;
}

const std::string* CRefIndex::RecalcExpression(int row)
{
    CatchUp();
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
        if (m_RecalcTexts.empty())
            m_RecalcTexts.resize(m_Rows.size());
        m_RecalcTexts[row] = std::move(work);
        info.m_bRecalcValid = true;
    }
    return &m_RecalcTexts[row];
}

void CRefIndex::RewriteValue(int row, const std::string& value)
{
    CatchUp();
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
    WriteOwn(row, text);
    if (!keep) {
        RecomputeRow(row);
        MarkDivergent(row);
    }
}

bool CRefIndex::WriteNumberKeeping(int row, const std::string& text)
{
    CatchUp();
    SRow& info = m_Rows[row];
    const std::string& old = m_Grid.TextMatrix(row, COL_FORMULA);
    const std::size_t sep = static_cast<std::size_t>(info.m_nSep);
    if (info.m_nSep < 0 || info.m_bDirty || text.size() <= sep || old.compare(0, sep + 1, text, 0, sep + 1) != 0 || !IsPlainNumber(text.data() + sep + 1, text.size() - sep - 1))
        return false;
    WriteOwn(row, text);
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
    return CRefNames::EntryOfRow(m_State.RefTable(), row);
}

int CRefIndex::FirstEntryNamed(const std::string& name) const
{
    const int id = Lookup(name);
    if (id < 0 || m_Names.TableRows(id).empty())
        return -1;
    return EntryOfRow(m_Names.TableRows(id).front());
}

void CRefIndex::SetEntryValue(int entry, const std::string& value)
{
    CRefEntry& e = m_State.RefTableToRebuild()[entry];
    if (e.m_strValue == value)
        return;
    e.m_strValue = value;
    if (e.m_nRow >= 0 && e.m_nRow < static_cast<int>(m_Rows.size()))
        NoteEntry(e.m_nRow);
}

void CRefIndex::NoteEntry(int row)
{
    CatchUp();
    SRow& info = m_Rows[row];
    if (info.m_bDivergent)
        return;
    const int entry = EntryOfRow(row);
    if (entry < 0)
        return;
    const std::string& value = m_State.RefTable()[entry].m_strValue;
    const std::string& formula = m_Grid.TextMatrix(row, COL_FORMULA);
    const bool agrees = !info.m_bDirty && info.m_nSep >= 0 && formula.compare(static_cast<std::size_t>(info.m_nSep) + 1, std::string::npos, value) == 0;
    if (!agrees)
        MarkDivergent(row);
}

void CRefIndex::SyncEntry(int row, const std::string& name, const std::string& value)
{
    auto& table = m_State.RefTableToRebuild();
    auto it = std::lower_bound(table.begin(), table.end(), row,
                               [](const CRefEntry& e, int r) { return e.m_nRow < r; });
    const bool present = it != table.end() && it->m_nRow == row;
    if (name.empty()) {
        if (present) {
            m_Names.RemoveTableRow(Lookup(it->m_strName), row);
            table.erase(it);
        }
        return;
    }
    if (present) {
        if (it->m_strName != name) {
            m_Names.RemoveTableRow(Lookup(it->m_strName), row);
            m_Names.AddTableRow(Intern(name), row);
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
    m_Names.AddTableRow(Intern(name), row);
}

void CRefIndex::RebuildTable(int row, int col, const std::string* pText)
{
    Refresh();
    auto& table = m_State.RefTableToRebuild();
    if (table.size() != m_Names.EntryCount())
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
        m_Names.ClearTableRows();
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
            m_Names.AddTableRow(Intern(name), i);
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
    m_Names.SetEntryCount(table.size());
}

void CRefIndex::EntriesUsedBy(const std::vector<int>& tokens, const std::string* pPrepared, std::vector<int>& rows) const
{
    rows.clear();
    if (m_Names.HasIrregularTableNames() && pPrepared) {
        for (const CRefEntry& e : m_State.RefTable())
            if (celltext::OccursAsOperand(*pPrepared, e.m_strName))
                rows.push_back(e.m_nRow);
        return;
    }
    for (int id : tokens)
        for (int r : m_Names.TableRows(id))
            rows.push_back(r);
    std::sort(rows.begin(), rows.end());
}

std::size_t CRefIndex::MemoryBytes() const
{
    std::size_t bytes = m_Rows.capacity() * sizeof(SRow);
    auto heapText = [](const std::string& text) { return text.capacity() > 15 ? text.capacity() + 1 : 0; };
    for (const SRow& info : m_Rows)
        bytes += info.m_Tokens.capacity() * sizeof(int) + (info.m_pExpr ? sizeof(std::string) + heapText(*info.m_pExpr) : 0);
    bytes += m_RecalcTexts.capacity() * sizeof(std::string);
    for (const std::string& text : m_RecalcTexts)
        bytes += heapText(text);
    bytes += m_Names.MemoryBytes();
    for (std::size_t id = 0; id < m_Users.size(); ++id)
        bytes += 2 * sizeof(std::vector<int>) + (m_Users[id].capacity() + m_NamedRows[id].capacity()) * sizeof(int);
    bytes += m_MessageRows.size() * 48;
    for (const CRefEntry& e : m_State.RefTable())
        bytes += sizeof(CRefEntry) + (e.m_strValue.capacity() > 15 ? e.m_strValue.capacity() + 1 : 0);
    return bytes;
}
