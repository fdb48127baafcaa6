// The names of a reference table by number, with the table rows that carry
// each name. Whoever keeps the table (the reference index of a sheet) keeps
// these beside it, so that the substitution can find a name by its token
// instead of trying every entry of the table in turn.
//
// A name that consists of ASCII letters and digits and holds at least one
// letter is "regular"; only such names can be found by token.
#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

struct CRefEntry;

// Row lists kept in ascending order without repeats; both say whether the
// list changed.
bool AddSortedRow(std::vector<int>& list, int row);
bool RemoveSortedRow(std::vector<int>& list, int row);

class CRefNames {
public:
    static bool IsRegularName(const char* s, std::size_t n);
    static bool IsRegularName(const std::string& name) { return IsRegularName(name.data(), name.size()); }

    // The number of a name, or -1 when it was never interned.
    int Lookup(const std::string& name) const;
    int Lookup(const char* s, std::size_t n) const;
    int Intern(const std::string& name);
    const std::string& TextOf(int id) const { return m_IdText[id]; }
    int Count() const { return static_cast<int>(m_IdText.size()); }

    // Rows of the table entries that carry the name, in row order.
    const std::vector<int>& TableRows(int id) const { return m_TableRows[id]; }
    void AddTableRow(int id, int row);
    void RemoveTableRow(int id, int row);
    void ClearTableRows();

    // Set by the keeper after it brought the table and these names into
    // agreement; a table of another size was written by someone else.
    void SetEntryCount(std::size_t n) { m_nEntries = n; }
    // True when every name of the table can be found here by token.
    bool Describes(const std::vector<CRefEntry>& table) const;
    std::size_t EntryCount() const { return m_nEntries; }
    bool HasIrregularTableNames() const { return m_nIrregularTableNames > 0; }

    // The table entry of a row (binary search; the table is in row order), or -1.
    static int EntryOfRow(const std::vector<CRefEntry>& table, int row);

    void Clear();
    std::size_t MemoryBytes() const;

private:
    std::unordered_map<std::string, int> m_Ids;
    std::vector<std::string> m_IdText;
    std::vector<std::vector<int>> m_TableRows;
    int m_nIrregularTableNames = 0;
    std::size_t m_nEntries = 0;
};
