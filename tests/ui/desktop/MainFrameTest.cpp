// The main window: menus, tool bars, accelerators, the grid-line box, the
// help commands and the saved rectangle.
#include "DesktopFixture.h"

#include "core/session/CommandIds.h"
#include "core/settings/SettingsNames.h"
#include "ui/desktop/Commands.h"

#include <QComboBox>
#include <QLabel>
#include <QMenuBar>
#include <QSet>
#include <QToolBar>
#include <QUrl>

using namespace cmdid;

namespace {

class MainFrameTest : public CDesktopFixture {
protected:
    void SetUp() override
    {
        CDesktopFixture::SetUp();
        m_pFrame->m_OpenUrl = [this](const QUrl& url) {
            m_Opened << url;
            return true;
        };
    }
    // The ids of a menu or tool bar in order, 0 for separators.
    static std::vector<int> Ids(const QList<QAction*>& actions)
    {
        std::vector<int> ids;
        for (QAction* pAction : actions) {
            if (pAction->isSeparator())
                ids.push_back(0);
            else if (pAction->data().isValid())
                ids.push_back(pAction->data().toInt());
            else if (QWidget* pWidget = qobject_cast<QToolBar*>(pAction->parent())
                         ? static_cast<QToolBar*>(pAction->parent())->widgetForAction(pAction)
                         : nullptr)
                ids.push_back(pWidget->objectName().toInt());
        }
        return ids;
    }

