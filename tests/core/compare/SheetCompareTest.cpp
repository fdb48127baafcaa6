// The reconciliation of hand-made sheet pairs: item matching, row alignment,
// quantities per item and category, totals and units.
#include <gtest/gtest.h>

#include <sstream>

#include "core/compare/SheetCompare.h"
#include "core/sheet/SheetGrid.h"
#include "core/text/TextCodec.h"

namespace {

// Rows from row 1, each "SEQ|POSITION|SIZE|FORMULA|UNIT" in UTF-8; a few
// empty rows follow, as below every real sheet.
SheetGrid Sheet(const std::vector<std::string>& rows)
{
    SheetGrid grid;
    grid.SetRows(static_cast<int>(rows.size()) + 4);
    grid.Clear();
    for (std::size_t r = 0; r < rows.size(); ++r) {
        std::istringstream in(rows[r]);
        std::string cell;
        for (int col = 0; col < SHEET_COLS && std::getline(in, cell, '|'); ++col)
            grid.SetTextMatrix(static_cast<int>(r) + 1, col, textcodec::Utf8ToGbk(CUtf8Text(cell)));
    }
    return grid;
}

// The comparison as "|"-separated lines, in UTF-8.
std::string Report(const sheetcompare::SComparison& c)
{
    std::ostringstream out;
    auto text = [](const std::string& gbk) { return textcodec::GbkToUtf8(gbk).Bytes(); };
    auto row = [](int n) { return n ? std::to_string(n) : std::string("-"); };
    for (const auto& line : c.m_Items)
        out << "item|" << text(line.m_strItem) << "|" << text(line.m_strCategory) << "|" << line.m_Qty.m_strA
            << "|" << line.m_Qty.m_strB << "|" << line.m_Qty.m_strDiff << "\n";
    for (const auto& line : c.m_Rows)
        out << "row|" << sheetcompare::KindName(line.m_eKind) << "|" << text(line.m_strItem) << "|"
            << row(line.m_nRowA) << "|" << row(line.m_nRowB) << "|" << text(line.m_strLocation) << "|"
            << text(line.m_strCategory) << "|" << text(line.m_strTextA) << "|" << text(line.m_strTextB) << "\n";
    for (const auto& line : c.m_Totals)
        out << "total|" << text(line.m_strCategory) << "|" << text(line.m_strUnit) << "|" << line.m_Qty.m_strA
            << "|" << line.m_Qty.m_strB << "|" << line.m_Qty.m_strDiff << "\n";
    return out.str();
}

struct SCase {
    const char* m_pszName;
    std::vector<std::string> m_A;
    std::vector<std::string> m_B;
    std::string m_strExpected;
};

}  // namespace

