#include "tests/ui/AppTestSupport.h"

#include "ui/desktop/ProgressPopup.h"

#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

class ProgressPopupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_Main.resize(400, 300);
        m_Main.show();
    }
    // The application must exist before the first widget is built.
    bool m_bApp = (TestApp(), true);
    QWidget m_Main;
};

TEST_F(ProgressPopupTest, CaptionShowsWholePercentagesAndOwnerIsDisabledMeanwhile)
{
    CProgressPopup popup(&m_Main);
    popup.Open("\xD5\xFD\xD4\xDA\xB1\xA3\xB4\xE6\xCE\xC4\xBC\xFE...");  // 正在保存文件...
    ASSERT_NE(popup.Window(), nullptr);
    EXPECT_TRUE(popup.Window()->isVisible());
    EXPECT_FALSE(m_Main.isEnabled());
    popup.SetBounds(0, 250, 1);
    const QString title = QStringLiteral("正在保存文件...");
    popup.Advance();
    popup.Advance();
    EXPECT_EQ(popup.Window()->windowTitle(), title);
    popup.Advance();
    EXPECT_EQ(popup.Window()->windowTitle(), title + QStringLiteral(" [1%]"));
    for (int row = 4; row <= 250; ++row)
        popup.Advance();
    EXPECT_EQ(popup.Window()->windowTitle(), title + QStringLiteral(" [100%]"));
    popup.Close();
    EXPECT_TRUE(m_Main.isEnabled());
}

TEST_F(ProgressPopupTest, EscapeHidesPopupButOwnerWaitsForTheEnd)
{
    {
        CProgressPopup popup(&m_Main);
        popup.Open("Progress");
        popup.SetBounds(0, 100, 1);
        popup.Advance();
        popup.PumpPendingMessages(true);
        EXPECT_FALSE(popup.IsCancelled());
        QTest::keyClick(popup.Window(), Qt::Key_Escape);
        popup.PumpPendingMessages(true);
        EXPECT_TRUE(popup.IsCancelled());
        EXPECT_FALSE(popup.Window()->isVisible());
        EXPECT_FALSE(m_Main.isEnabled());
        // Later calls do nothing and the work goes on.
        EXPECT_EQ(popup.Advance(), 1);
    }
    EXPECT_TRUE(m_Main.isEnabled());
}

TEST_F(ProgressPopupTest, EmptySheetShowsNoPercentage)
{
    CProgressPopup popup(&m_Main);
    popup.Open("Progress");
    popup.SetBounds(0, 0, 1);
    popup.SetMessage("");
    popup.PumpPendingMessages(true);
    EXPECT_EQ(popup.Window()->windowTitle(), QStringLiteral("Progress"));
}

// One popup serves every file operation of a run: after a cancelled one the
// main window comes back with the end of the operation, active as before.
TEST_F(ProgressPopupTest, KeptPopupGivesTheWindowBackAfterEachOperation)
{
    m_Main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m_Main));
    CProgressPopup popup(&m_Main);
    popup.Open("Progress");
    popup.SetBounds(0, 10, 1);
    popup.Cancel();  // Esc
    popup.Close();
    EXPECT_FALSE(m_Main.isEnabled());  // until the operation is over
    popup.Finished();
    EXPECT_TRUE(m_Main.isEnabled());
    EXPECT_TRUE(QTest::qWaitForWindowActive(&m_Main));

    popup.Open("Progress");
    EXPECT_FALSE(m_Main.isEnabled());
    popup.Close();
    EXPECT_TRUE(m_Main.isEnabled());
}

}  // namespace