    QList<QUrl> m_Opened;
};

TEST_F(MainFrameTest, MenusToolBarsAndContextMenuCarryTheirIds)
{
    const QList<QAction*> menus = m_pFrame->menuBar()->actions();
    ASSERT_EQ(menus.size(), static_cast<int>(MainMenuLayout().size()));
    for (int i = 0; i < menus.size(); ++i) {
        EXPECT_EQ(menus[i]->text(), QString::fromUtf8(MainMenuLayout()[i].m_pszTitle));
        EXPECT_EQ(Ids(menus[i]->menu()->actions()), MainMenuLayout()[i].m_Items) << i;
    }
    EXPECT_EQ(Ids(m_pFrame->MainToolBar()->actions()), MainToolbarLayout());
    EXPECT_EQ(Ids(m_pFrame->FormatToolBar()->actions()), FormatToolbarLayout());
    EXPECT_EQ(Ids(m_pFrame->ContextMenu()->actions()), ContextMenuLayout());

    // Texts, keys and prompts as the table gives them.
    EXPECT_EQ(m_pFrame->Action(FILE_OPEN)->text(), QStringLiteral("打开(&O)..."));
    EXPECT_EQ(m_pFrame->Action(INSERT_ROWS)->text(), QStringLiteral("插入行\tInsert"));
    EXPECT_EQ(m_pFrame->Action(APPEND_TO_CELLS)->statusTip(), QStringLiteral("在原有表达式后统一添加相同的表达式"));
    EXPECT_EQ(m_pFrame->Action(EDIT_SETTINGS)->toolTip(), QStringLiteral("设置表头等名称及颜色"));
}

TEST_F(MainFrameTest, AcceleratorTable)
{
    const std::pair<const char*, int> keys[] = {
        {"Ctrl+Ins", EDIT_COPY}, {"Shift+Ins", EDIT_PASTE}, {"Shift+Del", EDIT_CUT}, {"Alt+Backspace", EDIT_UNDO}, {"Ctrl+Y", EDIT_REDO}, {"Ctrl+P", FILE_PRINT}, {"F1", HELP}, {"Shift+F6", PREV_PANE}};
    for (const auto& key : keys)
        EXPECT_TRUE(m_pFrame->Action(key.second)->shortcuts().contains(QKeySequence(QString::fromLatin1(key.first))))
            << key.first;
    // Insert, Delete and F2 belong to the sheet's own key handling: no
    // window-wide shortcut may take them from the cell editor.
    QSet<QKeySequence> all;
    for (QAction* pAction : m_pFrame->actions())
        for (const QKeySequence& seq : pAction->shortcuts()) {
            EXPECT_FALSE(all.contains(seq)) << seq.toString().toStdString();
            all.insert(seq);
        }
    for (const char* key : {"Ins", "Del", "F2"})
        EXPECT_FALSE(all.contains(QKeySequence(QString::fromLatin1(key)))) << key;
}

TEST_F(MainFrameTest, DeferredCommandsStayDisabled)
{
    m_pFrame->UpdateCommandStates();
    EXPECT_FALSE(m_pFrame->Action(CELL_FONT)->isEnabled());
    for (int id : {EXPORT_SUMMARY_XLS, EXPORT_ALL_XLS, SYSTEM_SETTINGS, HELP_HOME_PAGE})
        EXPECT_TRUE(m_pFrame->Action(id)->isEnabled()) << id;
    EXPECT_EQ(m_pFrame->Action(RECENT_FILE_1 + 2)->text(), QStringLiteral("最近文件3"));
}

TEST_F(MainFrameTest, GridLineBoxReadsAndWritesItsSetting)
{
    // The fixture's window found no setting: the first style was written.
    EXPECT_EQ(m_Key.ReadString(settingsname::DRAW_LINES_STYLE), Gbk("网格线－细"));

    m_Key.WriteValue(settingsname::DRAW_LINES_STYLE, Gbk("网格线－粗"));
    EXPECT_EQ(CMainFrame(m_Key).GridLineBox()->currentIndex(), 2);
    // An unknown style shows the first one and stays stored as it was.
    m_Key.WriteValue(settingsname::DRAW_LINES_STYLE, "odd");
    EXPECT_EQ(CMainFrame(m_Key).GridLineBox()->currentIndex(), 0);
    EXPECT_EQ(m_Key.ReadString(settingsname::DRAW_LINES_STYLE), "odd");

    emit m_pFrame->GridLineBox()->activated(1);
    EXPECT_EQ(m_Key.ReadString(settingsname::DRAW_LINES_STYLE), Gbk("网格线－中"));
}

TEST_F(MainFrameTest, LockKeyPanesShowWhichKeysAreOn)
{
    auto text = [this](const char* name) { return m_pFrame->findChild<QLabel*>(QLatin1String(name))->text(); };
    SLockKeys keys;
    m_pFrame->m_ReadLockKeys = [&keys]() { return keys; };
    m_pFrame->UpdateLockKeys();  // unknown: the names stay, dimmed
    EXPECT_EQ(text("CAP"), QStringLiteral("CAP"));
    EXPECT_FALSE(m_pFrame->findChild<QLabel*>(QStringLiteral("CAP"))->isEnabled());
    keys = {true, true, false, true};
    m_pFrame->UpdateLockKeys();
    EXPECT_EQ(text("CAP"), QStringLiteral("CAP"));
    EXPECT_EQ(text("NUM"), QString());
    EXPECT_EQ(text("SCRL"), QStringLiteral("SCRL"));
    EXPECT_TRUE(m_pFrame->findChild<QLabel*>(QStringLiteral("CAP"))->isEnabled());
}

TEST_F(MainFrameTest, HelpCommandsOpenAddressesAndTheHelpFileOnlyWhenPresent)
{
    m_pFrame->Action(HELP_HOME_PAGE)->trigger();
    m_pFrame->Action(HELP_SUPPORT)->trigger();
    ASSERT_EQ(m_Opened.size(), 2);
    EXPECT_EQ(m_Opened[0].scheme(), QStringLiteral("https"));
    EXPECT_EQ(m_Opened[1].scheme(), QStringLiteral("mailto"));
    m_Opened.clear();
    m_pFrame->Action(HELP)->trigger();  // no help file in the current folder
    EXPECT_TRUE(m_Opened.isEmpty());
}

TEST_F(MainFrameTest, ClosingSavesTheRectangle)
{
    m_pFrame->setGeometry(100, 120, 200, 100);
    m_pFrame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_pFrame));
    m_pFrame->close();
    EXPECT_EQ(m_Key.ReadString(settingsname::WINDOW_SHOW), "1");
    // Too small: saved with the usable minimum size.
    auto stored = [this](const char* name) { return std::stoi(m_Key.ReadString(name)); };
    EXPECT_GE(stored(settingsname::WINDOW_BOTTOM) - stored(settingsname::WINDOW_TOP), 200);
    EXPECT_GE(stored(settingsname::WINDOW_RIGHT) - stored(settingsname::WINDOW_LEFT), 350);
}

TEST_F(MainFrameTest, EditSettingsReReadsTheHeadersEvenWhenCancelled)
{
    m_Key.WriteValue(settingsname::COUNT_UNIT, Gbk("计量单位"));
    WithDialog(EDIT_SETTINGS, [](QDialog* pDlg) { pDlg->reject(); });
    EXPECT_EQ(Sheet().TextMatrix(0, COL_UNIT), Gbk("计量单位"));
    EXPECT_EQ(m_pView->Model()->headerData(COL_UNIT - 1, Qt::Horizontal).toString(), QStringLiteral("计量单位"));
}

}  // namespace
