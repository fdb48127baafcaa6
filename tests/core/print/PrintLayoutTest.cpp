// The printed page at the reference device (4676 x 6744 at 600 dpi): the
// header's positions, the division into pages, the table lines each show
// style makes of a row, and what each column prints.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/print/PrintLayout.h"
#include "core/print/PrintSelection.h"
#include "core/print/PrintTexts.h"
#include "core/settings/SettingsNames.h"
#include "tests/core/print/PrintTestKit.h"

namespace {

const std::string SUMMARY = printtext::SUMMARY_CATEGORY;

SPrintSettings Settings()
{
    SPrintSettings s;
    s.m_strCompany = "COMPANY";
    s.m_strBook = "BOOK";
    s.m_strClientLabel = "CL";
    s.m_strClient = "client";
    s.m_strProjectLabel = "PL";
    s.m_strProject = "project";
    s.m_strCalcLabel = "calc";
    s.m_strCalculator = "Wang";
    s.m_strCheckLabel = "check";
    s.m_strHeader[0] = "seq";
    s.m_strSeatSign[0] = "17";
    s.m_strSeatSign[1] = "24";
    s.m_strSeatSign[2] = "31";
    s.m_strSeatSign[3] = "54";
    s.m_nYear = 2024;
    s.m_nMonth = 5;
    s.m_nDay = 6;
    s.m_strTitle = "house";
    s.m_strAddress = "   ";
    return s;
}

std::string PageLabel(int p, int n)
{
    return std::string(printtext::PAGE_PREFIX) + std::to_string(p) + printtext::PAGE_MIDDLE + std::to_string(n) + printtext::PAGE_SUFFIX;
}

const SPrintText* FindText(const SPrintPage& page, const std::string& text)
{
    for (const SPrintText& t : page.m_Texts)
        if (t.m_strText == text)
            return &t;
    return nullptr;
}

// The texts of the table bands in column c (0..4 by left edge), top to bottom.
std::vector<std::string> Column(const SPrintPage& page, const SPrintGeometry& g, int c)
{
    std::vector<std::pair<int, std::string>> cells;
    const int titleBottom = g.m_nTop + g.m_nTitleExtra + g.m_nPitch;
    for (const SPrintText& t : page.m_Texts) {
        if (t.m_eFont != PRINTFONT_BODY || t.m_rc.m_nTop < titleBottom)
            continue;
        const int col = static_cast<int>(std::upper_bound(g.m_nColX, g.m_nColX + 6, t.m_rc.m_nLeft) - g.m_nColX) - 1;
        if (col == c)
            cells.emplace_back(t.m_rc.m_nTop, t.m_strText);
    }
    std::vector<std::string> out;
    for (const auto& cell : cells)
        out.push_back(cell.second);
    return out;
}

std::vector<SPrintLine> Lines(const SheetGrid& sheet, const char* style)
{
    return BuildPrintTable(sheet, CPrintSelection(), style).m_Lines;
}

}  // namespace

TEST(PrintLayout, ReferenceDeviceHeaderAndRules)
{
    const SPrintFontHeights h = ReferenceHeights();
    const SPrintTable table = BuildPrintTable(MakeSheet({Calc("a", "X", "1=1.00")}), CPrintSelection(), "AUTOSHOW");
    const SPrintSettings s = Settings();
    const CPrintLayout layout(table, s, SPrintDevice(), h);
    const SPrintGeometry& g = layout.Geometry();
    EXPECT_EQ(g.m_nLines, 25);
    EXPECT_EQ(g.m_nTop, h.m_nSmall + 900);
    const SPrintPage page = layout.Page(1);

    EXPECT_EQ(FindText(page, "COMPANY")->m_rc.m_nTop, 250);
    EXPECT_EQ(FindText(page, "BOOK")->m_rc.m_nTop, 450);
    EXPECT_EQ(FindText(page, "BOOK")->m_eAlign, PRINTALIGN_CENTER);
    EXPECT_EQ(FindText(page, "CL" + std::string(printtext::COLON) + "client")->m_rc.m_nTop, 700);
    const SPrintText* pProject = FindText(page, "PL" + std::string(printtext::COLON) + "project");
    EXPECT_EQ(pProject->m_rc.m_nTop, 850);
    EXPECT_EQ(pProject->m_rc.m_nLeft, 400);
    const SPrintText* pPage = FindText(page, PageLabel(1, 1));
    ASSERT_TRUE(pPage);
    EXPECT_EQ(pPage->m_eAlign, PRINTALIGN_RIGHT);
    EXPECT_EQ(pPage->m_rc.m_nBottom, h.m_nSmall + 900);

    // Footer: names (an empty checker is four spaces), date and file, address.
    const std::string names = "calc" + std::string(printtext::COLON) + "Wang, check" + printtext::COLON + "    ";
    ASSERT_TRUE(FindText(page, names));
    EXPECT_EQ(FindText(page, names)->m_rc.m_nBottom, 6744 - 250);
    ASSERT_TRUE(FindText(page, "2024.5.6  " + std::string(printtext::FILE_LABEL) + "house.qtx"));

    // The top rule, N + 1 band rules below the title band, six columns
    // reaching down to the lowest band rule.
    ASSERT_EQ(page.m_Rules.size(), 1u + 26u + 6u);
    EXPECT_EQ(page.m_Rules[0].m_nY1, g.m_nTop);
    const SPrintRule& lowest = page.m_Rules[26];
    for (std::size_t i = 27; i < page.m_Rules.size(); ++i) {
        EXPECT_EQ(page.m_Rules[i].m_nY1, g.m_nTop);
        EXPECT_NEAR(page.m_Rules[i].m_nY2, lowest.m_nY1, 1);
    }
    EXPECT_EQ(page.m_Rules[27].m_nX1, 250);
    EXPECT_EQ(page.m_Rules[32].m_nX1, 4676 - 100);
}

