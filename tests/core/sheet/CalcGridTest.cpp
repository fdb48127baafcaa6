// Scenarios of the calculation grid: a new sheet, growth, commits of
// expressions, names and references, wrapping, and the decimals commands.
#include <gtest/gtest.h>

#include "SheetTestKit.h"
#include "core/engine/CalcTexts.h"
#include "core/settings/SheetSettings.h"
#include "core/sheet/CellText.h"

namespace {

const char SYNTAX[] = "[\xB1\xED\xB4\xEF\xCA\xBD\xD6\xD0\xD3\xD0\xB4\xED\xCE\xF3\xB5\xC4\xB7\xFB\xBA\xC5\xBB\xF2\xCA\xFD\xD6\xB5]";  // [表达式中有错误的符号或数值]
const std::uint32_t ERROR_COLOUR = 65535;

TEST(CalcGridSheet, NewSheetHasHeadersAndEmptyRows)
{
    SSheetFixture f;
    const SheetGrid& grid = f.m_Calc.Grid();
    EXPECT_EQ(grid.Rows(), 36);
    const SSheetInitSettings settings = ReadSheetInitSettings(f.m_Key);  // their texts are tested there
    for (int col = 0; col < 6; ++col)
        EXPECT_EQ(grid.TextMatrix(0, col), settings.m_strHeader[col]) << col;
    for (int row = 1; row < grid.Rows(); ++row)
        for (int col = 0; col < 6; ++col)
            ASSERT_TRUE(grid.TextMatrix(row, col).empty());
    EXPECT_EQ(grid.Row(), 1);
    EXPECT_EQ(grid.Col(), 1);
    EXPECT_EQ(grid.RowHeight(5), 213);
    EXPECT_TRUE(f.m_State.RefTable().empty());
}

TEST(CalcGridSheet, ResetClearsTextsColoursAndTallRows)
{
    SSheetFixture f;
    f.Edit(3, 3, "5++3");
    f.Edit(4, 1, "\xD2\xBB\xB2\xE3;\xB6\xFE\xB2\xE3");  // 一层;二层
    f.m_Calc.Grid().SetRows(80);
    f.m_Calc.ResetSheet();
    const SheetGrid& grid = f.m_Calc.Grid();
    EXPECT_EQ(grid.Rows(), 36);
    EXPECT_TRUE(grid.TextMatrix(3, 3).empty());
    EXPECT_EQ(grid.BackColorAt(3, 3), 0u);
    EXPECT_EQ(grid.RowHeight(4), 213);
}

TEST(CalcGridSheet, ResetForgetsTheNamesOfEarlierSheets)
{
    SSheetFixture f;
    const std::size_t empty = f.m_Calc.MemoryBytes();
    for (int sheet = 0; sheet < 5; ++sheet) {
        // A sheet of named rows, as a file read into the grid brings it.
        SheetGrid& grid = f.m_Calc.Grid();
        grid.SetRows(2001);
        for (int row = 1; row <= 2000; ++row) {
            const std::string name = "n" + std::to_string(sheet) + "x" + std::to_string(row);
            grid.SetTextMatrix(row, COL_REF, name);
            grid.SetTextMatrix(row, COL_FORMULA, name + "+1=1");
        }
        f.m_Calc.RebuildRefTable();
        f.m_Calc.ResetSheet();
        EXPECT_EQ(f.m_Calc.MemoryBytes(), empty) << sheet;
    }
}

TEST(CalcGridSheet, FullSheetIsEditedButRefusesToGrowWithTheWarningCaption)
{
    SSheetFixture f;
    f.m_Calc.Grid().SetRows(65500);
    f.m_Calc.Grid().SetRow(65499);
    EXPECT_TRUE(f.m_Calc.GrowIfNearEnd());
    EXPECT_EQ(f.m_Calc.Grid().Rows(), 65500);
    EXPECT_TRUE(f.m_Prompt.m_Messages.empty());
    EXPECT_FALSE(f.m_Calc.InsertRows().m_bDone);
    EXPECT_EQ(f.m_Calc.Grid().Rows(), 65500);
    ASSERT_EQ(f.m_Prompt.m_Messages.size(), 1u);
    EXPECT_EQ(f.m_Prompt.m_Messages[0], "\xB3\xAC\xB3\xF6\xB1\xED\xB8\xF1\xB7\xB6\xCE\xA7!");  // 超出表格范围!
    EXPECT_EQ(f.m_Prompt.m_Captions[0], calctext::TEXT_WARNING);
}

TEST(CalcGridRows, RemovedRowsKeepReferencesRight)
{
    SSheetFixture f;
    SheetGrid& grid = f.m_Calc.Grid();
    f.Edit(1, 3, "2");
    f.Edit(1, 5, "a");
    grid.SetTextMatrix(3, COL_SEQ, "1");  // a summary row among them
    f.Edit(6, 5, "b");
    f.Edit(6, 3, "a*3");
    EXPECT_EQ(f.Text(6, 3), "a*3=6.00");
    grid.RemoveRowsAt(2, 3);
    f.m_Calc.RebuildRefTable();
    EXPECT_EQ(grid.Rows(), 33);
    EXPECT_EQ(f.Text(3, 3), "a*3=6.00");
    ASSERT_EQ(f.m_State.RefTable().size(), 2u);
    EXPECT_EQ(f.m_State.RefTable()[1].m_strRow, "3");
    // The moved row still follows the row it uses.
    f.Edit(1, 3, "4");
    EXPECT_EQ(f.Text(3, 3), "a*3=12.00");
}

TEST(CalcGridCommit, ExpressionGetsItsResult)
{
    SSheetFixture f;
    struct SCase {
        const char* m_szTyped;
        const char* m_szStored;
        bool m_bError;
    } cases[] = {
        {"(12+45)[\xC7\xBD\xB3\xA4\xB6\xC8]*2.8[\xD6\xD0\xC0\xA8\xBA\xC5\xCD\xE2\xCC\xEE\xD0\xB4\xBC\xC6\xCB\xE3\xCA\xBD]+(10)*(3.6+0.2)",
         "(12+45)[\xC7\xBD\xB3\xA4\xB6\xC8]*2.8[\xD6\xD0\xC0\xA8\xBA\xC5\xCD\xE2\xCC\xEE\xD0\xB4\xBC\xC6\xCB\xE3\xCA\xBD]+(10)*(3.6+0.2)=197.60",
         false},  // (12+45)[墙长度]*2.8[中括号外填写计算式]+(10)*(3.6+0.2)
        {"1/3", "1/3=0.33", false},
        {"SIN(30) + 1", "sin(30)+1=1.50", false},
        {"5++3", "[\xC1\xAC\xD0\xF8\xC1\xBD\xB8\xF6\xD4\xCB\xCB\xE3\xB7\xFB\xB4\xED\xCE\xF3]5++3=0.00", true},  // [连续两个运算符错误]
        {"2*3=99", "2*3=6.00", false},
        {"", "", false},
    };
    for (const SCase& c : cases) {
        f.Edit(4, 3, c.m_szTyped);
        EXPECT_EQ(celltext::WithoutLineBreaks(f.Text(4, 3)), c.m_szStored);  // long texts are wrapped
        EXPECT_EQ(f.m_Calc.Grid().BackColorAt(4, 3), c.m_bError ? ERROR_COLOUR : 0u) << c.m_szTyped;
    }
    EXPECT_TRUE(f.m_Prompt.m_Messages.empty());
    EXPECT_TRUE(f.m_State.CalcOk());
}

TEST(CalcGridCommit, DivisionByZeroShowsTheMessageAndColours)
{
    SSheetFixture f;
    f.Edit(2, 3, "1/0");
    EXPECT_EQ(f.Text(2, 3), "1/0=1.00");
    EXPECT_EQ(f.m_Calc.Grid().BackColorAt(2, 3), ERROR_COLOUR);
    ASSERT_EQ(f.m_Prompt.m_Messages.size(), 1u);
    EXPECT_EQ(f.m_Prompt.m_Messages[0], calctext::TEXT_DIV_ZERO);
}

TEST(CalcGridCommit, ColourTellsAboutTheCommittedRowOnly)
{
    SSheetFixture f;
    f.Edit(1, 5, "a");
    f.Edit(1, 3, "2");
    f.Edit(2, 3, "a+1");
    f.Edit(3, 3, "5++a");
    f.Edit(1, 3, "1/0");  // its users calculate without error afterwards
    EXPECT_EQ(f.m_Calc.Grid().BackColorAt(1, 3), ERROR_COLOUR);
    EXPECT_EQ(f.Text(2, 3), "a+1=2.00");
    f.Edit(1, 3, "2");  // and a user in error does not colour it
    EXPECT_EQ(f.m_Calc.Grid().BackColorAt(1, 3), 0u);
}

TEST(CalcGridCommit, SummaryRowTakesOnlyItsName)
{
    SSheetFixture f;
    SheetGrid& grid = f.m_Calc.Grid();
    grid.SetTextMatrix(5, COL_SEQ, "1");
    grid.SetBackColorAt(5, 1, 16711935);
    f.Edit(5, 3, "1+1");
    EXPECT_TRUE(f.Text(5, 3).empty());
    EXPECT_FALSE(f.m_Last.m_bTaken);
    f.Edit(5, 1, "wall");
    EXPECT_EQ(f.Text(5, 1), "wall");
    EXPECT_EQ(grid.BackColorAt(5, 1), 16711935u);
}

TEST(CalcGridCommit, ReportsTheOldTextOfAChange)
{
    SSheetFixture f;
    f.Edit(2, 4, "m2");
    EXPECT_TRUE(f.m_Last.m_bTaken && f.m_Last.m_bChanged);
    EXPECT_EQ(f.m_Last.m_strOldText, "");
    f.Edit(2, 4, " m 3 ");
    EXPECT_TRUE(f.m_Last.m_bChanged);
    EXPECT_EQ(f.m_Last.m_strOldText, "m2");
    f.Edit(2, 4, "m3");
    EXPECT_FALSE(f.m_Last.m_bChanged);
    f.Edit(0, 4, "x");  // the header is not a data row
    EXPECT_FALSE(f.m_Last.m_bTaken);
}

TEST(CalcGridReferences, NameMustStandAlone)
{
    SSheetFixture f;
    f.Edit(1, 5, "a1");
    f.Edit(1, 3, "6");
    for (const char* text : {"ba1+2", "a12+2"}) {
        f.Edit(2, 3, text);
        EXPECT_EQ(f.Text(2, 3), std::string(SYNTAX) + text + "=0.00");
    }
    f.Edit(2, 3, "(a1)+a1*a1");
    EXPECT_EQ(f.Text(2, 3), "(a1)+a1*a1=42.00");
}

TEST(CalcGridReferences, NamingRules)
{
    SSheetFixture f;
    struct SCase {
        int m_nRow;
        const char* m_szTyped;
        const char* m_szStored;
    } cases[] = {
        {1, "1Ab-c", "abc"},
        {2, "abc", ""},               // another row has it
        {3, "\xB3\xA4\xB6\xC8", ""},  // 长度
        {4, "abcdef", "abcde\nf"},
        {5, "abc123", "abc\n123"},
        {6, "Abcdefgh", ""},      // its first six are taken by row 4
        {7, "\xB3\xA4x9", "x9"},  // 长x9
    };
    for (const SCase& c : cases) {
        f.Edit(c.m_nRow, 5, c.m_szTyped);
        EXPECT_EQ(f.Text(c.m_nRow, 5), c.m_szStored) << c.m_szTyped;
    }
    f.Edit(1, 5, "abc");  // its own name again
    EXPECT_EQ(f.Text(1, 5), "abc");
    f.Edit(8, 3, "abcdef+abc123+1");
    EXPECT_EQ(f.Text(8, 3).substr(0, 6), std::string(SYNTAX).substr(0, 6));  // names hold no value yet
    f.Edit(4, 3, "2");
    f.Edit(5, 3, "3");
    f.Edit(8, 3, "abcdef+abc123+1");
    EXPECT_EQ(f.Text(8, 3), "abcdef+abc123+1=6.00");
}

TEST(CalcGridReferences, RenameAndUnname)
{
    SSheetFixture f;
    f.Edit(1, 3, "5");
    f.Edit(1, 5, "p");
    f.Edit(2, 3, "q*2");
    EXPECT_EQ(f.Text(2, 3).rfind(SYNTAX, 0), 0u);
    f.Edit(1, 5, "q");  // the new name reaches its users at once
    EXPECT_EQ(f.Text(2, 3), std::string(SYNTAX) + "q*2=10.00");
    f.Edit(2, 3, "q*2");
    EXPECT_EQ(f.Text(2, 3), "q*2=10.00");
    f.Edit(1, 5, "");
    EXPECT_TRUE(f.m_State.RefTable().empty());
    f.Edit(2, 3, "q*2");
    EXPECT_EQ(f.Text(2, 3).rfind(SYNTAX, 0), 0u);
}

TEST(CalcGridReferences, ValueIsReadBehindTheResultSeparator)
{
    SSheetFixture f;
    f.Edit(1, 5, "v");
    f.Edit(1, 3, "3[a=b]");
    EXPECT_EQ(f.Text(1, 3), "3[a=b]=3.00");
    f.Edit(2, 3, "v*2");
    EXPECT_EQ(f.Text(2, 3), "v*2=6.00");
    f.Edit(1, 3, "4[a=b]");
    EXPECT_EQ(f.Text(2, 3), "v*2=8.00");
    // A user with an "=" in an annotation keeps it when its value is rewritten.
    f.Edit(3, 3, "v[k=1]+1");
    f.Edit(1, 3, "5[a=b]");
    EXPECT_EQ(f.Text(3, 3), "v[k=1]+1=6.00");
}

TEST(CalcGridReferences, CycleClosedByANameEnds)
{
    SSheetFixture f;
    f.Edit(1, 5, "a");
    f.Edit(1, 3, "b+1");  // b does not exist yet
    f.Edit(2, 3, "a+1");
    f.Edit(3, 5, "c");
    f.Edit(3, 3, "1");
    f.Edit(1, 3, "b+c");
    // Naming row 2 closes a cycle that no check sees: its old name was empty.
    f.Edit(2, 5, "b");
    EXPECT_EQ(f.Text(2, 5), "b");
    // Every change of c now runs around a -> b -> a once and stops.
    f.Edit(3, 3, "2");
    EXPECT_FALSE(f.Text(1, 3).empty());
    EXPECT_FALSE(f.Text(2, 3).empty());
}

TEST(CalcGridReferences, LongChainCommitsWithoutDeepRecursion)
{
    SSheetFixture f;
    SheetGrid& grid = f.m_Calc.Grid();
    const int count = 65000;
    grid.SetRows(count + 2);
    for (int row = 1; row <= count; ++row) {
        grid.SetTextMatrix(row, COL_REF, "r" + std::to_string(row));
        if (row > 1)
            grid.SetTextMatrix(row, COL_FORMULA, "r" + std::to_string(row - 1) + "+1=0.00");
    }
    f.Edit(1, 3, "5");
    EXPECT_EQ(f.Text(2, 3), "r1+1=6.00");
    EXPECT_EQ(f.Text(count, 3), "r" + std::to_string(count - 1) + "+1=" + std::to_string(count + 4) + ".00");
    // The check from the end of the chain walks it all without a cycle.
    f.Edit(count, 3, "r" + std::to_string(count - 1) + "*1");
    EXPECT_EQ(f.Text(count, 3), "r" + std::to_string(count - 1) + "*1=" + std::to_string(count + 3) + ".00");
}

TEST(CalcGridDecimals, MoreAndFewerRecalculateEveryRow)
{
    SSheetFixture f;
    f.Edit(1, 3, "12*0.5");
    EXPECT_EQ(f.Text(1, 3), "12*0.5=6.00");
    f.m_Calc.Grid().SetTextMatrix(2, 3, "SIN\xA3\xA8"
                                        "30\xA3\xA9=0.50");  // SIN（30）=0.50
    f.m_Calc.Grid().SetTextMatrix(3, COL_SEQ, "1");
    f.m_Calc.Grid().SetTextMatrix(3, 3, "C20=1.00");
    f.Edit(30, 3, "1/0");  // a row that raises a message box on every recalculation
    f.m_Prompt.m_Messages.clear();
    f.m_Calc.Grid().SetRow(1);
    f.m_Calc.MoreDecimals();
    f.m_Calc.WaitForRecalc();
    EXPECT_EQ(f.m_State.Decimals(), 3);
    EXPECT_EQ(f.Text(1, 3), "12*0.5=6.000");
    EXPECT_EQ(f.Text(2, 3), "SIN\xA3\xA8"
                            "30\xA3\xA9=0.500");
    EXPECT_EQ(f.Text(3, 3), "C20=1.00");  // summary rows are left alone
    EXPECT_EQ(f.m_Prompt.m_Messages, std::vector<std::string>{calctext::TEXT_DIV_ZERO});
    std::string stored;
    f.m_Store.ReadRaw("nPiontNum", stored);
    EXPECT_EQ(stored, "3");
}

TEST(CalcGridDecimals, CommitWaitsForTheWorker)
{
    SSheetFixture f;
    SheetGrid& grid = f.m_Calc.Grid();
    grid.SetRows(20000);
    for (int row = 1; row < 20000; ++row)
        grid.SetTextMatrix(row, 3, std::to_string(row) + "/4=0.00");
    f.m_Calc.MoreDecimals();
    f.Edit(5, 3, "1+1");  // runs after the whole recalculation
    f.m_Calc.WaitForRecalc();
    EXPECT_EQ(f.Text(5, 3), "1+1=2.000");
    EXPECT_EQ(f.Text(19999, 3), "19999/4=4999.750");
}

}  // namespace
