// The two Excel export commands of the sheet: the summary items, one
// category per worksheet row, or every row of the sheet, written as an
// Excel 97-2003 workbook (.xls) or, when the user picks that type, as an
// Excel workbook (.xlsx) whose quantities are live formulas.
//
// Core code: the file dialog, warnings and failures go through the prompt.
#pragma once

#include <string>
#include <vector>

#include "core/engine/CalcState.h"

class CPrompt;
class SheetGrid;

namespace excelexport {

// What an export reads: the sheet and the names its rows use.
struct SInput {
    const SheetGrid* m_pGrid = nullptr;
    const std::vector<CRefEntry>* m_pRefTable = nullptr;
};

// The worksheet rows of the two exports, the title row first; texts without
// line feeds.
std::vector<std::vector<std::string>> SummaryRows(const SheetGrid& grid);
std::vector<std::vector<std::string>> AllRows(const SheetGrid& grid);

// The workbook name the dialog's choice stands for: the chosen name with its
// extension replaced by the type's (".xls" or ".xlsx").
std::string WorkbookPath(const std::string& chosen, int type);

}  // namespace excelexport

class CExcelExport {
public:
    explicit CExcelExport(CPrompt& prompt) : m_Prompt(prompt) {}

    // The command: the save dialog proposes proposedPath (folder and
    // document title), then ExportTo. The worksheet rows written (the title
    // row included), or -1 when cancelled, refused or failed (the user has
    // been told).
    int Run(bool bSummary, const excelexport::SInput& input, const std::string& proposedPath);
    // The same with the file and type chosen (exporttext::TYPE_XLS or
    // TYPE_XLSX).
    int ExportTo(bool bSummary, const excelexport::SInput& input, const std::string& chosen, int type);

private:
    bool WriteXls(const std::vector<std::vector<std::string>>& rows, const std::string& path, std::string& reason);

    CPrompt& m_Prompt;
};
