// The file commands as the session runs them: what the sheet needs after a
// save and after it was replaced.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "core/document/DocumentTexts.h"
#include "core/engine/CalcState.h"
#include "core/session/SheetSession.h"
#include "core/settings/SettingsStore.h"
#include "tests/TempFolder.h"
#include "tests/TestPrompt.h"

namespace {

class FileCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(m_strDir.empty());
        m_Key.WriteValue("WorkDir", m_strDir);
        m_State.SetPrompt(&m_Prompt);
        m_Session.Start();
    }

    void Edit(int row, int col, const std::string& text)
    {
        m_Session.Click(row, col);
        if (m_Session.TypeText(text))
            m_Session.CommitEditor();
    }
    const std::string& Cell(int row, int col) { return m_Session.Sheet().TextMatrix(row, col); }
    bool CanUndo() { return m_Session.IsCommandEnabled(cmdid::EDIT_UNDO); }

    const CTempFolder m_Folder{"qtx-files"};
    const std::string m_strDir = m_Folder.Path();
    CMemorySettingsStore m_Store;
    CSettingsKey m_Key{m_Store};
    CCalcState m_State;
    CTestPrompt m_Prompt;
    CMemoryClipboard m_Clipboard;
    CSheetSession m_Session{m_State, m_Store, m_Prompt, m_Clipboard};
};

}  // namespace

TEST_F(FileCommandsTest, SavesEndTheUndoHistoryAndRestartTheAutosave)
{
    Edit(1, COL_FORMULA, "2*3");
    ASSERT_TRUE(CanUndo());
    EXPECT_FALSE(m_Session.Autosave().IsRunning());
    m_Prompt.m_Files.push_back(m_strDir + "/a.qtx");
    m_Session.RunCommand(cmdid::FILE_SAVE);
    EXPECT_FALSE(CanUndo());
    EXPECT_TRUE(m_Session.Autosave().IsRunning());

    // The save agreed to before the sheet is replaced counts too.
    m_Session.Autosave().Stop();
    Edit(2, COL_FORMULA, "1+1");
    m_Prompt.m_Answers.push_back(CPrompt::ANSWER_YES);
    m_Session.RunCommand(cmdid::FILE_NEW);
    EXPECT_TRUE(m_Session.Autosave().IsRunning());
    EXPECT_NE(Cell(2, COL_FORMULA), "a1*2=10.00");
    EXPECT_FALSE(CanUndo());
}

TEST_F(FileCommandsTest, AutosaveSavesWhatIsBeingTyped)
{
    struct SClock : CClock {
        long long NowMs() const override { return m_nNow; }
        long long m_nNow = 0;
    } clock;
    m_Session.Autosave().SetClock(clock);
    m_Key.WriteValue("IsAutoSave", doctext::TEXT_AUTOSAVE_ON);
    m_Key.WriteValue("SaveTime", "2");
    Edit(1, COL_FORMULA, "1");
    m_Prompt.m_Files.push_back(m_strDir + "/a.qtx");
    m_Session.RunCommand(cmdid::FILE_SAVE);
    m_Session.Click(2, COL_FORMULA);
    m_Session.TypeText("2*3");
    clock.m_nNow = 119999;
    EXPECT_FALSE(m_Session.AutosaveTick());
    clock.m_nNow = 120000;
    EXPECT_TRUE(m_Session.AutosaveTick());
    EXPECT_FALSE(m_Session.Document().IsModified());
    EXPECT_EQ(Cell(2, COL_FORMULA), "2*3=6.00");
    EXPECT_FALSE(CanUndo());
    EXPECT_EQ(m_Session.Autosave().DueAt(), 240000);
}

TEST_F(FileCommandsTest, AFileThatCannotBeReadLeavesTheNewSheet)
{
    Edit(1, COL_FORMULA, "5");
    Edit(1, COL_REF, "a1");
    Edit(2, COL_FORMULA, "a1*2");
    ASSERT_EQ(Cell(2, COL_FORMULA), "a1*2=10.00");
    std::ofstream(m_strDir + "/bad.qtx", std::ios::binary) << std::string("\x6A\xFF\xFF\xFF\x02\x00\x00\x00", 8);
    m_Prompt.m_Answers.push_back(CPrompt::ANSWER_NO);
    EXPECT_FALSE(m_Session.OpenPath(m_strDir + "/bad.qtx"));
    EXPECT_EQ(m_Prompt.m_Messages.size(), 1u);
    EXPECT_EQ(Cell(1, COL_REF), "");
    // The old sheet's name is gone with it.
    Edit(2, COL_FORMULA, "a1*2");
    EXPECT_NE(Cell(2, COL_FORMULA), "a1*2=10.00");
}