TEST(PrintLayout, SixtyRowsOnTwentyFiveLinePages)
{
    std::vector<SRowTexts> rows;
    for (int i = 1; i <= 60; ++i)
        rows.push_back(Calc("r" + std::to_string(i), "X", "1=1.00"));
    const SPrintTable table = BuildPrintTable(MakeSheet(rows, 100), CPrintSelection(), "AUTOSHOW");
    EXPECT_EQ(table.m_nCount, 60);
    const SPrintSettings s = Settings();
    const CPrintLayout layout(table, s, SPrintDevice(), ReferenceHeights());
    ASSERT_EQ(layout.PageCount(), 3);
    for (int p = 1; p <= 3; ++p)
        EXPECT_TRUE(FindText(layout.Page(p), PageLabel(p, 3))) << p;
    const SPrintPage last = layout.Page(3);
    const std::vector<std::string> locations = Column(last, layout.Geometry(), 1);
    ASSERT_EQ(locations.size(), 25u);  // every band is drawn
    EXPECT_EQ(locations[0], "r51");
    EXPECT_EQ(locations[9], "r60");
    EXPECT_EQ(std::count(locations.begin(), locations.end(), std::string()), 15);
    EXPECT_EQ(last.m_Rules.size(), 33u);  // the empty bands are ruled too
}

TEST(PrintLayout, ShowStylesJoinLocationAndCategory)
{
    const SheetGrid sheet = MakeSheet({Calc("p1\np2\np3", "s1\ns2", "1+\n2=3.00", "m")});
    const struct {
        const char* m_szStyle;
        std::vector<std::string> m_Position, m_Size, m_Formula;
    } CASES[] = {
        {"AUTOSHOW", {"p1p2p3", ""}, {"s1", "s2"}, {"1+", "2=3.00m"}},
        {"AUTOSHOWSIGN", {"p1p2p3", ""}, {"s1s2", ""}, {"1+", "2=3.00m"}},
        {"AUTOENTER", {"p1", "p2", "p3"}, {"s1", "s2", ""}, {"1+", "2=3.00m", ""}},
        {"OTHER", {}, {}, {}},
    };
    for (const auto& c : CASES) {
        const std::vector<SPrintLine> lines = Lines(sheet, c.m_szStyle);
        ASSERT_EQ(lines.size(), c.m_Formula.size()) << c.m_szStyle;
        for (std::size_t j = 0; j < lines.size(); ++j) {
            EXPECT_EQ(lines[j].m_t[1], c.m_Position[j]) << c.m_szStyle << j;
            EXPECT_EQ(lines[j].m_t[2], c.m_Size[j]) << c.m_szStyle << j;
            EXPECT_EQ(lines[j].m_t[3], c.m_Formula[j]) << c.m_szStyle << j;
        }
    }
}

