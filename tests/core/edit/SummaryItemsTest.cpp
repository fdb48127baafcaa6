#include <gtest/gtest.h>

#include "core/engine/ExprEngine.h"

#include <cstdio>
#include <cstdlib>
#include <random>

#include "EditSession.h"
#include "core/sheet/EditTexts.h"

namespace {

// The total text exactly as the grouping was first described: pairs moved
// one by one next to their first occurrence, sums of consecutive equal keys,
// the value after the first "=" read with atof, printed as result texts
// print their values.
std::string LiteralTotalText(const SheetGrid& grid, int a, int b, int d)
{
    if (b < a)
        return std::string();
    if (b - a + 1 > 9000)
        b = a + 8999;
    auto strip = [](std::string s) {
        s.erase(std::remove(s.begin(), s.end(), '\n'), s.end());
        return s;
    };
    std::vector<std::pair<std::string, std::string>> pairs;
    for (int r = a; r <= b; ++r)
        pairs.emplace_back(strip(grid.TextMatrix(r, COL_SIZE)), grid.TextMatrix(r, COL_FORMULA));
    for (std::size_t i = 0; i < pairs.size();) {
        std::size_t j = i + 1;
        while (j < pairs.size() && pairs[j].first != pairs[i].first)
            ++j;
        if (j == pairs.size()) {
            ++i;
        } else if (j == i + 1) {
            i = j;
        } else {
            auto moved = pairs[j];
            pairs.erase(pairs.begin() + static_cast<std::ptrdiff_t>(j));
            pairs.insert(pairs.begin() + static_cast<std::ptrdiff_t>(i) + 1, moved);
            ++i;
        }
    }
    auto value = [&](const std::string& text) {
        if (text.empty())
            return 0.0;
        const std::size_t eq = text.find('=');
        return std::atof(strip(eq == std::string::npos ? text : text.substr(eq + 1)).c_str());
    };
    auto line = [&](const std::string& key, double v, const char* end) {
        double x = v;
        for (int k = 0; k < d + 1; ++k)
            x *= 10;
        x = std::floor(x + 0.50000001);
        for (int k = 0; k < d + 1; ++k)
            x *= 0.1;
        std::string text = key + "=";
        CExprEngine::AppendFixed(text, x, d);
        return text + end;
    };
    std::string out;
    if (a == b) {
        out = line(pairs[0].first, value(pairs[0].second), ";");
    } else {
        double sum = 0;
        for (std::size_t k = 0; k < pairs.size(); ++k) {
            sum += value(pairs[k].second);
            const bool bLast = k + 1 == pairs.size();
            if (bLast || pairs[k + 1].first != pairs[k].first) {
                if (sum != 0)
                    out += line(pairs[k].first, sum, bLast ? ";" : ";\n");
                sum = 0;
            }
        }
    }
    if (!out.empty()) {
        if (out[0] == '\n')
            out.erase(0, 1);
        out.pop_back();
    }
    return out;
}

void SetRow(SEditSession& host, int r, const std::string& size, const std::string& formula, const std::string& unit = "")
{
    host.m_Grid.SetTextMatrix(r, COL_SIZE, size);
    host.m_Grid.SetTextMatrix(r, COL_FORMULA, formula);
    host.m_Grid.SetTextMatrix(r, COL_UNIT, unit);
}

void PressF2(SEditSession& host, int row)
{
    host.MoveCurrentCell(row, COL_POSITION);
    host.Run(cmdid::TOGGLE_SUMMARY);
}

}  // namespace

TEST(TotalText, MatchesTheLiteralGroupingOnRandomItems)
{
    const char* const sizes[] = {"C20", "C30", "C\n20", "", "\xBA\xF1"
                                                            "240",
                                 "C25", "x"};
    const char* const formulas[] = {"1+0.5=1.50", "=2", "3", "-1.5", "1.5", "", "abc", "2.5x", "0.125",
                                    "0.005", "1e2", " 7", "-0.0049"};
    std::mt19937 rng(7);
    for (int round = 0; round < 300; ++round) {
        const int rows = 1 + static_cast<int>(rng() % 40);
        SEditSession host(rows + 2);
        for (int r = 1; r <= rows; ++r)
            SetRow(host, r, sizes[rng() % 7], formulas[rng() % 13]);
        const int d = static_cast<int>(rng() % 7);
        host.m_State.SetDecimals(d);
        const int a = 1 + static_cast<int>(rng() % rows);
        const int b = a + static_cast<int>(rng() % (rows - a + 1));
        ASSERT_EQ(host.m_Summary.TotalText(a, b), LiteralTotalText(host.m_Grid, a, b, d))
            << "round " << round << " rows " << a << ".." << b;
    }
}

TEST(TotalText, AnnotationWithEqualsSignDoesNotChangeTheValue)
{
    SEditSession host;
    SetRow(host, 1, "C20", "2[h=3]*1=2.00");
    SetRow(host, 2, "C20", "1=1.00");
    EXPECT_EQ(host.m_Summary.TotalText(1, 2), "C20=3.00");
}