TEST(SheetCompare, HandMadePairs)
{
    const std::vector<SCase> cases = {
        {"changed expression",
         {"1|wall", "|L1|C20|2*3=6.00|m3", "|L2|C20|1+1=2.00|m3"},
         {"1|wall", "|L1|C20|2*3=6.00|m3", "|L2|C20|1+2=3.00|m3"},
         "item|wall|C20|8.00|9.00|+1.00\n"
         "row|changed|wall|3|3|L2|C20|1+1=2.00|1+2=3.00\n"
         "total|C20|m3|8.00|9.00|+1.00\n"},
        {"row added in the middle",
         {"1|wall", "|L1|C20|1=1.00|m3", "|L3|C20|3=3.00|m3"},
         {"1|wall", "|L1|C20|1=1.00|m3", "|L2|C30|4=4.00|m2", "|L3|C20|3=3.00|m3"},
         "item|wall|C20|4.00|4.00|0.00\n"
         "item|wall|C30|0.00|4.00|+4.00\n"
         "row|added|wall|-|3|L2|C30||4=4.00\n"
         "total|C20|m3|4.00|4.00|0.00\n"
         "total|C30|m2|0.00|4.00|+4.00\n"},
        {"row removed",
         {"1|wall", "|L1|C20|1=1.00|m3", "|L2|C30|4=4.00|m2", "|L3|C20|3=3.00|m3"},
         {"1|wall", "|L1|C20|1=1.00|m3", "|L3|C20|3=3.00|m3"},
         "item|wall|C20|4.00|4.00|0.00\n"
         "item|wall|C30|4.00|0.00|-4.00\n"
         "row|removed|wall|3|-|L2|C30|4=4.00|\n"
         "total|C20|m3|4.00|4.00|0.00\n"
         "total|C30|m2|4.00|0.00|-4.00\n"},
        {"row moved to another item",
         {"1|wall", "|L1|C20|1=1.00|m3", "|L2|C20|2=2.00|m3", "2|floor", "|F1|C25|5=5.00|m3"},
         {"1|wall", "|L1|C20|1=1.00|m3", "2|floor", "|F1|C25|5=5.00|m3", "|L2|C20|2=2.00|m3"},
         "item|wall|C20|3.00|1.00|-2.00\n"
         "item|floor|C25|5.00|5.00|0.00\n"
         "item|floor|C20|0.00|2.00|+2.00\n"
         "row|removed|wall|3|-|L2|C20|2=2.00|\n"
         "row|added|floor|-|5|L2|C20||2=2.00\n"
         "total|C20|m3|3.00|3.00|0.00\n"
         "total|C25|m3|5.00|5.00|0.00\n"},
        {"items only on one side: B's order, then A's leftovers",
         {"1|wall", "|L1|C20|1=1.00|m3", "2|roof", "|R1|C30|2=2.00|m2"},
         {"1|stairs", "|S1|C20|5=5.00|m3", "2|wall", "|L1|C20|1=1.00|m3"},
         "item|stairs|C20|0.00|5.00|+5.00\n"
         "item|wall|C20|1.00|1.00|0.00\n"
         "item|roof|C30|2.00|0.00|-2.00\n"
         "row|added|stairs|-|2|S1|C20||5=5.00\n"
         "row|removed|roof|4|-|R1|C30|2=2.00|\n"
         "total|C20|m3|1.00|6.00|+5.00\n"
         "total|C30|m2|2.00|0.00|-2.00\n"},
        {"rows above the first heading",
         {"|N1|C20|1=1.00|m3", "1|wall", "|L1|C20|2=2.00|m3"},
         {"|N1|C20|1.5=1.50|m3", "|N2|C20|1=1.00|m3", "1|wall", "|L1|C20|2=2.00|m3"},
         "item||C20|1.00|2.50|+1.50\n"
         "item|wall|C20|2.00|2.00|0.00\n"
         "row|changed||1|1|N1|C20|1=1.00|1.5=1.50\n"
         "row|added||-|2|N2|C20||1=1.00\n"
         "total|C20|m3|3.00|4.50|+1.50\n"},
        {"equal sheets: spacing, full-width punctuation, case and wrapping do not count",
         {"1|wall", "|L1|C20|(1+2)*3=9.00|m3", "|L2|C20|SIN(30)*2=1.00|m3", "|note"},
         {"1|wall", "|L\n1|C\n20|（1 + 2）×3=\n9.00|m3", "|L2|C20|sin(30)*2=1.00|m3", "|note"},
         "item|wall|C20|10.00|10.00|0.00\n"
         "total|C20|m3|10.00|10.00|0.00\n"},
        {"a changed annotation is a change with equal quantities",
         {"|L1|C20|2*3[墙]=6.00|m3"},
         {"|L1|C20|2*3[外墙]=6.00|m3"},
         "item||C20|6.00|6.00|0.00\n"
         "row|changed||1|1|L1|C20|2*3[墙]=6.00|2*3[外墙]=6.00\n"
         "total|C20|m3|6.00|6.00|0.00\n"},
        {"categories in a different order",
         {"1|wall", "|L1|C20|1=1.00|m3", "|L2|C30|2=2.00|m2"},
         {"1|wall", "|L2|C30|2=2.00|m2", "|L1|C20|1=1.00|m3"},
         "item|wall|C30|2.00|2.00|0.00\n"
         "item|wall|C20|1.00|1.00|0.00\n"
         "row|removed|wall|2|-|L1|C20|1=1.00|\n"
         "row|added|wall|-|3|L1|C20||1=1.00\n"
         "total|C30|m2|2.00|2.00|0.00\n"
         "total|C20|m3|1.00|1.00|0.00\n"},
        {"a name used twice matches in order; units come from B",
         {"1|wall", "|L1|C20|1=1.00|m3", "2|wall", "|L1|C20|2=2.00|m3"},
         {"1|wall", "|L1|C20|1=1.00|M3", "2|wall", "|L1|C20|3=3.00|M3"},
         "item|wall|C20|1.00|1.00|0.00\n"
         "item|wall|C20|2.00|3.00|+1.00\n"
         "row|changed|wall|4|4|L1|C20|2=2.00|3=3.00\n"
         "total|C20|M3|3.00|4.00|+1.00\n"},
    };
    for (const SCase& c : cases) {
        const SheetGrid a = Sheet(c.m_A);
        const SheetGrid b = Sheet(c.m_B);
        EXPECT_EQ(Report(sheetcompare::CompareSheets(a, b, 2)), c.m_strExpected) << c.m_pszName;
    }
}

TEST(SheetCompare, DecimalsOfTheSheetAndShownDifferences)
{
    // Quantities are rounded as the summary totals are; the difference is
    // the one between the shown figures.
    const SheetGrid a = Sheet({"|L1|C20|x=1.004|m3", "|L2|C20|x=1.004|m3"});
    const SheetGrid b = Sheet({"|L1|C20|x=2.0049|m3", "|L2|C20|x=0.0001|m3"});
    EXPECT_EQ(Report(sheetcompare::CompareSheets(a, b, 2)), "item||C20|2.01|2.01|0.00\ntotal|C20|m3|2.01|2.01|0.00\n");
    EXPECT_EQ(Report(sheetcompare::CompareSheets(a, b, 0)), "item||C20|2|2|0\ntotal|C20|m3|2|2|0\n");
    const SheetGrid c = Sheet({"|L1|C20|x=-0.5|m3"});
    const auto q = sheetcompare::CompareSheets(a, c, 3).m_Totals.at(0).m_Qty;
    EXPECT_EQ(q.m_strA + " " + q.m_strB + " " + q.m_strDiff, "2.008 -0.500 -2.508");
    EXPECT_EQ(q.m_nSign, -1);
    EXPECT_DOUBLE_EQ(q.m_dDiff, -2.508);
}
