// A table of texts written as one worksheet of an Excel 97-2003 workbook
// (".xls"): a header row of column titles and the rows below it, collected
// in memory and written out whole.
//
// All texts are GBK, the file name too. The workbook is always written as a
// new file (through a temporary file beside it, renamed over the old one
// only when complete), so an existing file is never read, never half
// overwritten, and stays as it was when writing fails.
#pragma once

#include <string>
#include <vector>

class CSpreadSheet {
public:
    // file: the workbook (names ending in ".xls", any case, are workbooks;
    // nothing else can be written); sheetName: the worksheet. bBackup is
    // accepted for the callers that ask for it: a workbook written whole
    // leaves no older worksheet to copy.
    CSpreadSheet(const std::string& file, const std::string& sheetName, bool bBackup);

    // From now on rows are only collected until WriteAll.
    void DeferWrite() { m_bDeferred = true; }

    // The column titles. Without replace they are added to titles already
    // declared; a title declared twice is refused.
    bool SetHeader(const std::vector<std::string>& texts, bool bReplace = false);
    // Stores a row: row 0 appends it, row 1 is the header row, any other row
    // replaces (or, without replace, is inserted before) that row; a row
    // beyond the end is preceded by rows of single spaces.
    bool AppendRow(const std::vector<std::string>& values, int row = 0, bool bReplace = false);
    // Writes the table out; false with LastError when it could not.
    bool WriteAll();
    // The values of row (1 = header, 0 = the current row); the current row
    // moves to the next.
    bool RowValues(int row, std::vector<std::string>& values);

    const std::string& LastError() const { return m_strLastError; }
    int TotalRows() const { return static_cast<int>(m_Rows.size()); }
    int TotalColumns() const { return m_nTotalColumns; }
    bool IsWorkbook() const { return m_bWorkbook; }
    const std::vector<std::string>& Header() const { return m_Header; }

private:
    bool Fail(const std::string& text);

    bool m_bExists = false;  // the worksheet holds a header
    bool m_bBackup = false;
    bool m_bWorkbook = false;
    bool m_bDeferred = false;
    int m_nCurrentRow = 1;
    int m_nTotalColumns = 0;
    std::string m_strSheetName;
    std::string m_strFile;
    std::string m_strLastError;
    std::vector<std::string> m_Header;
    // The rows as stored, the header row first. Each row keeps its values
    // as they are, so no text can be mistaken for a separator.
    std::vector<std::vector<std::string>> m_Rows;
};
