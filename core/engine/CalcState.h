// The calculation state shared by every expression engine of one sheet
// session: the outcome of the last calculation (ok flag and message), the
// reference table, the number of decimals and where message boxes go. The
// owner (the application, a test, a command-line session) creates one and
// passes it on.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "core/engine/RefNames.h"

class CPrompt;

struct CRefEntry {
    std::string m_strName;   // reference name (COL_REF)
    std::string m_strRow;    // row number as "%d"
    std::string m_strValue;  // text after the first "=" of the row's expression cell
    int m_nRow = 0;
};

class CCalcState {
public:
    // --- the outcome of the last calculation ---
    // False after any error or corrected argument.
    bool CalcOk() const { return m_bCalcOk; }
    // Message of the last failed preparation, or empty.
    const std::string& CalcError() const { return m_strCalcError; }
    void MarkCalcOk() { m_bCalcOk = true; }
    void MarkCalcFailed() { m_bCalcOk = false; }
    // A fresh calculation: ok, without a message.
    void ClearOutcome()
    {
        m_bCalcOk = true;
        m_strCalcError.clear();
    }
    // Records calculation message k: flag cleared, error text replaced.
    void RecordMessage(int k);

    // --- the reference table: one entry per named row, in row order ---
    const std::vector<CRefEntry>& RefTable() const { return m_RefTable; }
    int RefCount() const { return static_cast<int>(m_RefTable.size()); }
    // The table's names by number, kept beside the table.
    const CRefNames& RefNames() const { return m_RefNames; }
    // Only for whoever keeps the table (the sheet's reference index): it
    // rebuilds the entries and their names together.
    std::vector<CRefEntry>& RefTableToRebuild() { return m_RefTable; }
    CRefNames& RefNamesToRebuild() { return m_RefNames; }

    // --- decimals of result texts, 0..6 ---
    int Decimals() const { return m_nDecimals; }
    void SetDecimals(int n) { m_nDecimals = std::clamp(n, 0, 6); }

    // --- where message boxes go; none when null ---
    CPrompt* Prompt() const { return m_pPrompt; }
    void SetPrompt(CPrompt* pPrompt) { m_pPrompt = pPrompt; }
    // A warning message box (caption "警告", OK only).
    void ShowNotice(const std::string& text) const;

private:
    friend class CKeepCalcOutcome;

    bool m_bCalcOk = true;
    std::string m_strCalcError;
    std::vector<CRefEntry> m_RefTable;
    CRefNames m_RefNames;
    int m_nDecimals = 2;
    CPrompt* m_pPrompt = nullptr;
};

// Keeps the calculation outcome as it was for the scope: for checks and
// follow-up calculations whose own outcome must not show.
class CKeepCalcOutcome {
public:
    explicit CKeepCalcOutcome(CCalcState& state)
        : m_State(state), m_bOk(state.m_bCalcOk), m_strError(state.m_strCalcError)
    {
    }
    ~CKeepCalcOutcome()
    {
        m_State.m_bCalcOk = m_bOk;
        m_State.m_strCalcError = m_strError;
    }
    CKeepCalcOutcome(const CKeepCalcOutcome&) = delete;
    CKeepCalcOutcome& operator=(const CKeepCalcOutcome&) = delete;

private:
    CCalcState& m_State;
    const bool m_bOk;
    const std::string m_strError;
};
