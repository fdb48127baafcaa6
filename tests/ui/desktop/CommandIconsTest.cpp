// Tool-bar and menu pictures: every button has one, from the desktop's icon
// theme or the bundled one, sharp at 100 % and 200 %; the menus show the
// same pictures in the flat style.
#include "DesktopFixture.h"

#include "ui/desktop/CommandIcons.h"
#include "ui/desktop/Commands.h"
#include "ui/skin/FlatMenuStyle.h"

#include <QMenuBar>
#include <QSet>

namespace {

using CommandIconsTest = CDesktopFixture;

// Opaque pixels of a picture rendered at this size.
int InkPixels(const QIcon& icon, int size)
{
    const QImage img = icon.pixmap(QSize(size, size)).toImage();
    int ink = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            ink += qAlpha(img.pixel(x, y)) > 128;
    return img.size() == QSize(size, size) ? ink : -1;
}

TEST_F(CommandIconsTest, EveryToolBarButtonHasASharpPictureWithoutADesktopTheme)
{
    const QString desktopTheme = QIcon::themeName();
    QIcon::setThemeName(QStringLiteral("no-such-theme"));
    std::vector<int> ids = MainToolbarLayout();
    ids.insert(ids.end(), FormatToolbarLayout().begin(), FormatToolbarLayout().end());
    for (int nId : ids) {
        if (nId == 0 || nId == cmdid::ITEM_LIST || nId == cmdid::GRID_LINE_BOX)
            continue;
        const QIcon icon = CommandIcon(nId);
        ASSERT_FALSE(icon.isNull()) << nId;
        const int small = InkPixels(icon, 16);
        const int large = InkPixels(icon, 32);
        EXPECT_GT(small, 10) << nId;
        // Drawn anew at twice the size: a fixed 16-px picture would come
        // back at 16 px (-1 here).
        EXPECT_GT(large, small * 3) << nId;
    }
    QIcon::setThemeName(desktopTheme);
}

TEST_F(CommandIconsTest, MenusShowTheToolBarPicturesInTheFlatStyle)
{
    QSet<int> onToolBars;
    for (const auto* pLayout : {&MainToolbarLayout(), &FormatToolbarLayout()})
        for (int nId : *pLayout)
            onToolBars.insert(nId);
    for (QAction* pMenuAction : m_pFrame->menuBar()->actions()) {
        QMenu* pMenu = pMenuAction->menu();
        EXPECT_TRUE(qobject_cast<CFlatMenuStyle*>(pMenu->style())) << pMenu->title().toStdString();
        for (QAction* pAction : pMenu->actions()) {
            if (pAction->isSeparator())
                continue;
            const int nId = pAction->data().toInt();
            EXPECT_EQ(!pAction->icon().isNull() && pAction->isIconVisibleInMenu(), onToolBars.contains(nId)) << nId;
        }
    }
    EXPECT_TRUE(qobject_cast<CFlatMenuStyle*>(m_pFrame->ContextMenu()->style()));
}

}  // namespace
