// The Excel workbook (.xlsx) of the export: the rows of the sheet as the
// .xls export writes them, and a column of live quantities. Each
// calculation row's 工程量 cell holds an Excel formula that computes the
// row's expression the way the sheet does (annotations left out, the
// angle functions in degrees, a reference name read from the 工程量 cell
// of its row, rounded to the row's decimals), with the sheet's value as the
// cached result; each summary row's totals are a text formula over the rows
// of its item. A formula is written only where it gives exactly the value
// the sheet shows; rows with an error, and anything the formula could not
// reproduce, keep the plain value.
#pragma once

#include <string>
#include <vector>

#include "core/engine/CalcState.h"

class SheetGrid;

namespace livesheet {

struct SCell {
    enum EKind { EMPTY,
                 TEXT,
                 NUMBER,
                 FORMULA };
    EKind m_eKind = EMPTY;
    std::string m_strText;     // TEXT, and the cached result of a text formula (GBK)
    std::string m_strFormula;  // FORMULA: starts with "=" (GBK)
    double m_dValue = 0.0;     // NUMBER, and the cached result of a number formula
    bool m_bTextResult = false;
    int m_nDecimals = -1;  // numbers: shown with this many decimals; -1 as Excel likes
};

struct SBook {
    std::vector<std::vector<SCell>> m_Rows;  // row 0: the titles
    std::vector<int> m_ColWidths;            // in characters
};

// The summary export's rows (the title row first) with amounts as numbers.
SBook SummaryBook(const std::vector<std::vector<std::string>>& rows);
// Every row of the sheet, and the 工程量 column. refTable: the sheet's
// names as the engine reads them (entries in table order).
SBook AllRowsBook(const SheetGrid& grid, const std::vector<CRefEntry>& refTable);

// Writes the workbook: worksheet "Quantorix", frozen title row, fitted
// widths, A4 with the title row on every page and 第&P页 共&N页 below. The
// file is replaced whole or not at all; false with a reason.
bool WriteXlsx(const SBook& book, const std::string& nativePath, std::string& reason);

// Excel's ROUND: half away from zero on the value's 15 significant digits.
double ExcelRound(double value, int decimals);

}  // namespace livesheet
