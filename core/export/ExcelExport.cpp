#include "core/export/ExcelExport.h"

#include "core/document/DocumentTexts.h"
#include "core/document/FileOps.h"
#include "core/engine/Prompt.h"
#include "core/export/ExportText.h"
#include "core/export/LiveSheet.h"
#include "core/export/SpreadSheet.h"
#include "core/sheet/CellText.h"
#include "core/sheet/SheetGrid.h"

namespace excelexport {

namespace {

std::vector<std::string> TitleRow()
{
    return std::vector<std::string>(exporttext::TITLES, exporttext::TITLES + 5);
}

}  // namespace

std::vector<std::vector<std::string>> SummaryRows(const SheetGrid& grid)
{
    // Output rows: item number, item name, totals piece, unit piece. The
    // totals pieces of an item run down from its first row, and so do its
    // units; whatever runs longer decides nothing, the next item starts
    // after the totals.
    struct SOut {
        std::string m_strSeq, m_strName, m_strTotal, m_strUnit;
    };
    std::vector<SOut> out(1);
    auto at = [&](std::size_t k) -> SOut& {
        if (out.size() <= k)
            out.resize(k + 1);
        return out[k];
    };
    std::size_t k = 0;
    for (int r = 1; r < grid.Rows(); ++r) {
        if (grid.TextMatrix(r, COL_SEQ).empty())
            continue;
        const std::size_t s = k;
        at(k).m_strSeq = grid.TextMatrix(r, COL_SEQ);
        at(k).m_strName = grid.TextMatrix(r, COL_POSITION);
        // Each piece up to a ";" of the totals and one ";" more: the last
        // piece is the (normally empty) text after the last ";".
        const std::string totals = celltext::WithoutLineBreaks(grid.TextMatrix(r, COL_FORMULA)) + ";";
        for (std::size_t pos = 0, semi; (semi = totals.find(';', pos)) != std::string::npos; pos = semi + 1)
            at(k++).m_strTotal = totals.substr(pos, semi - pos);
        const std::string units = celltext::WithoutLineBreaks(grid.TextMatrix(r, COL_UNIT));
        std::size_t j = s;
        std::size_t pos = 0;
        for (std::size_t semi; (semi = units.find(';', pos)) != std::string::npos; pos = semi + 1)
            at(j++).m_strUnit = units.substr(pos, semi - pos);
        at(j).m_strUnit = units.substr(pos);
    }
    out.resize(k + 1);

    std::vector<std::vector<std::string>> rows;
    rows.reserve(out.size() + 1);
    rows.push_back(TitleRow());
    for (SOut& o : out) {
        const std::size_t eq = o.m_strTotal.find('=');
        std::string category = eq == std::string::npos ? std::string() : o.m_strTotal.substr(0, eq);
        std::string amount = eq == std::string::npos ? o.m_strTotal : o.m_strTotal.substr(eq + 1);
        rows.push_back({celltext::WithoutLineBreaks(o.m_strSeq), celltext::WithoutLineBreaks(o.m_strName), std::move(category),
                        std::move(amount), std::move(o.m_strUnit)});
    }
    return rows;
}

std::vector<std::vector<std::string>> AllRows(const SheetGrid& grid)
{
    std::vector<std::vector<std::string>> rows;
    rows.reserve(static_cast<std::size_t>(grid.Rows()));
    rows.push_back(TitleRow());
    for (int r = 1; r < grid.Rows(); ++r) {
        std::vector<std::string> row;
        row.reserve(5);
        for (int c = COL_SEQ; c <= COL_UNIT; ++c)
            row.push_back(celltext::WithoutLineBreaks(grid.TextMatrix(r, c)));
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string WorkbookPath(const std::string& chosen, int type)
{
    const std::size_t slash = chosen.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = chosen.rfind('.');
    const std::string stem = (dot != std::string::npos && dot >= nameStart) ? chosen.substr(0, dot) : chosen;
    return stem + (type == exporttext::TYPE_XLSX ? ".xlsx" : ".xls");
}

}  // namespace excelexport

int CExcelExport::Run(bool bSummary, const excelexport::SInput& input, const std::string& proposedPath)
{
    std::string chosen = proposedPath;
    int type = exporttext::TYPE_XLS;
    if (!m_Prompt.ChooseFileOfType(true, exporttext::FILE_FILTER, chosen, type))
        return -1;
    return ExportTo(bSummary, input, chosen, type);
}

int CExcelExport::ExportTo(bool bSummary, const excelexport::SInput& input, const std::string& chosen, int type)
{
    const std::string path = excelexport::WorkbookPath(chosen, type);
    if (docfile::HasForbiddenChar(docfile::PathToText(docfile::TitleFromPath(path)))) {
        m_Prompt.ShowMessage(doctext::TEXT_BAD_NAME, doctext::TEXT_WARNING);
        return -1;
    }
    const SheetGrid& grid = *input.m_pGrid;
    std::string reason;
    int rows = 0;
    bool ok = false;
    if (type == exporttext::TYPE_XLSX) {
        static const std::vector<CRefEntry> NO_NAMES;
        const livesheet::SBook book = bSummary
            ? livesheet::SummaryBook(excelexport::SummaryRows(grid))
            : livesheet::AllRowsBook(grid, input.m_pRefTable ? *input.m_pRefTable : NO_NAMES);
        rows = static_cast<int>(book.m_Rows.size());
        ok = livesheet::WriteXlsx(book, path, reason);
    } else {
        const std::vector<std::vector<std::string>> table = bSummary ? excelexport::SummaryRows(grid) : excelexport::AllRows(grid);
        rows = static_cast<int>(table.size());
        ok = WriteXls(table, path, reason);
    }
    if (!ok) {
        std::string text = exporttext::TEXT_EXPORT_FAILED;
        if (!reason.empty())
            text += "\n" + reason;
        m_Prompt.ShowMessage(text, doctext::TEXT_WARNING);
        return -1;
    }
    return rows;
}

bool CExcelExport::WriteXls(const std::vector<std::vector<std::string>>& rows, const std::string& path,
                            std::string& reason)
{
    CSpreadSheet sheet(path, exporttext::SHEET_NAME, true);
    sheet.DeferWrite();
    bool ok = sheet.SetHeader(rows[0]);
    for (std::size_t r = 1; ok && r < rows.size(); ++r)
        ok = sheet.AppendRow(rows[r]);
    ok = ok && sheet.WriteAll();
    if (!ok) {
        reason = sheet.LastError();
        while (!reason.empty() && reason.back() == '\n')
            reason.pop_back();
    }
    return ok;
}
