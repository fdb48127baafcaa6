// The reference index of a calculation grid: what the reference steps need to
// know about the sheet without rescanning it.
//
// For every row it keeps the row's name (its reference cell without line
// feeds), the names that occur as operands in its cleaned and prepared
// expression cell, whether that cell carries the circular-reference message,
// and, once asked for, the prepared expression itself. From these it keeps
// the inverted lists: the rows that use a name, the rows that carry a name.
//
// It also mirrors the reference table of the calculation state (entry by
// row, entries by name) and rebuilds it in place: only the entries whose row
// changed since the last rebuild are brought back to what the sheet holds.
//
// The index reads the sheet's change record whenever it is asked, so code
// that writes the sheet directly (paste, undo, loading) needs to do nothing.
// The reference table must be written only through this index, which keeps
// the table's names (CRefNames, in the calculation state) beside it for the
// engine's substitution by token.
//
// Names are matched by token: a name that consists of ASCII letters and
// digits and holds at least one letter ("regular") is found through the
// lists. Other names (possible only in texts written from outside) are found
// by scanning, exactly as the plain algorithms do.
#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/engine/CalcState.h"
#include "core/engine/ExprEngine.h"
#include "core/sheet/SheetGrid.h"

class CRefIndex {
public:
    CRefIndex(SheetGrid& grid, CCalcState& state);

    // Brings the row information up to date with the sheet.
    void Refresh();
    // Forgets every name it has seen and everything about the rows: a new
    // sheet starts from an empty index (names of earlier sheets would
    // otherwise pile up for the life of the program).
    void Clear();

    // The reference table rebuilt from the sheet, taking text as the content
    // of cell (row, col) when pText is given (an expression cell's text that
    // does not begin with "=" reads as text + "+0").
    void RebuildTable(int row, int col, const std::string* pText);

    // Row information (call Refresh first).
    int NameIdOfRow(int row) const { return m_Rows[row].m_nNameId; }
    bool RowHasName(int row) const { return m_Rows[row].m_nNameId >= 0; }
    const std::string& NameOfRow(int row) const;
    bool RowHasMessage(int row) const { return m_Rows[row].m_bMessage; }
    const std::vector<int>& TokensOfRow(int row) const { return m_Rows[row].m_Tokens; }
    // Ids of the regular names that occur as operands in a prepared text.
    void TokensOfText(const std::string& prepared, std::vector<int>& ids);

    // The id of a text, or -1 when no row or entry ever held it as a name or token.
    int Lookup(const std::string& text) const { return m_Names.Lookup(text); }
    const std::string& TextOfId(int id) const { return m_Names.TextOf(id); }
    int IdCount() const { return m_Names.Count(); }
    static bool IsRegularName(const std::string& name) { return CRefNames::IsRegularName(name); }

    // Rows whose prepared expression uses the name, in row order.
    const std::vector<int>& UsersOf(int id) const;
    // The first row after `after` that carries the circular-reference
    // message, skipping `except`; 0 when none.
    int NextMessageRow(int after, int except) const;
    // Names carried by two or more rows; names that are not regular.
    bool HasDuplicateNames() const { return m_nDuplicateNames > 0; }
    bool HasIrregularNames() const { return m_nIrregularGridNames > 0 || m_Names.HasIrregularTableNames(); }
    // Rows that carry the name in the sheet.
    const std::vector<int>& RowsNamed(int id) const;

    // The prepared expression of a row without its result part (cached).
    const std::string& PreparedExpression(int row);
    // For the recalculation of all rows: the cleaned expression the row's
    // stored expression evaluates as, when the stored text is an expression
    // (not empty) followed by its separator and a plain number; null
    // otherwise. Then the recalculated text is the stored text up to and
    // including the separator followed by the new number.
    const std::string* RecalcExpression(int row);
    int SeparatorOfRow(int row) const { return m_Rows[row].m_nSep; }
    // After a row was recalculated by propagation: the row's expression cell
    // keeps everything up to its result separator and gets value behind it.
    void RewriteValue(int row, const std::string& value);
    // Writes text into the row's expression cell when it differs from the
    // stored one only in the number behind the result separator, keeping
    // what the index knows; false (nothing written) otherwise.
    bool WriteNumberKeeping(int row, const std::string& text);

    // Table access (mirror of the calculation state's table).
    int EntryOfRow(int row) const;                       // index or -1
    int FirstEntryNamed(const std::string& name) const;  // index or -1
    void SetEntryValue(int entry, const std::string& value);
    // Remembers that the row's table entry must be brought back to the
    // sheet at the next rebuild, unless it already agrees with it.
    void NoteEntry(int row);
    // Table entries in table order whose name occurs in a prepared text (by
    // token when every table name is regular, else by scanning).
    void EntriesUsedBy(const std::vector<int>& tokens, const std::string* pPrepared, std::vector<int>& rows) const;

    // Bytes held by the index (an estimate for the memory benchmark).
    std::size_t MemoryBytes() const;

private:
    // One per sheet row, so kept small: the texts only some rows need live
    // apart, made when first asked for.
    struct SRow {
        std::vector<int> m_Tokens;             // ids of regular names used, sorted
        std::unique_ptr<std::string> m_pExpr;  // prepared expression without result part; null until made
        int m_nNameId = -1;                    // the row's name
        int m_nSep = -1;                       // result separator of the stored text when its value part is a plain number
        bool m_bRecalcValid = false;           // m_RecalcTexts holds the row's text
        bool m_bMessage = false;
        bool m_bDirty = false;
        bool m_bDivergent = false;  // the table entry may differ from the sheet
    };
    static_assert(sizeof(SRow) <= 48, "a full sheet holds 65,500 of them");

    int Intern(const std::string& text);
    // Brings the rows up to the sheet's change record.
    void CatchUp();
    void NoteText(int row);
    void NoteRowsInserted(int first, int count);
    void NoteRowsRemoved(int first, int count);
    // Writes a text of the index's own making into the row's expression cell.
    void WriteOwn(int row, const std::string& text);
    void RecomputeRow(int row);
    void KeepPrepared(SRow& info, const std::vector<int>& tokens, std::string& prepared);
    void ForgetRecalcText(int row);
    void ApplyRow(int row, int nameId, std::vector<int>& tokens, bool bMessage);
    void RebuildLists();
    void ComputeSeparator(int row);
    std::string GridValue(int row);
    void SyncEntry(int row, const std::string& name, const std::string& value);
    void MarkDivergent(int row);
    void CountName(int id, int delta);

    SheetGrid& m_Grid;
    CCalcState& m_State;
    CRefNames& m_Names;

    std::vector<SRow> m_Rows;
    // Per row, the cleaned expression for the recalculation of all rows;
    // empty until a recalculation first asks, then as long as m_Rows.
    std::vector<std::string> m_RecalcTexts;
    std::vector<int> m_Dirty;
    std::vector<int> m_Divergent;
    bool m_bAllDirty = true;
    bool m_bRenumber = false;
    bool m_bTableFull = true;

    std::vector<std::vector<int>> m_Users;      // by id: rows using the name
    std::vector<std::vector<int>> m_NamedRows;  // by id: rows carrying the name
    std::set<int> m_MessageRows;
    int m_nDuplicateNames = 0;
    int m_nIrregularGridNames = 0;
};
