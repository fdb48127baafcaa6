// The autosave schedule and the start-up file, on a manual clock.
#include <gtest/gtest.h>

#include <filesystem>

#include "DocumentFixture.h"
#include "core/document/Autosave.h"
#include "core/document/DocumentTexts.h"

namespace fs = std::filesystem;

namespace {

const long long MINUTE = 60000;

class CManualClock : public CClock {
public:
    long long NowMs() const override { return m_nNow; }
    long long m_nNow = 1000;
};

class AutosaveTest : public CDocumentFixture {
protected:
    void SetUp() override
    {
        CDocumentFixture::SetUp();
        m_Key.WriteValue("IsAutoSave", doctext::TEXT_AUTOSAVE_ON);
        m_Key.WriteValue("SaveTime", "10");
    }

    // Every successful save restarts the schedule.
    bool Save() { return Restarted(CDocumentFixture::Save()); }
    bool SaveAsPath(const std::string& path) { return Restarted(CDocumentFixture::SaveAsPath(path)); }
    bool Restarted(bool bSaved)
    {
        if (bSaved)
            m_Auto.RestartAfterSave();
        return bSaved;
    }

    // Moves the clock and lets the timer look, minute by minute; the saves
    // it asked for.
    int RunMinutes(int minutes)
    {
        int saves = 0;
        for (int i = 0; i < minutes; ++i) {
            m_Clock.m_nNow += MINUTE;
            if (m_Auto.Tick(m_Doc.IsModified())) {
                ++saves;
                Save();
            }
        }
        return saves;
    }
    fs::file_time_type Stamp() { return fs::last_write_time(P("a.qtx")); }

    CManualClock m_Clock;
    CAutosave m_Auto{m_Store, m_Clock};
};

}  // namespace

TEST_F(AutosaveTest, SavesANamedSheetEveryIntervalFromTheLastSave)
{
    m_Auto.Start();
    m_Sheet.SetTextMatrix(1, COL_FORMULA, "v1");
    ASSERT_TRUE(SaveAsPath(P("a.qtx")));
    EXPECT_EQ(m_Auto.DueAt(), m_Clock.m_nNow + 10 * MINUTE);
    m_Sheet.SetTextMatrix(1, COL_FORMULA, "v2");
    m_Doc.SetModified(true);
    EXPECT_EQ(RunMinutes(9), 0);
    EXPECT_EQ(RunMinutes(1), 1);
    EXPECT_TRUE(m_Auto.IsRunning());  // restarted by the save
    EXPECT_NE(fs::file_size(P("a.bak")), 0u);

    // An unchanged sheet is not written: its backups keep the older versions.
    const auto stamp = Stamp();
    const auto bakStamp = fs::last_write_time(P("a.bak"));
    EXPECT_EQ(RunMinutes(30), 0);
    EXPECT_TRUE(m_Auto.IsRunning());
    EXPECT_EQ(Stamp(), stamp);
    EXPECT_EQ(fs::last_write_time(P("a.bak")), bakStamp);

    // A save by hand 9 minutes later postpones the next one.
    EXPECT_EQ(RunMinutes(9), 0);
    ASSERT_TRUE(Save());
    m_Doc.SetModified(true);
    EXPECT_EQ(RunMinutes(9), 0);
    EXPECT_EQ(RunMinutes(1), 1);
}

TEST_F(AutosaveTest, TicksWhileSwitchedOffDoNothing)
{
    m_Key.WriteValue("IsAutoSave", "");
    m_Auto.Start();
    EXPECT_FALSE(m_Auto.IsRunning());
    // A save restarts the timer even when off; its ticks are ignored.
    ASSERT_TRUE(SaveAsPath(P("a.qtx")));
    EXPECT_TRUE(m_Auto.IsRunning());
    EXPECT_EQ(RunMinutes(35), 0);
    EXPECT_TRUE(m_Auto.IsRunning());
    // Switching on in the settings, then off again.
    m_Key.WriteValue("IsAutoSave", doctext::TEXT_AUTOSAVE_ON);
    m_Auto.Start();
    EXPECT_TRUE(m_Auto.IsRunning());
    m_Key.WriteValue("IsAutoSave", "yes");
    m_Auto.Start();
    EXPECT_FALSE(m_Auto.IsRunning());
}

TEST_F(AutosaveTest, UnnamedSheetAsksForANameAndCancelStopsTheTimer)
{
    m_Auto.Start();
    EXPECT_EQ(RunMinutes(30), 0);  // nothing typed yet: nothing to save
    m_Doc.SetModified(true);
    EXPECT_EQ(RunMinutes(10), 1);
    EXPECT_EQ(m_Prompt.m_Saves.size(), 1u);  // the Save As dialog, cancelled
    EXPECT_FALSE(m_Auto.IsRunning());
    EXPECT_EQ(RunMinutes(60), 0);
    EXPECT_EQ(m_Prompt.m_Saves.size(), 1u);
}

TEST_F(AutosaveTest, SaveTimeBelowTwoNeverRunsATimer)
{
    for (const char* value : {"1", "0", "-3", "x"}) {
        SCOPED_TRACE(value);
        m_Key.WriteValue("SaveTime", value);
        m_Auto.Start();
        EXPECT_FALSE(m_Auto.IsRunning());
        ASSERT_TRUE(SaveAsPath(P("a.qtx")));
        EXPECT_FALSE(m_Auto.IsRunning());
        EXPECT_EQ(RunMinutes(3), 0);
    }
    m_Store.Remove("SaveTime");
    m_Auto.Start();
    EXPECT_EQ(m_Key.ReadString("SaveTime"), "10");
    EXPECT_EQ(m_Auto.PeriodMs(), 10 * MINUTE);
}