TEST(PrintLayout, ColumnsPrintAsTheSheetHoldsThem)
{
    const SheetGrid sheet = MakeSheet({
        {{"1", "walls", SUMMARY, "36.00\n12.00\n4.00", "m3\nm2\nt", "W"}},
        Calc("%s and %d", "X", "12*3=36.00", "m3"),
        Calc("a very long location text that cannot fit", "X", "2=2.00"),
    });
    const SPrintTable table = BuildPrintTable(sheet, CPrintSelection(), "AUTOSHOW");
    const SPrintSettings s = Settings();
    const CPrintLayout layout(table, s, SPrintDevice(), ReferenceHeights());
    const SPrintPage page = layout.Page(1);
    const SPrintGeometry& g = layout.Geometry();

    // The summary row: its number once (a number is drawn where it changes),
    // 计算汇总 on each of its lines, each total followed by its unit.
    EXPECT_EQ(Column(page, g, 0), (std::vector<std::string>{"1", ""}));
    EXPECT_EQ(Column(page, g, 2), (std::vector<std::string>{SUMMARY, SUMMARY, SUMMARY, "X", "X"}));
    EXPECT_EQ(Column(page, g, 3),
              (std::vector<std::string>{"36.00m3", "12.00m2", "4.00t", "12*3=36.00m3", "2=2.00"}));
    EXPECT_EQ(Column(page, g, 4), (std::vector<std::string>{"W", "", "", "", ""}));
    const SPrintText* pName = FindText(page, "walls");
    EXPECT_EQ(pName->m_eAlign, PRINTALIGN_LEFT);  // summary lines are left-aligned and indented
    EXPECT_EQ(pName->m_rc.m_nLeft, g.m_nColX[1] + 4 + 20);
    // Percent signs print as they are; long texts end in an ellipsis.
    const SPrintText* pPercent = FindText(page, "%s and %d");
    ASSERT_TRUE(pPercent);
    EXPECT_EQ(pPercent->m_eAlign, PRINTALIGN_RIGHT);
    EXPECT_EQ(pPercent->m_rc.m_nRight, g.m_nColX[2] - 20);
    EXPECT_TRUE(pPercent->m_bEllipsis);

    // A column whose alignment setting is not 1, 4 or 7 is not drawn.
    SPrintSettings hidden = Settings();
    hidden.m_strSeatSign[2] = "35";
    const CPrintLayout layout2(table, hidden, SPrintDevice(), ReferenceHeights());
    EXPECT_TRUE(Column(layout2.Page(1), g, 3).empty());
}

TEST(PrintLayout, EverySelectedRowPrints)
{
    // Two lines per row on a full sheet: far more printed lines than rows.
    SheetGrid sheet;
    sheet.SetRows(65500);
    for (int r = 1; r < 65500; ++r)
        sheet.SetTextMatrix(r, COL_FORMULA, "1+\n1=2.00");
    const SPrintTable table = BuildPrintTable(sheet, CPrintSelection(), "AUTOSHOW");
    EXPECT_EQ(table.m_nCount, 2 * 65499);
    const SPrintSettings s = Settings();
    const CPrintLayout layout(table, s, SPrintDevice(), ReferenceHeights());
    EXPECT_EQ(layout.PageCount(), (2 * 65499 + 24) / 25);
    EXPECT_EQ(Column(layout.Page(layout.PageCount()), layout.Geometry(), 3)[2], "1=2.00");
}

TEST(PrintLayout, DevicesScaleFontsAndGeometry)
{
    SPrintDevice dev;
    dev.m_nDpiX = dev.m_nDpiY = 300;
    dev.m_nWidth = 2338;
    dev.m_nHeight = 3372;
    const SPrintFontSpec body = PrintFontSpec(PRINTFONT_BODY, dev);
    EXPECT_EQ(body.m_nHeight, 46);
    EXPECT_EQ(body.m_nWidth, 22);
    EXPECT_TRUE(PrintFontSpec(PRINTFONT_TITLE, dev).m_bBold);
    EXPECT_EQ(PrintFontSpec(PRINTFONT_SMALL, SPrintDevice()).m_nHeight, 70);

    SPrintFontHeights h{52, 40, 68};
    const int widths[4] = {12, 14, 48, 8};
    const SPrintGeometry g = PrintGeometry(dev, h, widths);
    EXPECT_EQ(g.m_nGap, 50);
    EXPECT_EQ(g.m_nTop, 40 + 450);
    // A device too small for two line pitches still gets one line.
    h.m_nBody = 2000;
    EXPECT_EQ(PrintGeometry(dev, h, widths).m_nLines, 1);
}
