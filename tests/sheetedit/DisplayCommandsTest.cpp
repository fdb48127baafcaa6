#include <gtest/gtest.h>

#include "TestHost.h"
#include "settings/SettingsNames.h"
#include "sheet/DisplayCommands.h"
#include "sheet/EditTexts.h"

TEST(DisplayCommands, AlignmentIsStoredAndTheHeaderStaysCentred)
{
    CTestHost host;
    CDisplayCommands display(host);
    host.Select(4, 2, 6, 3);
    display.AlignRight();
    EXPECT_EQ(host.m_Key.ReadString("nSEATSIGN2"), "27");
    EXPECT_EQ(host.m_Grid.ColAlignment(2), ALIGN_RIGHT_CENTER);
    EXPECT_EQ(host.m_Grid.EffectiveAlignment(0, 2), ALIGN_CENTER_CENTER);
    EXPECT_EQ(host.m_Grid.Row(), 4);
    EXPECT_FALSE(host.m_bModified);
}

TEST(DisplayCommands, ExampleFillsTheFirstRowsAfterTheQuestion)
{
    CTestHost host;
    CDisplayCommands display(host);
    host.m_Grid.SetTextMatrix(3, COL_UNIT, "m2");

    host.m_Prompt.m_Answers.push_back(CPrompt::ANSWER_YES);
    display.InsertExample();
    EXPECT_EQ(host.m_Prompt.m_Questions, std::vector<std::string>{edittext::EXAMPLE_QUESTION});
    EXPECT_EQ(host.m_Key.ReadString(settingsname::EXAMPLE_SHOW), "1");
    EXPECT_EQ(host.m_Grid.TextMatrix(1, COL_SEQ), "1");
    EXPECT_EQ(host.m_Grid.TextMatrix(1, COL_SIZE), testtext::SUMMARY);
    EXPECT_EQ(host.m_Grid.TextMatrix(1, COL_FORMULA), "");
    EXPECT_EQ(host.m_Grid.TextMatrix(1, COL_POSITION), edittext::EXAMPLE_ITEM);
    EXPECT_EQ(host.m_Grid.TextMatrix(3, COL_FORMULA), edittext::EXAMPLE_FORMULA_2);
    EXPECT_EQ(host.m_Grid.TextMatrix(3, COL_UNIT), "m2");

    // Unchecking asks nothing and changes nothing.
    display.InsertExample();
    EXPECT_EQ(host.m_Key.ReadString(settingsname::EXAMPLE_SHOW), "0");
    EXPECT_EQ(host.m_Prompt.m_Questions.size(), 1u);
    EXPECT_EQ(host.m_Grid.TextMatrix(1, COL_SEQ), "1");

    CTestHost declined;
    CDisplayCommands other(declined);
    other.InsertExample();
    EXPECT_EQ(declined.m_Grid.TextMatrix(2, COL_FORMULA), "");
    EXPECT_TRUE(other.ExampleShown());
}
