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

}  // namespace

bool WriteWorkbook(const SComparison& comparison, const std::string& nativePath, std::string& reason)
{
    reason = comparetext::TEXT_WRITE_FAILED;
    // The workbook goes to a temporary file beside the target and replaces
    // it only when it was written completely.
    const std::string temp = nativePath + ".~" + std::to_string(::getpid()) + ".tmp";
    // A folder that cannot take the file is found before the writer starts
    // (which would report it on the console by itself).
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    if (fd < 0)
        return false;
    ::close(fd);
    bool bWritten = false;
    {
        CBook book(temp);
        if (!book.Ok()) {
            std::remove(temp.c_str());
            return false;
        }
        lxw_format* head = workbook_add_format(book.Book());
        format_set_bold(head);
        format_set_border(head, LXW_BORDER_THIN);
        lxw_format* number = workbook_add_format(book.Book());
        std::string pattern = "0";
        if (comparison.m_nDecimals > 0)
            pattern += "." + std::string(comparison.m_nDecimals, '0');
        format_set_num_format(number, pattern.c_str());

        const CUtf8Text itemsName = textcodec::GbkToUtf8(comparetext::SHEET_ITEMS);
        lxw_worksheet* items = workbook_add_worksheet(book.Book(), itemsName.c_str());
        PutHeader(items,
                  {comparetext::HEAD_ITEM, comparetext::HEAD_CATEGORY, comparetext::HEAD_UNIT, comparetext::HEAD_A,
                   comparetext::HEAD_B, comparetext::HEAD_INCREASE, comparetext::HEAD_DECREASE},
                  head);
        worksheet_set_column(items, 0, 1, 24, nullptr);
        worksheet_set_column(items, 3, 6, 12, nullptr);
        int row = 1;
        for (const SItemLine& line : comparison.m_Items) {
            PutText(items, row, 0, line.m_strItem);
            PutText(items, row, 1, line.m_strCategory);
            PutText(items, row, 2, line.m_strUnit);
            PutQuantities(items, row, 3, line.m_Qty, number);
            ++row;
        }
        // The totals over the whole sheets follow after one empty row.
        ++row;
        for (const STotalLine& line : comparison.m_Totals) {
            PutText(items, row, 0, comparetext::HEAD_TOTAL, head);
            PutText(items, row, 1, line.m_strCategory);
            PutText(items, row, 2, line.m_strUnit);
            PutQuantities(items, row, 3, line.m_Qty, number);
            ++row;
        }

        const CUtf8Text rowsName = textcodec::GbkToUtf8(comparetext::SHEET_ROWS);
        lxw_worksheet* rows = workbook_add_worksheet(book.Book(), rowsName.c_str());
        PutHeader(rows,
                  {comparetext::HEAD_KIND, comparetext::HEAD_ITEM, comparetext::HEAD_ROW_A, comparetext::HEAD_ROW_B,
                   comparetext::HEAD_LOCATION, comparetext::HEAD_CATEGORY, comparetext::HEAD_TEXT_A,
                   comparetext::HEAD_TEXT_B},
                  head);
        worksheet_set_column(rows, 1, 1, 20, nullptr);
        worksheet_set_column(rows, 4, 5, 18, nullptr);
        worksheet_set_column(rows, 6, 7, 48, nullptr);
        row = 1;
        for (const SRowLine& line : comparison.m_Rows) {
            PutText(rows, row, 0, KindText(line.m_eKind));
            PutText(rows, row, 1, line.m_strItem);
            if (line.m_nRowA)
                worksheet_write_number(rows, row, 2, line.m_nRowA, nullptr);
            if (line.m_nRowB)
                worksheet_write_number(rows, row, 3, line.m_nRowB, nullptr);
            PutText(rows, row, 4, line.m_strLocation);
            PutText(rows, row, 5, line.m_strCategory);
            PutText(rows, row, 6, line.m_strTextA);
            PutText(rows, row, 7, line.m_strTextB);
            ++row;
        }
        bWritten = book.Close();
    }
    if (!bWritten || std::rename(temp.c_str(), nativePath.c_str()) != 0) {
        std::remove(temp.c_str());
        return false;
    }
    reason.clear();
    return true;
}

}  // namespace sheetcompare
