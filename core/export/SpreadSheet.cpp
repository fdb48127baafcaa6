#include "core/export/SpreadSheet.h"

#include <algorithm>
#include <cstdio>
#include <set>

#include "core/document/FileOps.h"
#include "core/export/ExportText.h"
#include "core/export/XlsFile.h"
#include "core/text/TextCodec.h"

namespace {

std::string LowerTail(const std::string& text, std::size_t n)
{
    std::string tail = text.size() >= n ? text.substr(text.size() - n) : text;
    for (char& c : tail)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    return tail;
}

std::string Formatted(const char* format, const std::string& value)
{
    std::string text = format;
    const std::size_t at = text.find("%s");
    if (at != std::string::npos)
        text.replace(at, 2, value);
    return text;
}

// The first text that occurs twice, or null.
const std::string* Duplicate(const std::vector<std::string>& texts)
{
    std::set<std::string> seen;
    for (const std::string& text : texts)
        if (!seen.insert(text).second)
            return &text;
    return nullptr;
}

}  // namespace

CSpreadSheet::CSpreadSheet(const std::string& file, const std::string& sheetName, bool bBackup)
    : m_bBackup(bBackup), m_bWorkbook(LowerTail(file, 4) == ".xls"), m_strSheetName(sheetName), m_strFile(file)
{
}

bool CSpreadSheet::Fail(const std::string& text)
{
    m_strLastError = text;
    return false;
}

bool CSpreadSheet::SetHeader(const std::vector<std::string>& texts, bool bReplace)
{
    if (!m_bExists || bReplace) {
        if (!m_bExists)
            m_nTotalColumns = static_cast<int>(texts.size());
        m_Header = texts;
    } else {
        for (const std::string& text : texts)
            if (std::find(m_Header.begin(), m_Header.end(), text) != m_Header.end())
                return Fail(Formatted("Duplicate header row field:%s\n", text));
        m_Header.insert(m_Header.end(), texts.begin(), texts.end());
        m_nTotalColumns = std::max(m_nTotalColumns, static_cast<int>(m_Header.size()));
    }
    if (m_Rows.empty())
        m_Rows.push_back(m_Header);
    else
        m_Rows[0] = m_Header;
    return m_bDeferred ? true : WriteAll();
}

bool CSpreadSheet::AppendRow(const std::vector<std::string>& values, int row, bool bReplace)
{
    if (row == 1) {
        if (m_bWorkbook) {
            if (const std::string* pTwice = Duplicate(values))
                return Fail(Formatted("Duplicate header row field:%s\n", *pTwice));
            if (static_cast<int>(values.size()) < m_nTotalColumns)
                return Fail("Number of columns in new header row cannot be less than the number of columns in "
                            "previous header row");
        }
        m_nTotalColumns = static_cast<int>(values.size());
        m_Header = values;
    } else if (m_bWorkbook) {
        if (m_nTotalColumns == 0)
            return Fail("No header row. Add header row first\n");
        if (values.size() > m_Header.size())
            return Fail("Number of columns to be added cannot be greater than the number of fields\n");
    }

    const int total = TotalRows();
    if (row == 0) {
        m_Rows.push_back(values);
    } else if (row <= total) {
        if (bReplace)
            m_Rows[row - 1] = values;
        else
            m_Rows.insert(m_Rows.begin() + (row - 1), values);
    } else {
        const std::vector<std::string> filler(static_cast<std::size_t>(std::max(m_nTotalColumns, 1)), " ");
        while (TotalRows() < row - 1)
            m_Rows.push_back(filler);
        m_Rows.push_back(values);
    }
    return m_bDeferred ? true : WriteAll();
}

bool CSpreadSheet::RowValues(int row, std::vector<std::string>& values)
{
    if (row == 0)
        row = m_nCurrentRow;
    if (row < 1 || row > TotalRows())
        return Fail("Desired row is greater than total number of rows in spreadsheet\n");
    values = m_Rows[row - 1];
    m_nCurrentRow = row + 1;
    return true;
}

bool CSpreadSheet::WriteAll()
{
    if (!m_bWorkbook)
        return Fail("Only Excel workbooks (.xls) can be written\n");
    if (m_Header.empty())
        return Fail("No header row. Add header row first\n");
    if (TotalRows() > xlsfile::MAX_ROWS)
        return Fail("Too many rows for one worksheet: " + std::to_string(TotalRows()) + " (at most " + std::to_string(xlsfile::MAX_ROWS) + ")\n");
    if (static_cast<int>(m_Header.size()) > xlsfile::MAX_COLS)
        return Fail("Too many columns for one worksheet\n");

    // Every stored row is written under the header, with as many of the
    // first columns as it has values.
    std::vector<std::vector<std::string>> rows;
    rows.reserve(m_Rows.size());
    rows.push_back(m_Header);
    for (std::size_t r = 1; r < m_Rows.size(); ++r)
        rows.push_back(m_Rows[r]);

    xlsfile::SSheet sheet;
    sheet.m_strName = textcodec::GbkToUtf16(m_strSheetName.substr(0, 31));
    for (int w : exporttext::FittedWidths(rows, m_Header.size()))
        sheet.m_ColWidths.push_back(w * 256);
    sheet.m_Rows.reserve(rows.size());
    for (const auto& row : rows) {
        std::vector<std::u16string> cells;
        cells.reserve(row.size());
        for (const std::string& value : row)
            cells.push_back(textcodec::GbkToUtf16(value));
        sheet.m_Rows.push_back(std::move(cells));
    }
    const std::string bytes = xlsfile::CompoundFile(xlsfile::WorkbookStream(sheet));

    docfile::CAtomicFile file;
    std::string reason;
    if (!file.Write(m_strFile, bytes, reason) || !file.Commit(reason))
        return Fail(reason + "\n");
    m_bExists = true;
    m_bDeferred = false;
    return true;
}
