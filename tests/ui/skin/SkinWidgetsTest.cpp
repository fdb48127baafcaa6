#include "tests/ui/AppTestSupport.h"
#include "ui/skin/FlatButton.h"
#include "ui/skin/FlatMenuStyle.h"
#include "ui/skin/SkinColours.h"
#include "ui/skin/SkinFrame.h"

#include <QDialog>
#include <QDir>
#include <QEnterEvent>
#include <QFile>
#include <QMenu>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

const QString SourceTheme() { return QStringLiteral(QTX_SOURCE_DIR "/skin/xpstyle/theme.ini"); }

class SkinWidgetsTest : public ::testing::Test {
protected:
    void SetUp() override { TestApp(); }
};

TEST_F(SkinWidgetsTest, ThemeWithoutOneImageLeavesTheSystemFrame)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString src = QFileInfo(SourceTheme()).absolutePath();
    for (const QString& name : QDir(src).entryList(QDir::Files))
        ASSERT_TRUE(QFile::copy(src + "/" + name, dir.filePath(name)));
    {
        QDialog dlg;
        EXPECT_NE(CSkinFrame::Apply(&dlg, dir.filePath("theme.ini")), nullptr);  // the copy is complete
        EXPECT_TRUE(dlg.windowFlags().testFlag(Qt::FramelessWindowHint));
    }
    for (const char* missing : {"minimise.bmp", "left.bmp"}) {
        QFile::remove(dir.filePath(missing));
        QDialog dlg;
        EXPECT_EQ(CSkinFrame::Apply(&dlg, dir.filePath("theme.ini")), nullptr) << missing;
        EXPECT_FALSE(dlg.windowFlags().testFlag(Qt::FramelessWindowHint));
        EXPECT_EQ(dlg.contentsMargins(), QMargins());
    }
    QDialog dlg;
    EXPECT_EQ(CSkinFrame::Apply(&dlg, dir.filePath("absent.ini")), nullptr);
}

TEST_F(SkinWidgetsTest, FrameShapeAndCaptionButtons)
{
    QDialog dlg(nullptr, Qt::Dialog | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    dlg.setWindowTitle(QStringLiteral("系统设置"));
    auto* pLayout = new QVBoxLayout(&dlg);
    pLayout->addWidget(new QWidget(&dlg));
    CSkinFrame* pFrame = CSkinFrame::Apply(&dlg, SourceTheme());
    ASSERT_NE(pFrame, nullptr);
    dlg.resize(400, 300);
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));

    // The border thicknesses become the client's margins.
    EXPECT_EQ(dlg.contentsMargins(), QMargins(4, 26, 4, 4));
    const skin::SFrameLayout& l = pFrame->Layout();
    EXPECT_EQ(l.m_rcClose, (skin::SRect{374, 3, 395, 24}));
    EXPECT_TRUE(l.m_bMinimiseBox && l.m_bMaximiseBox && l.m_bSizable);
    // Rounded corners: the transparent colour is cut out of the window.
    EXPECT_FALSE(dlg.mask().contains(QPoint(0, 0)));
    EXPECT_TRUE(dlg.mask().contains(QPoint(10, 10)));
    EXPECT_TRUE(dlg.mask().contains(QPoint(0, 200)));
    const QImage strip = pFrame->ComposeCaption(true);
    EXPECT_EQ(qAlpha(strip.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(strip.pixel(200, 13)), 255);

    // Maximise fills the work area, the same button restores.
    const QRect before = dlg.geometry();
    const QPoint maxButton(l.m_rcMaximise.m_nLeft + 5, 10);
    QTest::mouseClick(&dlg, Qt::LeftButton, {}, maxButton);
    EXPECT_EQ(pFrame->State(), CSkinFrame::STATE_MAXIMISED);
    EXPECT_EQ(dlg.geometry(), dlg.screen()->availableGeometry());
    QTest::mouseClick(&dlg, Qt::LeftButton, {}, QPoint(pFrame->Layout().m_rcMaximise.m_nLeft + 5, 10));
    EXPECT_EQ(pFrame->State(), CSkinFrame::STATE_NORMAL);
    EXPECT_EQ(dlg.geometry(), before);

    // A click that leaves the button before the release does nothing.
    const QPoint close(l.m_rcClose.m_nLeft + 5, 10);
    QTest::mousePress(&dlg, Qt::LeftButton, {}, close);
    QTest::mouseMove(&dlg, QPoint(100, 100));
    QTest::mouseRelease(&dlg, Qt::LeftButton, {}, QPoint(100, 100));
    EXPECT_TRUE(dlg.isVisible());
    QTest::mouseClick(&dlg, Qt::LeftButton, {}, close);
    EXPECT_FALSE(dlg.isVisible());
}

TEST_F(SkinWidgetsTest, FlatButtonDrawsGradientAndEdges)
{
    CFlatButton button(QStringLiteral("确定"));
    button.resize(80, 30);
    auto colourAt = [&button](int x, int y) { return skin::ToRgb(button.grab().toImage().pixelColor(x, y)); };
    // The inner rectangle starts inside the 2-pixel edge; row 10 of 26.
    EXPECT_EQ(colourAt(40, 12), skin::FlatButtonRow(12, 2, 26, false, false));
    EXPECT_EQ(colourAt(3, 15), skin::FlatButtonRow(15, 2, 26, false, false));  // no edges at rest
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(&button, &enter);
    EXPECT_TRUE(button.IsHovered());
    EXPECT_EQ(colourAt(3, 15), skin::FlatButtonHoverEdges().m_Left);
    EXPECT_EQ(colourAt(40, 26), skin::FlatButtonHoverEdges().m_Bottom);
    EXPECT_EQ(colourAt(40, 12), skin::FlatButtonRow(12, 2, 26, true, false));
}

TEST_F(SkinWidgetsTest, FlatMenuMeasuresAndColours)
{
    CFlatMenuStyle style;
    QMenu menu;
    QPalette pal = menu.palette();
    pal.setColor(QPalette::Button, QColor(240, 240, 240));
    pal.setColor(QPalette::Window, QColor(240, 240, 240));
    menu.setPalette(pal);
    QAction* pPlain = menu.addAction(QStringLiteral("插入行\tInsert"));
    QAction* pSeparator = menu.addSeparator();
    menu.addAction(QStringLiteral("删除行"))->setEnabled(false);
    style.Install(&menu);
    menu.adjustSize();
    const int barHeight = CFlatMenuStyle::MenuBarHeight(menu.fontMetrics());
    EXPECT_EQ(menu.actionGeometry(pSeparator).height(), barHeight / 2);
    EXPECT_EQ(menu.actionGeometry(pPlain).height(), barHeight);

    const QImage img = menu.grab().toImage();
    const QRect item = menu.actionGeometry(pPlain);
    EXPECT_EQ(img.pixelColor(item.left() + 5, item.center().y()), QColor(245, 245, 245));  // lightened column
    EXPECT_EQ(img.pixelColor(item.right() - 2, item.top() + 1), QColor(Qt::white));
}

}  // namespace
