// The calculation state shared by every expression engine of one sheet
// session: error text, calculation-ok flag, message table, reference table,
// number of decimals and the circular-reference bookkeeping. The owner (the
// application, a test, a command-line session) creates one and passes it on.
#pragma once

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
    CCalcState();

    std::string m_strCalcError;         // message of the last failed preparation, or empty
    unsigned char m_bCalcOk = 1;        // 0 after any error or corrected argument
    std::string m_strCalcMsg[9];        // the calculation messages
    std::vector<CRefEntry> m_RefTable;  // one entry per named row, in row order
    CRefNames m_RefNames;               // the table's names by number, kept by whoever keeps the table
    int m_nDecimals = 2;                // decimals of result texts, 0..6

    std::vector<std::string> m_RefPath;  // names on the current circular-check path
    unsigned char m_bCircular = 0;       // set when a cycle was found

    CPrompt* m_pPrompt = nullptr;  // where message boxes go; none when null

    int RefCount() const { return static_cast<int>(m_RefTable.size()); }

    // A warning message box (caption "警告", OK only).
    void ShowNotice(const std::string& text) const;
    // Records calculation message k: flag cleared, error text replaced.
    void RecordMessage(int k);
};
