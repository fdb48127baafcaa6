// The main window: menu bar, the main tool bar with the summary item list,
// the format tool bar with the grid-line box, the status bar, the
// accelerators, the help commands, and the saving of the window rectangle
// when it closes. Every command is a QAction whose data is its numeric id;
// commands other than the frame's own go to the view.
#pragma once

#include "ui/desktop/LockKeys.h"
#include "ui/desktop/WindowPlacement.h"

#include <QMainWindow>
#include <QMap>
#include <QPointer>

class CSettingsKey;
class CQuantorixView;
class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QToolBar;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(const CSettingsKey& key, QWidget* pParent = nullptr);
    ~CMainFrame() override;

    // Makes the view the central widget and routes commands to it.
    void SetView(CQuantorixView* pView);
    CQuantorixView* View() const { return m_pView; }

    QAction* Action(int nId) const { return m_Actions.value(nId, nullptr); }
    QToolBar* MainToolBar() const { return m_pMainBar; }
    QToolBar* FormatToolBar() const { return m_pFormatBar; }
    QComboBox* ItemList() const { return m_pItemList; }
    QComboBox* GridLineBox() const { return m_pGridLines; }
    QMenu* ContextMenu() const { return m_pContextMenu; }
    QLabel* IdleLabel() const { return m_pIdle; }

    // Places the window from the saved rectangle on a screen of this size
    // (the first start shows it maximised) and shows it.
    void PlaceAndShow(const QRect& rcScreen);

    // Enables, disables and checks every action from the view's controller.
    void UpdateCommandStates();

    // Where the Help menu and F1 send the user; replaceable for tests.
    std::function<bool(const QUrl&)> m_OpenUrl;
    // The state of the lock keys shown in the status bar; replaceable for
    // tests.
    std::function<SLockKeys()> m_ReadLockKeys;
    // The lock-key panes: on, off, or dimmed while the state is unknown.
    void UpdateLockKeys();

public slots:
    void OnCommand(int nId);
    void OnItemList(const QStringList& items, int current);

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void CreateActions();
    void CreateMenus();
    void CreateToolBars();
    QToolBar* AddToolBar(const char* id, const QString& title, const std::vector<int>& layout);
    QComboBox* MakeToolBarBox(int nId, QToolBar* pBar);
    void SetUpGridLineBox();
    void CreateStatusBar();
    void InstallFlatMenus();
    void UpdateRecentItems();
    void OnHelp();

    const CSettingsKey& m_Key;
    QPointer<CQuantorixView> m_pView;
    QMap<int, QAction*> m_Actions;
    QToolBar* m_pMainBar = nullptr;
    QToolBar* m_pFormatBar = nullptr;
    QComboBox* m_pItemList = nullptr;
    QComboBox* m_pGridLines = nullptr;
    QMenu* m_pContextMenu = nullptr;
    QLabel* m_pIdle = nullptr;
    QLabel* m_pLockPanes[3] = {};  // Caps, Num, Scroll
    bool m_bClosing = false;
};
