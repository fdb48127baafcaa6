#include "ui/desktop/MainFrame.h"

#include "core/session/CommandIds.h"
#include "core/settings/SettingsNames.h"
#include "core/settings/SettingsStore.h"
#include "ui/desktop/CommandIcons.h"
#include "ui/desktop/Commands.h"
#include "ui/desktop/GbkQt.h"
#include "ui/desktop/QuantorixView.h"
#include "ui/skin/FlatMenuStyle.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

namespace {

// Keys shown in a menu item but handled by the sheet's own key handling.
bool IsSheetKey(int nId)
{
    return nId == cmdid::INSERT_ROWS || nId == cmdid::EDIT_CLEAR || nId == cmdid::TOGGLE_SUMMARY;
}

}  // namespace

CMainFrame::CMainFrame(const CSettingsKey& key, QWidget* pParent) : QMainWindow(pParent), m_Key(key)
{
    setObjectName(QStringLiteral("mainFrame"));
    setWindowTitle(QString::fromUtf8(frametext::APP_TITLE));
    m_OpenUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    m_ReadLockKeys = ReadLockKeys;
    CreateActions();
    CreateMenus();
    CreateToolBars();
    CreateStatusBar();
    InstallFlatMenus();

    auto* pTimer = new QTimer(this);
    connect(pTimer, &QTimer::timeout, this, &CMainFrame::UpdateCommandStates);
    pTimer->start(250);
}

CMainFrame::~CMainFrame() = default;

void CMainFrame::CreateActions()
{
    for (const SCommandInfo& info : AllCommands()) {
        if (info.m_nId == cmdid::ITEM_LIST || info.m_nId == cmdid::GRID_LINE_BOX)
            continue;
        QString text = QString::fromUtf8(info.m_pszText);
        if (IsSheetKey(info.m_nId))
            text += QLatin1Char('\t') + QString::fromUtf8(info.m_pszKeyText);
        auto* pAction = new QAction(text, this);
        pAction->setData(info.m_nId);
        pAction->setObjectName(QString::number(info.m_nId));
        pAction->setStatusTip(QString::fromUtf8(info.m_pszPrompt));
        pAction->setToolTip(QString::fromUtf8(info.m_pszTip));
        pAction->setIcon(CommandIcon(info.m_nId));
        if (info.m_nId == cmdid::VIEW_TOOLBAR || info.m_nId == cmdid::VIEW_STATUS_BAR) {
            pAction->setCheckable(true);
            pAction->setChecked(true);
        }
        if (IsDeferredCommand(info.m_nId) || info.m_nId == cmdid::CELL_FONT)
            pAction->setEnabled(false);
        const int nId = info.m_nId;
        connect(pAction, &QAction::triggered, this, [this, nId]() { OnCommand(nId); });
        m_Actions.insert(nId, pAction);
        addAction(pAction);  // accelerators work wherever the focus is
    }
    // The accelerator table: several keys may send one command.
    QMap<int, QList<QKeySequence>> keys;
    for (const SAccelInfo& accel : AcceleratorTable())
        keys[accel.m_nId] << QKeySequence(QString::fromLatin1(accel.m_pszKeys));
    for (auto it = keys.cbegin(); it != keys.cend(); ++it)
        if (QAction* pAction = m_Actions.value(it.key()))
            pAction->setShortcuts(it.value());
}

void CMainFrame::CreateMenus()
{
    for (const SMenuInfo& menuInfo : MainMenuLayout()) {
        QMenu* pMenu = menuBar()->addMenu(QString::fromUtf8(menuInfo.m_pszTitle));
        for (int nId : menuInfo.m_Items) {
            if (nId == 0)
                pMenu->addSeparator();
            else if (QAction* pAction = Action(nId))
                pMenu->addAction(pAction);
        }
        connect(pMenu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandStates);
    }
    m_pContextMenu = new QMenu(this);
    m_pContextMenu->setObjectName(QStringLiteral("157"));
    for (int nId : ContextMenuLayout()) {
        if (nId == 0)
            m_pContextMenu->addSeparator();
        else if (QAction* pAction = Action(nId))
            m_pContextMenu->addAction(pAction);
    }
    connect(m_pContextMenu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandStates);
}

