// The reconciliation (对量) of two calculation sheets: the submitted one
// (送审, side A) against the checked one (审定, side B).
//
// Summary items are matched by their name (COL_POSITION of the heading; the
// rows above the first heading form an item with an empty name; a name used
// twice matches its occurrences in order). Within a matched item the rows are
// aligned by the longest common subsequence of their (location, category)
// pairs; an aligned pair whose cleaned expressions differ is "changed", the
// rest of either side "removed" (only in A) or "added" (only in B). Rows
// whose cells are all empty take no part. Quantities are added up per
// category as the summary totals are and shown with the sheet's decimals;
// each difference is taken between the shown quantities, so that the
// figures of a line always add up.
//
// All texts are GBK. Item names, locations, categories and units are given
// without their line breaks; the expression texts as the sheets hold them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class SheetGrid;

namespace sheetcompare {

// Two quantities and their difference B - A as shown: "12.50", "+1.50",
// "-2.00", "0.00"; the numbers are the shown values.
struct SQuantities {
    std::string m_strA;
    std::string m_strB;
    std::string m_strDiff;
    double m_dA = 0;
    double m_dB = 0;
    double m_dDiff = 0;
    int m_nSign = 0;  // of the difference: +1 核增, -1 核减, 0 none
};

// One category of one item.
struct SItemLine {
    std::string m_strItem;
    std::string m_strCategory;
    std::string m_strUnit;  // of the first row of that category in B; A's when that has none
    SQuantities m_Qty;
    // The item's summary row on each side (for the rows above the first
    // heading, the first of them), 0 where the side has no such item.
    int m_nRowA = 0;
    int m_nRowB = 0;
};

enum ERowKind { ROW_CHANGED,
                ROW_ADDED,
                ROW_REMOVED };

// One row that differs. m_nRowA / m_nRowB are sheet rows, 0 for none.
struct SRowLine {
    ERowKind m_eKind = ROW_CHANGED;
    std::string m_strItem;
    int m_nRowA = 0;
    int m_nRowB = 0;
    std::string m_strLocation;
    std::string m_strCategory;
    std::string m_strTextA;
    std::string m_strTextB;
};

// One category over the whole sheets.
struct STotalLine {
    std::string m_strCategory;
    std::string m_strUnit;  // the same over the whole sheets
    SQuantities m_Qty;
};

struct SComparison {
    int m_nDecimals = 2;
    std::vector<SItemLine> m_Items;  // B's item order, then the items only in A
    std::vector<SRowLine> m_Rows;    // the same item order, each item's rows in sheet order
    std::vector<STotalLine> m_Totals;
};

// Compares the data rows 1 .. Rows() - 1 of both sheets. decimals is
// clamped to 0 .. 6.
SComparison CompareSheets(const SheetGrid& a, const SheetGrid& b, int decimals);

// A row line's kind as the report prints it ("changed") and as the window
// and the workbook show it (GBK).
const char* KindName(ERowKind kind);
const char* KindText(ERowKind kind);

// Whether two expression cells hold the same expression: the texts before
// their results, cleaned as a commit cleans them (spacing, line breaks,
// full-width punctuation and letter case do not count; annotations do).
bool SameExpression(const std::string& a, const std::string& b);

}  // namespace sheetcompare
