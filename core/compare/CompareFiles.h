// The files of a comparison: a sheet file read for comparing (nothing else
// changes: no open sheet, no settings) and the comparison written as an
// Excel 2007+ workbook with the item table and the row list on two
// worksheets.
#pragma once

#include <string>

#include "core/compare/SheetCompare.h"
#include "core/document/SheetFile.h"

class SheetGrid;

namespace sheetcompare {

// Reads the sheet file at nativePath into grid: rows 1 .. N hold the file's
// rows. False with the reason (GBK) when it cannot be read; grid is then
// left as it was.
bool LoadSheetFile(const std::string& nativePath, SheetGrid& grid, sheetfile::SProperties& props,
                   std::string& error);

// Writes the workbook whole or not at all: an existing file at nativePath
// stays as it was when writing fails. False with the reason (GBK).
bool WriteWorkbook(const SComparison& comparison, const std::string& nativePath, std::string& reason);

}  // namespace sheetcompare