void CMainFrame::CreateToolBars()
{
    m_pMainBar = AddToolBar("128", QStringLiteral("标准"), MainToolbarLayout());
    addToolBarBreak();
    m_pFormatBar = AddToolBar("179", QStringLiteral("格式"), FormatToolbarLayout());
    SetUpGridLineBox();
    connect(m_pItemList, &QComboBox::activated, this, [this](int index) {
        if (m_pView) {
            m_pView->Controller().GoToItem(index);
            m_pView->Refresh();
            m_pView->Table()->setFocus();
        }
    });
}

// The layout's commands; 0 is a separator, the item list and the grid-line
// box are made here.
QToolBar* CMainFrame::AddToolBar(const char* id, const QString& title, const std::vector<int>& layout)
{
    QToolBar* pBar = addToolBar(title);
    pBar->setObjectName(QString::fromLatin1(id));
    pBar->setIconSize(QSize(16, 16));
    pBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (int nId : layout) {
        if (nId == 0)
            pBar->addSeparator();
        else if (nId == cmdid::ITEM_LIST || nId == cmdid::GRID_LINE_BOX)
            pBar->addWidget(MakeToolBarBox(nId, pBar));
        else if (QAction* pAction = Action(nId))
            pBar->addAction(pAction);
    }
    return pBar;
}

QComboBox* CMainFrame::MakeToolBarBox(int nId, QToolBar* pBar)
{
    auto* pBox = new QComboBox(pBar);
    pBox->setObjectName(QString::number(nId));
    pBox->setFixedWidth(nId == cmdid::ITEM_LIST ? 180 : 130);
    pBox->setMaxVisibleItems(nId == cmdid::ITEM_LIST ? 16 : 6);
    pBox->setFocusPolicy(Qt::ClickFocus);
    const SCommandInfo* pInfo = FindCommand(nId);
    pBox->setToolTip(QString::fromUtf8(pInfo->m_pszTip));
    pBox->setStatusTip(QString::fromUtf8(pInfo->m_pszPrompt));
    (nId == cmdid::ITEM_LIST ? m_pItemList : m_pGridLines) = pBox;
    return pBox;
}

// Three styles; a stored text that is none of them shows the first without
// writing anything.
void CMainFrame::SetUpGridLineBox()
{
    for (const char* style : settingstext::DRAW_LINES_STYLES)
        m_pGridLines->addItem(GbkToQ(style));
    std::string stored;
    if (m_Key.ReadValue(settingsname::DRAW_LINES_STYLE, stored) != 0) {
        m_Key.WriteValue(settingsname::DRAW_LINES_STYLE, settingstext::DRAW_LINES_STYLES[0]);
        m_pGridLines->setCurrentIndex(0);
    } else {
        int index = 0;
        for (int i = 0; i < 3; ++i)
            if (stored == settingstext::DRAW_LINES_STYLES[i])
                index = i;
        m_pGridLines->setCurrentIndex(index);
    }
    connect(m_pGridLines, &QComboBox::activated, this, [this](int index) {
        m_Key.WriteValue(settingsname::DRAW_LINES_STYLE, QToGbk(m_pGridLines->itemText(index)));
    });
}

// The menu bar's menus and the context menu in the flat style, each command
// with its tool-bar picture.
void CMainFrame::InstallFlatMenus()
{
    auto* pStyle = new CFlatMenuStyle;
    pStyle->setParent(this);
    for (QAction* pAction : menuBar()->actions())
        pStyle->Install(pAction->menu());
    pStyle->Install(m_pContextMenu);
}

