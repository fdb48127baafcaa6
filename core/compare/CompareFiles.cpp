#include "core/compare/CompareFiles.h"

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

#include <xlsxwriter.h>

#include "core/compare/CompareTexts.h"
#include "core/document/DocumentTexts.h"
#include "core/document/FileOps.h"
#include "core/sheet/SheetGrid.h"
#include "core/text/TextCodec.h"

namespace sheetcompare {

bool LoadSheetFile(const std::string& nativePath, SheetGrid& grid, sheetfile::SProperties& props, std::string& error)
{
    std::string data;
    switch (docfile::ReadWholeFile(nativePath, data)) {
    case docfile::READ_OK: break;
    case docfile::READ_TOO_LARGE: error = doctext::TEXT_DAMAGED; return false;
    case docfile::READ_CANNOT_OPEN: error = doctext::TEXT_OPEN_FAILED; return false;
    }
    // The whole file is checked first, so that a damaged one changes nothing.
    sheetfile::SContents contents;
    if (!sheetfile::Inspect(data.data(), data.size(), contents, error))
        return false;
    sheetfile::CParser parser(data.data(), data.size());
    parser.ReadHeader();
    props = parser.Properties();
    const int rows = parser.RowCount();
    grid.SetRows(rows + 1);
    std::string_view cells[SHEET_COLS];
    std::string text;
    for (int row = 1; row <= rows && parser.ReadRow(cells); ++row)
        for (int col = 0; col < SHEET_COLS; ++col) {
            text.assign(cells[col]);
            grid.SetTextMatrix(row, col, text);
        }
    return true;
}

namespace {

// The workbook under construction; texts go in as UTF-8.
class CBook {
public:
    explicit CBook(const std::string& path) : m_pBook(workbook_new(path.c_str())) {}
    ~CBook()
    {
        // An unclosed workbook is closed (written) here only to free it; the
        // caller removes that file.
        if (m_pBook)
            workbook_close(m_pBook);
    }
    bool Ok() const { return m_pBook != nullptr; }
    lxw_workbook* Book() { return m_pBook; }
    bool Close()
    {
        lxw_error err = workbook_close(m_pBook);
        m_pBook = nullptr;
        return err == LXW_NO_ERROR;
    }

private:
    lxw_workbook* m_pBook;
};

void PutText(lxw_worksheet* sheet, int row, int col, const std::string& gbk, lxw_format* format = nullptr)
{
    if (!gbk.empty())
        worksheet_write_string(sheet, row, col, textcodec::GbkToUtf8(gbk).c_str(), format);
}

void PutHeader(lxw_worksheet* sheet, const std::vector<const char*>& titles, lxw_format* format)
{
    for (std::size_t col = 0; col < titles.size(); ++col)
        PutText(sheet, 0, static_cast<int>(col), titles[col], format);
}

void PutQuantities(lxw_worksheet* sheet, int row, int col, const SQuantities& q, lxw_format* number)
{
    worksheet_write_number(sheet, row, col, q.m_dA, number);
    worksheet_write_number(sheet, row, col + 1, q.m_dB, number);
    if (q.m_nSign > 0)
        worksheet_write_number(sheet, row, col + 2, q.m_dDiff, number);
    if (q.m_nSign < 0)
        worksheet_write_number(sheet, row, col + 3, -q.m_dDiff, number);
}

// The formats both sheets share: a bold framed header, and quantities shown
// with the decimals the comparison was made with.
struct SFormats {
    lxw_format* m_pHead;
    lxw_format* m_pNumber;
};

SFormats AddFormats(lxw_workbook* book, int decimals)
{
    SFormats formats{workbook_add_format(book), workbook_add_format(book)};
    format_set_bold(formats.m_pHead);
    format_set_border(formats.m_pHead, LXW_BORDER_THIN);
    std::string pattern = "0";
    if (decimals > 0)
        pattern += "." + std::string(decimals, '0');
    format_set_num_format(formats.m_pNumber, pattern.c_str());
    return formats;
}

lxw_worksheet* AddSheet(lxw_workbook* book, const char* gbkName)
{
    return workbook_add_worksheet(book, textcodec::GbkToUtf8(gbkName).c_str());
}

void PutItemsSheet(lxw_workbook* book, const SComparison& comparison, const SFormats& formats)
{
    lxw_worksheet* sheet = AddSheet(book, comparetext::SHEET_ITEMS);
    PutHeader(sheet,
              {comparetext::HEAD_ITEM, comparetext::HEAD_CATEGORY, comparetext::HEAD_UNIT, comparetext::HEAD_A,
               comparetext::HEAD_B, comparetext::HEAD_INCREASE, comparetext::HEAD_DECREASE},
              formats.m_pHead);
    worksheet_set_column(sheet, 0, 1, 24, nullptr);
    worksheet_set_column(sheet, 3, 6, 12, nullptr);
    int row = 1;
    for (const SItemLine& line : comparison.m_Items) {
        PutText(sheet, row, 0, line.m_strItem);
        PutText(sheet, row, 1, line.m_strCategory);
        PutText(sheet, row, 2, line.m_strUnit);
        PutQuantities(sheet, row, 3, line.m_Qty, formats.m_pNumber);
        ++row;
    }
    // The totals over the whole sheets follow after one empty row.
    ++row;
    for (const STotalLine& line : comparison.m_Totals) {
        PutText(sheet, row, 0, comparetext::HEAD_TOTAL, formats.m_pHead);
        PutText(sheet, row, 1, line.m_strCategory);
        PutText(sheet, row, 2, line.m_strUnit);
        PutQuantities(sheet, row, 3, line.m_Qty, formats.m_pNumber);
        ++row;
    }
}

void PutRowsSheet(lxw_workbook* book, const SComparison& comparison, const SFormats& formats)
{
    lxw_worksheet* sheet = AddSheet(book, comparetext::SHEET_ROWS);
    PutHeader(sheet,
              {comparetext::HEAD_KIND, comparetext::HEAD_ITEM, comparetext::HEAD_ROW_A, comparetext::HEAD_ROW_B,
               comparetext::HEAD_LOCATION, comparetext::HEAD_CATEGORY, comparetext::HEAD_TEXT_A,
               comparetext::HEAD_TEXT_B},
              formats.m_pHead);
    worksheet_set_column(sheet, 1, 1, 20, nullptr);
    worksheet_set_column(sheet, 4, 5, 18, nullptr);
    worksheet_set_column(sheet, 6, 7, 48, nullptr);
    int row = 1;
    for (const SRowLine& line : comparison.m_Rows) {
        PutText(sheet, row, 0, KindText(line.m_eKind));
        PutText(sheet, row, 1, line.m_strItem);
        // A row that exists on one side only leaves the other side's number empty.
        if (line.m_nRowA)
            worksheet_write_number(sheet, row, 2, line.m_nRowA, nullptr);
        if (line.m_nRowB)
            worksheet_write_number(sheet, row, 3, line.m_nRowB, nullptr);
        PutText(sheet, row, 4, line.m_strLocation);
        PutText(sheet, row, 5, line.m_strCategory);
        PutText(sheet, row, 6, line.m_strTextA);
        PutText(sheet, row, 7, line.m_strTextB);
        ++row;
    }
}

// Creates the temporary file the workbook is written to. A folder that cannot
// take the file is found here, before the writer starts (which would report
// it on the console by itself).
bool ReserveFile(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

bool WriteBook(const SComparison& comparison, const std::string& path)
{
    CBook book(path);
    if (!book.Ok())
        return false;
    const SFormats formats = AddFormats(book.Book(), comparison.m_nDecimals);
    PutItemsSheet(book.Book(), comparison, formats);
    PutRowsSheet(book.Book(), comparison, formats);
    return book.Close();
}

}  // namespace

bool WriteWorkbook(const SComparison& comparison, const std::string& nativePath, std::string& reason)
{
    reason = comparetext::TEXT_WRITE_FAILED;
    // The workbook goes to a temporary file beside the target and replaces
    // it only when it was written completely.
    const std::string temp = nativePath + ".~" + std::to_string(::getpid()) + ".tmp";
    if (!ReserveFile(temp))
        return false;
    if (!WriteBook(comparison, temp) || std::rename(temp.c_str(), nativePath.c_str()) != 0) {
        std::remove(temp.c_str());
        return false;
    }
    reason.clear();
    return true;
}

}  // namespace sheetcompare
