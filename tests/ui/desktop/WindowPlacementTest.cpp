#include "ui/desktop/WindowPlacement.h"
#include "core/settings/SettingsNames.h"
#include "core/settings/SettingsStore.h"

#include <gtest/gtest.h>

namespace {

struct SCloseCase {
    const char* m_pszName;
    SWinRect m_In;
    SWinRect m_Out;
};

TEST(WindowPlacement, ClosingRectangleIsCorrected)
{
    const SCloseCase cases[] = {
        {"minimised at negative coordinates", {-32000, -32000, -31840, -31976}, {0, 0, 350, 200}},
        {"small near the bottom right", {700, 500, 1000, 650}, {450, 400, 800, 600}},
        {"short but high up", {100, 100, 900, 250}, {100, 100, 900, 300}},
        {"narrow on the left", {100, 100, 300, 700}, {100, 100, 450, 700}},
        {"exactly 200 high and 350 wide", {0, 0, 350, 200}, {0, 0, 350, 200}},
        {"large enough stays", {10, 20, 810, 620}, {10, 20, 810, 620}},
        {"inverted rectangle", {500, 700, 100, 100}, {500, 700, 850, 900}},
    };
    for (const SCloseCase& c : cases)
        EXPECT_EQ(CorrectClosingRect(c.m_In), c.m_Out) << c.m_pszName;
}

TEST(WindowPlacement, MaximisedWindowReopensMaximisedWithRestoreRectangle)
{
    const SPlacement p = PlacementFromStored("1", "-4", "742", "-4", "1028", 1024);
    EXPECT_FALSE(p.m_bFirstStart);
    EXPECT_TRUE(p.m_bMaximised);
    EXPECT_EQ(p.m_Rect, (SWinRect{107, 75, 892, 641}));
}

TEST(WindowPlacement, StoredRectangleAndFirstStart)
{
    SPlacement p = PlacementFromStored("1", "40", "600", "30", "830", 1024);
    EXPECT_FALSE(p.m_bMaximised);
    EXPECT_EQ(p.m_Rect, (SWinRect{30, 40, 830, 600}));

    for (const char* show : {"", "0", "yes"}) {
        p = PlacementFromStored(show, "40", "600", "30", "830", 1024);
        EXPECT_TRUE(p.m_bFirstStart) << show;
        EXPECT_TRUE(p.m_bMaximised) << show;
    }
    // Values that are not numbers read as 0; huge ones cannot overflow.
    p = PlacementFromStored("1", "abc", "600", "x", "800", 1024);
    EXPECT_EQ(p.m_Rect, (SWinRect{0, 0, 800, 600}));
    p = PlacementFromStored("1", "99999999999", "-99999999999", "2147483647", "2147483647", 1024);
    EXPECT_FALSE(p.m_bMaximised);
}

TEST(WindowPlacement, CloseThenStartRoundTrip)
{
    CMemorySettingsStore store;
    CSettingsKey key(store);
    SWinRect rc;
    EXPECT_FALSE(CreationRect(key, 1280, 800, rc));

    WriteClosingRect(key, {700, 500, 1000, 650});
    EXPECT_EQ(key.ReadString(settingsname::WINDOW_SHOW), "1");
    EXPECT_EQ(key.ReadString(settingsname::WINDOW_LEFT), "450");
    EXPECT_EQ(key.ReadString(settingsname::WINDOW_TOP), "400");
    EXPECT_EQ(key.ReadString(settingsname::WINDOW_RIGHT), "800");
    EXPECT_EQ(key.ReadString(settingsname::WINDOW_BOTTOM), "600");
    EXPECT_EQ(ReadPlacement(key, 1280).m_Rect, (SWinRect{450, 400, 800, 600}));

    // The creation size is limited to the screen, whichever way round the
    // stored values are.
    key.WriteValue(settingsname::WINDOW_LEFT, "2000");
    key.WriteValue(settingsname::WINDOW_RIGHT, "0");
    ASSERT_TRUE(CreationRect(key, 1280, 800, rc));
    EXPECT_EQ(rc.m_nRight - rc.m_nLeft, 1280);
    EXPECT_EQ(rc.m_nBottom - rc.m_nTop, 200);
}

}  // namespace