void CMainFrame::CreateStatusBar()
{
    QStatusBar* pBar = statusBar();
    m_pIdle = new QLabel(QString::fromUtf8(frametext::IDLE_PROMPT), pBar);
    m_pIdle->setObjectName(QStringLiteral("idlePrompt"));
    pBar->addWidget(m_pIdle, 1);
    // The message pane shows a prompt while one is up and the idle text
    // otherwise.
    connect(pBar, &QStatusBar::messageChanged, m_pIdle, [this](const QString& text) {
        m_pIdle->setVisible(text.isEmpty());
    });
    const char* const indicators[] = {"CAP", "NUM", "SCRL"};
    for (int i = 0; i < 3; ++i) {
        auto* pPane = new QLabel(QString::fromLatin1(indicators[i]), pBar);
        pPane->setObjectName(QString::fromLatin1(indicators[i]));
        pPane->setAlignment(Qt::AlignCenter);
        pPane->setMinimumWidth(pPane->fontMetrics().horizontalAdvance(QStringLiteral("SCRL")) + 10);
        pPane->setEnabled(false);
        pBar->addPermanentWidget(pPane);
        m_pLockPanes[i] = pPane;
    }
    UpdateLockKeys();
}

void CMainFrame::UpdateLockKeys()
{
    // A key that is on shows its name; one that is off keeps an empty pane,
    // as the status bars of the desktop do. Where the window system does
    // not tell, the names stay dimmed.
    const SLockKeys keys = m_ReadLockKeys ? m_ReadLockKeys() : SLockKeys();
    const bool on[3] = {keys.m_bCaps, keys.m_bNum, keys.m_bScroll};
    const char* const indicators[] = {"CAP", "NUM", "SCRL"};
    for (int i = 0; i < 3; ++i) {
        QLabel* pPane = m_pLockPanes[i];
        pPane->setEnabled(keys.m_bKnown);
        pPane->setText(!keys.m_bKnown || on[i] ? QString::fromLatin1(indicators[i]) : QString());
    }
}

void CMainFrame::SetView(CQuantorixView* pView)
{
    m_pView = pView;
    setCentralWidget(pView);
    pView->SetContextMenu(m_pContextMenu);
    connect(pView, &CQuantorixView::titleChanged, this, &QWidget::setWindowTitle);
    connect(pView, &CQuantorixView::itemListChanged, this, &CMainFrame::OnItemList);
    connect(pView, &CQuantorixView::statusMessage, this,
            [this](const QString& text) { statusBar()->showMessage(text, 5000); });
    UpdateCommandStates();
}

void CMainFrame::OnItemList(const QStringList& items, int current)
{
    const QSignalBlocker blocker(m_pItemList);
    m_pItemList->clear();
    m_pItemList->addItems(items);
    m_pItemList->setCurrentIndex(current);
}

void CMainFrame::UpdateRecentItems()
{
    for (int nId = cmdid::RECENT_FILE_1; nId <= cmdid::RECENT_FILE_4; ++nId) {
        QAction* pAction = Action(nId);
        const std::string text = m_pView ? m_pView->Controller().CommandText(nId) : std::string();
        pAction->setText(text.empty() ? QStringLiteral("最近文件%1").arg(nId - cmdid::RECENT_FILE_1 + 1)
                                      : GbkToQ(text));
    }
}

void CMainFrame::UpdateCommandStates()
{
    UpdateLockKeys();
    if (!m_pView)
        return;
    CSheetViewController& controller = m_pView->Controller();
    for (auto it = m_Actions.cbegin(); it != m_Actions.cend(); ++it) {
        const int nId = it.key();
        QAction* pAction = it.value();
        switch (nId) {
        case cmdid::VIEW_TOOLBAR:
            pAction->setChecked(m_pMainBar->isVisible());
            continue;
        case cmdid::VIEW_STATUS_BAR:
            pAction->setChecked(statusBar()->isVisible());
            continue;
        case cmdid::APP_EXIT:
        case cmdid::HELP:
        case cmdid::HELP_FINDER:
        case cmdid::CONTEXT_HELP:
        case cmdid::HELP_DOWNLOAD:
        case cmdid::HELP_HOME_PAGE:
        case cmdid::HELP_SUPPORT:
        case cmdid::NEXT_PANE:
        case cmdid::PREV_PANE:
            continue;
        default:
            break;
        }
        pAction->setEnabled(controller.IsCommandEnabled(nId));
        if (controller.IsCommandChecked(nId) != pAction->isChecked()) {
            pAction->setCheckable(true);
            pAction->setChecked(controller.IsCommandChecked(nId));
        }
    }
    UpdateRecentItems();
}

