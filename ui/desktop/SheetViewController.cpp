#include "ui/desktop/SheetViewController.h"

#include "core/engine/GbkText.h"
#include "core/engine/Prompt.h"
#include "core/session/CommandIds.h"
#include "core/settings/SettingsNames.h"
#include "core/settings/SettingsStore.h"
#include "ui/desktop/Commands.h"
#include "ui/desktop/GbkQt.h"
#include "ui/desktop/ProgressPopup.h"

#include <QApplication>
#include <QObject>
#include <QTimer>
#include <ctime>

// Keeps count of the calls in progress, so that a timer firing inside a
// dialog's event loop knows it must wait; when the outermost call ends, a
// file operation's progress window has surely let go of the main window.
class CSheetViewController::CDepth {
public:
    explicit CDepth(CSheetViewController& owner) : m_Owner(owner), m_Action(owner.m_Session.Messages())
    {
        ++m_Owner.m_nDepth;
    }
    ~CDepth()
    {
        if (--m_Owner.m_nDepth == 0 && m_Owner.m_pProgress)
            m_Owner.m_pProgress->Finished();
    }
    CDepth(const CDepth&) = delete;
    CDepth& operator=(const CDepth&) = delete;

private:
    CSheetViewController& m_Owner;
    CSheetSession::CUserAction m_Action;  // one user action: each message shown once
};

CSheetViewController::CSheetViewController(const CSettingsKey& key, CPrompt& prompt)
    : m_Key(key),
      m_Prompt(prompt),
      m_Session(m_State, key.Store(), prompt, m_Clipboard),
      m_pReceiver(std::make_unique<QObject>())
{
    m_Clipboard.m_OnReplaced = [this]() { m_Prompt.ShowStatus(QToGbk(ReplacedCharsNotice())); };

    // The worker ends a recalculation on its own thread; the rest happens on
    // the window's thread. Posted to the receiver, so nothing arrives once
    // the controller has gone.
    QObject* pReceiver = m_pReceiver.get();
    m_Session.SetRecalcFinished([this, pReceiver]() {
        QMetaObject::invokeMethod(
            pReceiver, [this]() { FinishRecalc(); }, Qt::QueuedConnection);
    });

    // The autosave schedule is checked once a second; the schedule itself
    // decides when a save is due.
    m_pAutosaveTimer = new QTimer(pReceiver);
    m_pAutosaveTimer->setInterval(1000);
    QObject::connect(m_pAutosaveTimer, &QTimer::timeout, pReceiver, [this]() { AutosaveTick(); });
}

CSheetViewController::~CSheetViewController()
{
    m_Session.CalcGrid().WaitForRecalc();
    m_Session.SetRecalcFinished(nullptr);
    m_Session.SetProgress(nullptr);
    m_pReceiver.reset();  // drops a delivery still queued
}

void CSheetViewController::Changed()
{
    if (m_OnChanged)
        m_OnChanged();
}

void CSheetViewController::FinishRecalc()
{
    if (!m_bBusy)
        return;
    m_Session.WaitForRecalc();  // joins the worker, shows its messages
    m_bBusy = false;
    if (m_OnBusy)
        m_OnBusy(false);
    Changed();
}

bool CSheetViewController::AutosaveTick()
{
    // Not inside another command (a message box or the progress window lets
    // timers through), not while a dialog is up, not during a recalculation.
    if (m_nDepth > 0 || m_bBusy || QApplication::activeModalWidget())
        return false;
    if (!m_Session.Autosave().IsDue())
        return false;
    bool bSaved = false;
    {
        CDepth depth(*this);
        bSaved = m_Session.AutosaveTick();
    }
    if (bSaved)
        Changed();
    return bSaved;
}

// ---------------------------------------------------------------------------
// Commands

void CSheetViewController::RunCommand(int nId)
{
    if (!IsCommandEnabled(nId))
        return;
    FinishRecalc();
    CDepth depth(*this);
    switch (nId) {
    case cmdid::APPEND_TO_CELLS:
        m_Session.AppendText(m_strBulkText);
        return;
    case cmdid::REMOVE_FROM_CELLS:
        m_Session.RemoveText(m_strBulkText);
        return;
    case cmdid::MORE_DECIMALS:
    case cmdid::FEWER_DECIMALS:
        // The sheet is recalculated on the worker; until it is done the view
        // neither draws nor edits it.
        m_bBusy = true;
        if (m_OnBusy)
            m_OnBusy(true);
        m_Session.RunCommand(nId);
        return;
    default:
        m_Session.RunCommand(nId);
        return;
    }
}

bool CSheetViewController::IsCommandEnabled(int nId)
{
    // Printing is not part of this program yet.
    if (IsDeferredCommand(nId))
        return false;
    return m_Session.IsCommandEnabled(nId);
}

