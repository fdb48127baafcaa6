#include "core/engine/RefNames.h"

#include <algorithm>

#include "core/engine/CalcState.h"
#include "core/engine/GbkText.h"

bool CRefNames::IsRegularName(const char* s, std::size_t n)
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

int CRefNames::Lookup(const std::string& name) const
{
    auto it = m_Ids.find(name);
    return it == m_Ids.end() ? -1 : it->second;
}

int CRefNames::Lookup(const char* s, std::size_t n) const
{
    return Lookup(std::string(s, n));
}

int CRefNames::Intern(const std::string& name)
{
    auto it = m_Ids.find(name);
    if (it != m_Ids.end())
        return it->second;
    const int id = static_cast<int>(m_IdText.size());
    m_Ids.emplace(name, id);
    m_IdText.push_back(name);
    m_TableRows.emplace_back();
    return id;
}

bool AddSortedRow(std::vector<int>& list, int row)
{
    if (list.empty() || list.back() < row) {
        list.push_back(row);
        return true;
    }
    auto it = std::lower_bound(list.begin(), list.end(), row);
    if (it != list.end() && *it == row)
        return false;
    list.insert(it, row);
    return true;
}

bool RemoveSortedRow(std::vector<int>& list, int row)
{
    auto it = std::lower_bound(list.begin(), list.end(), row);
    if (it == list.end() || *it != row)
        return false;
    list.erase(it);
    return true;
}

void CRefNames::AddTableRow(int id, int row)
{
    if (AddSortedRow(m_TableRows[id], row) && !IsRegularName(m_IdText[id]))
        ++m_nIrregularTableNames;
}

void CRefNames::RemoveTableRow(int id, int row)
{
    if (RemoveSortedRow(m_TableRows[id], row) && !IsRegularName(m_IdText[id]))
        --m_nIrregularTableNames;
}

void CRefNames::ClearTableRows()
{
    for (auto& list : m_TableRows)
        list.clear();
    m_nIrregularTableNames = 0;
}

bool CRefNames::Describes(const std::vector<CRefEntry>& table) const
{
    return m_nIrregularTableNames == 0 && table.size() == m_nEntries;
}

int CRefNames::EntryOfRow(const std::vector<CRefEntry>& table, int row)
{
    auto it = std::lower_bound(table.begin(), table.end(), row, [](const CRefEntry& e, int r) { return e.m_nRow < r; });
    return (it != table.end() && it->m_nRow == row) ? static_cast<int>(it - table.begin()) : -1;
}

void CRefNames::Clear()
{
    std::unordered_map<std::string, int>().swap(m_Ids);
    std::vector<std::string>().swap(m_IdText);
    std::vector<std::vector<int>>().swap(m_TableRows);
    m_nIrregularTableNames = 0;
    m_nEntries = 0;
}

std::size_t CRefNames::MemoryBytes() const
{
    std::size_t bytes = 0;
    for (std::size_t id = 0; id < m_IdText.size(); ++id)
        bytes += 64 + sizeof(std::string) + sizeof(std::vector<int>) + m_TableRows[id].capacity() * sizeof(int);
    return bytes;
}