void CMainFrame::OnCommand(int nId)
{
    switch (nId) {
    case cmdid::VIEW_TOOLBAR:
        m_pMainBar->setVisible(!m_pMainBar->isVisible());
        m_pFormatBar->setVisible(m_pMainBar->isVisible());
        break;
    case cmdid::VIEW_STATUS_BAR:
        statusBar()->setVisible(!statusBar()->isVisible());
        break;
    case cmdid::APP_EXIT:
        close();
        break;
    case cmdid::HELP:
    case cmdid::HELP_FINDER:
        OnHelp();
        break;
    case cmdid::HELP_DOWNLOAD:
        m_OpenUrl(QUrl(QString::fromUtf8(frametext::URL_DOWNLOAD)));
        break;
    case cmdid::HELP_HOME_PAGE:
        m_OpenUrl(QUrl(QString::fromUtf8(frametext::URL_HOME)));
        break;
    case cmdid::HELP_SUPPORT:
        m_OpenUrl(QUrl(QString::fromUtf8(frametext::URL_SUPPORT)));
        break;
    case cmdid::CONTEXT_HELP:
    case cmdid::NEXT_PANE:
    case cmdid::PREV_PANE:
        break;  // one pane, no context help
    default:
        if (m_pView)
            m_pView->OnCommand(nId);
        break;
    }
    UpdateCommandStates();
}

// The help file lies in the current folder; without it nothing happens.
void CMainFrame::OnHelp()
{
    const QFileInfo help(QString::fromUtf8(frametext::HELP_FILE));
    if (help.exists())
        m_OpenUrl(QUrl::fromLocalFile(help.absoluteFilePath()));
}

void CMainFrame::PlaceAndShow(const QRect& rcScreen)
{
    const SPlacement placement = ReadPlacement(m_Key, rcScreen.width());
    if (placement.m_bFirstStart) {
        // A size of its own first, for window systems that do not maximise.
        setGeometry(rcScreen.adjusted(0, 0, -rcScreen.width() / 10, -rcScreen.height() / 10));
        showMaximized();
        return;
    }
    const SWinRect& rc = placement.m_Rect;
    const QRect frame(QPoint(rc.m_nLeft, rc.m_nTop), QPoint(rc.m_nRight - 1, rc.m_nBottom - 1));
    // The stored rectangle is the outer frame; the window system places the
    // frame from the position and sizes the inside.
    move(frame.topLeft());
    resize(frame.size().boundedTo(rcScreen.size()));
    if (placement.m_bMaximised)
        showMaximized();
    else
        show();
}

void CMainFrame::closeEvent(QCloseEvent* e)
{
    if (m_bClosing) {
        e->accept();
        return;
    }
    // The rectangle is saved first; then the sheet is offered for saving.
    // A minimised window keeps the rectangle it will be restored to.
    const QRect frame = isMinimized() ? QRect(normalGeometry()) : frameGeometry();
    SWinRect rc{frame.left(), frame.top(), frame.left() + frame.width(), frame.top() + frame.height()};
    if (isMaximized() && screen()) {
        // A maximised window is stored with left + right equal to the screen
        // width, which is how the next start knows to maximise again.
        rc.m_nRight = screen()->geometry().width() - rc.m_nLeft;
    }
    WriteClosingRect(m_Key, rc);
    if (m_pView)
        m_pView->SaveColumnWidths();
    // A sheet the user wanted saved but that was not saved (the file dialog
    // was cancelled, the write failed) keeps the window open.
    if (m_pView && !m_pView->Controller().BeforeClose()) {
        e->ignore();
        return;
    }
    m_bClosing = true;
    e->accept();
}