TEST(TotalText, MoreThan9000RowsWarnsOnceAndAddsTheFirst9000)
{
    SEditSession host(9010);
    for (int r = 1; r <= 9001; ++r)
        SetRow(host, r, "C20", "1=1.00");
    EXPECT_EQ(host.m_Summary.TotalText(1, 9001), "C20=9000.00");
    ASSERT_EQ(host.m_Prompt.m_Messages.size(), 1u);
    EXPECT_EQ(host.m_Prompt.m_Messages[0], edittext::TOTAL_TOO_MANY_ROWS);
}

TEST(RefreshItemOf, UnitsFollowTheCategoryAcrossTheSheet)
{
    SEditSession host;
    PressF2(host, 1);
    SetRow(host, 2, "C20", "1=1.00", "m3");
    SetRow(host, 3, "C\n20", "2=2.00", "m2");
    SetRow(host, 4, "C30", "2=2.00", "t");
    host.m_Summary.RefreshItemOf(2, COL_UNIT);
    EXPECT_EQ(host.m_Grid.TextMatrix(3, COL_UNIT), "m3");
    EXPECT_EQ(host.m_Grid.TextMatrix(4, COL_UNIT), "t");

    // A row of a known category takes the unit its rows have.
    SetRow(host, 5, "C30", "1=1.00", "");
    host.m_Summary.RefreshItemOf(5, COL_SIZE);
    EXPECT_EQ(host.m_Grid.TextMatrix(5, COL_UNIT), "t");
    EXPECT_EQ(host.m_Grid.TextMatrix(1, COL_FORMULA), "C20=3.00;\nC30=3.00;");
    EXPECT_EQ(host.m_Grid.TextMatrix(1, COL_UNIT), "m3;\nt");
}

TEST(UnitList, ReadsTheTotalTextLineByLine)
{
    SEditSession host;
    host.m_Grid.SetTextMatrix(1, COL_FORMULA, "C20=1.75;\nC30=2.00;\n=1.00;\nC40=1.00");
    SetRow(host, 2, "C30", "", "m2");
    SetRow(host, 3, "C20", "", "m3");
    SetRow(host, 4, "C30", "", "other");
    EXPECT_EQ(host.m_Summary.UnitList(2, 4), "m3;\nm2;\n;\n;\n");
    EXPECT_EQ(host.m_Summary.UnitList(2, 1), "");
}

TEST(RecomputeStretch, RewritesTheItemsAroundTheRows)
{
    SEditSession host(12);
    for (int r : {1, 4, 7, 10})
        host.m_Grid.SetTextMatrix(r, COL_SEQ, std::to_string(r));
    for (int r : {2, 5, 8, 11})
        SetRow(host, r, "C", "1=1.00");
    host.m_Summary.RecomputeStretch(5, 5);
    // Items 4 and 7 are rewritten; the stretch ends at the second heading
    // below row 5, so item 10 and item 1 stay as they were.
    EXPECT_EQ(host.m_Grid.TextMatrix(1, COL_FORMULA), "");
    EXPECT_EQ(host.m_Grid.TextMatrix(4, COL_FORMULA), "C=1.00;");
    EXPECT_EQ(host.m_Grid.TextMatrix(7, COL_FORMULA), "C=1.00;");
    EXPECT_EQ(host.m_Grid.TextMatrix(10, COL_FORMULA), "");
    host.m_Summary.RecomputeStretch(9, 11);
    EXPECT_EQ(host.m_Grid.TextMatrix(10, COL_FORMULA), "C=1.00");
}

TEST(ItemList, SelectsTheCurrentItemAndGoesToAChoice)
{
    SEditSession host;
    PressF2(host, 3);
    PressF2(host, 8);
    host.m_Grid.SetTextMatrix(8, COL_POSITION, "\xC7\xBD\n2");  // 墙, line feed, 2
    host.MoveCurrentCell(12, COL_FORMULA);
    host.m_Summary.RefreshItemList();
    EXPECT_EQ(host.m_Summary.ItemEntries(), (std::vector<std::string>{"1 ", "2 \xC7\xBD"
                                                                            "2"}));
    EXPECT_EQ(host.m_Summary.SelectedItem(), 1);
    host.MoveCurrentCell(1, COL_FORMULA);
    host.m_Summary.RefreshItemList();
    EXPECT_EQ(host.m_Summary.SelectedItem(), -1);

    ASSERT_TRUE(host.m_Session.ChooseItem(1));
    EXPECT_EQ(host.m_Grid.Row(), 8);
    EXPECT_EQ(host.m_Grid.Col(), COL_POSITION);
    // Passed through the editor: re-formatted and recorded.
    EXPECT_EQ(host.m_Grid.TextMatrix(8, COL_POSITION), "\xC7\xBD"
                                                       "2");
    EXPECT_EQ(host.m_History.KindAt(host.m_History.Top()), UNDO_CELL_EDIT);
    EXPECT_FALSE(host.m_Session.ChooseItem(2));
}