CSheetViewController::SCompareSource CSheetViewController::CompareSource()
{
    // A recalculation on the worker finishes first: the comparison copies
    // the sheet.
    FinishRecalc();
    SCompareSource source;
    source.m_strTitle = m_Session.Document().Title();
    source.m_nDecimals = m_State.Decimals();
    return source;
}

bool CSheetViewController::IsCommandChecked(int nId)
{
    return nId == cmdid::INSERT_EXAMPLE && m_Session.Display().ExampleShown();
}

std::string CSheetViewController::CommandText(int nId)
{
    const int index = nId - cmdid::RECENT_FILE_1;
    if (index < 0 || index >= CSheetDocument::RECENT_COUNT || !m_Session.Document().RecentEnabled(index))
        return {};
    return m_Session.Document().RecentMenuText(index);
}

// ---------------------------------------------------------------------------
// Mouse and keys

void CSheetViewController::ClickCell(int row, int col, bool bExtend)
{
    FinishRecalc();
    CDepth depth(*this);
    if (bExtend)
        m_Session.ShiftClick(row, col);
    else
        m_Session.Click(row, col);
}

void CSheetViewController::DoubleClickCell(int row, int col)
{
    FinishRecalc();
    CDepth depth(*this);
    m_Session.Click(row, col);
    if (!m_Session.Editor().IsShown())
        m_Session.PressKey(SHEETKEY_OTHER);  // opens the editor on the cell
}

void CSheetViewController::ContextClickCell(int row, int col)
{
    FinishRecalc();
    CDepth depth(*this);
    const SheetGrid& sheet = m_Session.Sheet();
    // A click inside a selection of several cells keeps it for the menu's
    // commands; anywhere else the current cell follows the pointer.
    const bool single = sheet.Row() == sheet.RowSel() && sheet.Col() == sheet.ColSel();
    const bool inside = row >= std::min(sheet.Row(), sheet.RowSel()) && row <= std::max(sheet.Row(), sheet.RowSel())
        && col >= std::min(sheet.Col(), sheet.ColSel()) && col <= std::max(sheet.Col(), sheet.ColSel());
    if (single || !inside)
        m_Session.Click(row, col);
}

void CSheetViewController::PressKey(ESheetKey key)
{
    FinishRecalc();
    CDepth depth(*this);
    m_Session.PressKey(key);
}

void CSheetViewController::TypeText(const std::string& text)
{
    FinishRecalc();
    CDepth depth(*this);
    // One key press per character: the first opens the editor with the
    // cell's text, the others are typed at the caret.
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = std::max<std::size_t>(1, gbk::CharLength(text, i));
        m_Session.TypeChar(text.substr(i, length));
        i += length;
    }
}

// ---------------------------------------------------------------------------
// Summary item list and dialogs

void CSheetViewController::GoToItem(int nIndex)
{
    FinishRecalc();
    CDepth depth(*this);
    m_Session.ChooseItem(nIndex);
}

bool CSheetViewController::ConfirmBulkText(const std::string& text)
{
    // The check (with its message) and the storing of the text; the command
    // that follows the dialog applies it.
    CDepth depth(*this);
    if (!m_Session.Bulk().ConfirmText(text))
        return false;
    m_strBulkText = text;
    return true;
}

void CSheetViewController::AfterSystemSettings()
{
    // The document properties live in the settings: the sheet counts as
    // changed. The autosave interval may have changed too.
    m_Session.AfterSystemSettings();
    m_Session.Autosave().Start();
}

void CSheetViewController::AfterEditSettings(const SEditSettingsData& data)
{
    FinishRecalc();
    CDepth depth(*this);
    m_Session.AfterEditSettings(data);
}

// ---------------------------------------------------------------------------
// Printing

bool CSheetViewController::PreparePrint(SPrintJob& job)
{
    FinishRecalc();
    CDepth depth(*this);
    return m_Session.PreparePrint(job, LocalDate(std::time(nullptr)));
}

// ---------------------------------------------------------------------------
// Document and window

bool CSheetViewController::BeforeClose()
{
    FinishRecalc();
    CDepth depth(*this);
    return m_Session.CanClose();
}

void CSheetViewController::OpenPendingFile(const std::string& path)
{
    FinishRecalc();
    CDepth depth(*this);
    m_Session.OpenPath(path);
}

void CSheetViewController::FirstDisplay(QWidget* pWindow, int screenWidth, int screenHeight)
{
    m_Session.CalcGrid().SetScreenSize(screenWidth, screenHeight);
    m_Session.SetProgress(nullptr);
    m_pProgress = std::make_unique<CProgressPopup>(pWindow);
    m_Session.SetProgress(m_pProgress.get());

    CDepth depth(*this);
    m_Session.Start();
    m_Session.Autosave().Start();
    m_pAutosaveTimer->start();
}
