#include <gtest/gtest.h>

#include "EditSession.h"
#include "core/edit/BulkEdit.h"
#include "core/settings/SettingsNames.h"
#include "core/sheet/EditTexts.h"

TEST(ToggleMinusText, AddsOrRemovesTheLeadingMinus)
{
    const std::pair<const char*, const char*> cases[] = {
        {"5*3", "-(5*3)"},
        {"-(5*3)", "5*3"},
        {"-5*3", "5*3"},
        {"-5+3", "-(-5+3)"},
        {"(1+2)", "-(1+2)"},
        {"(1)+(2)", "-((1)+(2))"},
        {"-((1)+(2))", "(1)+(2)"},
        {"-()", ""},
        // The minus stands before two brackets: it goes like any other
        // leading minus (the text would otherwise stay as it is).
        {"-(1)*(2)", "(1)*(2)"},
        {"-(1)+(2)", "-(-(1)+(2))"},
        // A bracket inside an annotation does not close anything.
        {"-(2[)]*3)", "2[)]*3"},
        {"(2[(]+1)", "-(2[(]+1)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ToggleMinusText(c.first), c.second) << c.first;
    for (const char* text : {"5*3", "(1+2)", "-5*3"}) {
        const std::string once = ToggleMinusText(text);
        EXPECT_NE(once, text);
        const std::string twice = ToggleMinusText(once);
        if (std::string(text) == "(1+2)")
            EXPECT_EQ(twice, "1+2");
        else if (std::string(text) == "-5*3")
            EXPECT_EQ(twice, "-(5*3)");
        else
            EXPECT_EQ(twice, text);
    }
}

TEST(CheckBulkText, DialogRules)
{
    CCalcState state;
    CExprEngine engine(state);
    const std::pair<const char*, const char*> cases[] = {
        {"", edittext::BULK_NEEDS_EXPRESSION},
        {"*", edittext::BULK_NEEDS_EXPRESSION},
        {"*2", ""},
        {"+sqrt(4)[x]", ""},
        {"*(2", edittext::BULK_BAD_EXPRESSION},
        {"*2[a", edittext::BULK_BAD_EXPRESSION},
        {"-2++3", edittext::BULK_BAD_EXPRESSION},
        {"abc", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CheckBulkText(engine, c.first), c.second) << c.first;
    EXPECT_TRUE(state.CalcOk());
    EXPECT_EQ(state.CalcError(), "");
}

namespace {

struct CBulkFixture : ::testing::Test {
    SEditSession host;
    CBulkEdit& bulk = host.m_Session.Bulk();

    // The bulk dialog confirmed with text, then its command.
    void Run(int r1, int r2, int col, const std::string& text, bool (CSheetSession::*command)(const std::string&))
    {
        host.Select(r1, col, r2, col);
        ASSERT_TRUE((host.m_Session.*command)(text));
    }
};

}  // namespace

TEST_F(CBulkFixture, AppendWrapsEachExpressionAndRecalculates)
{
    host.MoveCurrentCell(1, 1);
    host.Run(cmdid::TOGGLE_SUMMARY);
    host.m_Grid.SetTextMatrix(2, COL_FORMULA, "1+2=3.00");
    host.m_Grid.SetTextMatrix(3, COL_FORMULA, "5=5.00");
    host.m_Grid.SetTextMatrix(5, COL_FORMULA, "2[h=1]=2.00");
    host.MoveCurrentCell(6, 1);
    host.Run(cmdid::TOGGLE_SUMMARY);
    Run(2, 6, COL_FORMULA, "*2", &CSheetSession::AppendText);
    EXPECT_EQ(host.Block(2, 3, 6, 3), "(1+2)*2=6.00|(5)*2=10.00||(2[h=1])*2=4.00|");
    EXPECT_EQ(host.m_Grid.TextMatrix(1, COL_FORMULA), "=20.00");
    EXPECT_EQ(host.m_Grid.TextMatrix(6, COL_SIZE), testtext::SUMMARY);
    EXPECT_EQ(host.m_Session.Settings().ReadString(settingsname::SELECT_ADD_SIGN), "*2");
    EXPECT_FALSE(host.m_History.CanUndo());
    EXPECT_TRUE(host.Modified());
}

TEST_F(CBulkFixture, AppendRefusalsAndPlainColumns)
{
    host.m_Grid.SetTextMatrix(2, COL_FORMULA, "1=1.00");
    host.m_Grid.SetTextMatrix(2, COL_UNIT, "m");
    Run(2, 3, COL_FORMULA, "x", &CSheetSession::AppendText);
    EXPECT_EQ(host.m_Prompt.m_Messages, std::vector<std::string>{edittext::BULK_NEEDS_OPERATOR});
    Run(2, 3, COL_UNIT, "*2", &CSheetSession::AppendText);
    EXPECT_EQ(host.Block(2, 3, 2, 4), "1=1.00,m");
    EXPECT_EQ(host.m_Prompt.m_Messages.size(), 1u);
    EXPECT_FALSE(host.Modified());

    // Other columns take the text as it is, empty cells included.
    Run(2, 3, COL_POSITION, "\xC7\xBD", &CSheetSession::AppendText);
    EXPECT_EQ(host.Block(2, 1, 3, 1), "\xC7\xBD|\xC7\xBD");

    // A refused dialog text leaves the stored one.
    EXPECT_FALSE(bulk.ConfirmText("*("));
    EXPECT_EQ(host.m_Session.Settings().ReadString(settingsname::SELECT_ADD_SIGN), "\xC7\xBD");
}

TEST_F(CBulkFixture, RemoveTakesOutTheFirstOccurrence)
{
    host.m_Grid.SetTextMatrix(2, COL_FORMULA, "(1+2)*2*2=12.00");
    host.m_Grid.SetTextMatrix(3, COL_FORMULA, "7*\n2=14.00");
    Run(2, 3, COL_FORMULA, "*2", &CSheetSession::RemoveText);
    EXPECT_EQ(host.Block(2, 3, 3, 3), "(1+2)*2=6.00|7=7.00");
}

TEST_F(CBulkFixture, ToggleMinusRecalculatesEveryExpressionRow)
{
    host.m_Grid.SetTextMatrix(2, COL_FORMULA, "5*3=15.00");
    host.m_Grid.SetTextMatrix(3, COL_FORMULA, "-5+3=-2.00");
    host.m_Grid.SetTextMatrix(4, COL_FORMULA, "(1)+(2)=3.00");
    host.Select(2, COL_POSITION, 4, COL_POSITION);
    host.Run(cmdid::TOGGLE_MINUS);
    EXPECT_EQ(host.Block(2, 3, 4, 3), "-(5*3)=-15.00|-(-5+3)=2.00|-((1)+(2))=-3.00");
    host.Select(2, COL_FORMULA, 2, COL_FORMULA);
    host.Run(cmdid::TOGGLE_MINUS);
    EXPECT_EQ(host.m_Grid.TextMatrix(2, COL_FORMULA), "5*3=15.00");
}
