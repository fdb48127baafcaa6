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
    explicit CDepth(CSheetViewController& owner) : m_Owner(owner), m_Action(owner.m_Core.Messages())
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
      m_Core(m_State, key.Store(), prompt, m_Clipboard),
      m_Autosave(key.Store(), m_Core.Document(), m_Clock),
      m_pReceiver(std::make_unique<QObject>())
{
    m_Core.Document().SetAutosave(&m_Autosave);
    m_Clipboard.m_OnReplaced = [this]() { m_Prompt.ShowStatus(QToGbk(ReplacedCharsNotice())); };

    // The worker ends a recalculation on its own thread; the rest happens on
    // the window's thread. Posted to the receiver, so nothing arrives once
    // the controller has gone.
    QObject* pReceiver = m_pReceiver.get();
    m_Core.SetRecalcFinished([this, pReceiver]() {
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
    m_Core.CalcGrid().WaitForRecalc();
    m_Core.SetRecalcFinished(nullptr);
    m_Core.SetProgress(nullptr);
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
    m_Core.WaitForRecalc();  // joins the worker, shows its messages
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
    if (!m_Autosave.IsRunning() || m_Clock.NowMs() < m_Autosave.DueAt())
        return false;
    bool bSaved = false;
    {
        CDepth depth(*this);
        m_Core.CommitOpenEditor();  // what is being typed is saved too
        bSaved = m_Autosave.Tick();
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
        m_Core.AppendText(m_strBulkText);
        return;
    case cmdid::REMOVE_FROM_CELLS:
        m_Core.RemoveText(m_strBulkText);
        return;
    case cmdid::MORE_DECIMALS:
    case cmdid::FEWER_DECIMALS:
        // The sheet is recalculated on the worker; until it is done the view
        // neither draws nor edits it.
        m_bBusy = true;
        if (m_OnBusy)
            m_OnBusy(true);
        m_Core.RunCommand(nId);
        return;
    default:
        m_Core.RunCommand(nId);
        return;
    }
}

bool CSheetViewController::IsCommandEnabled(int nId)
{
    // Printing is not part of this program yet.
    if (IsDeferredCommand(nId))
        return false;
    return m_Core.IsCommandEnabled(nId);
}

CViewController::SCompareSource CSheetViewController::CompareSource()
{
    // A recalculation on the worker finishes first: the comparison copies
    // the sheet.
    FinishRecalc();
    SCompareSource source;
    source.m_strTitle = m_Core.Document().Title();
    source.m_nDecimals = m_State.m_nDecimals;
    source.m_pPrompt = &m_Prompt;
    return source;
}

bool CSheetViewController::IsCommandChecked(int nId)
{
    return nId == cmdid::INSERT_EXAMPLE && m_Core.Display().ExampleShown();
}

std::string CSheetViewController::CommandText(int nId)
{
    const int index = nId - cmdid::RECENT_FILE_1;
    if (index < 0 || index >= CSheetDocument::RECENT_COUNT || !m_Core.Document().RecentEnabled(index))
        return {};
    return m_Core.Document().RecentMenuText(index);
}

// ---------------------------------------------------------------------------
// Mouse and keys

void CSheetViewController::ClickCell(int row, int col, bool bExtend)
{
    FinishRecalc();
    CDepth depth(*this);
    if (bExtend)
        m_Core.ShiftClick(row, col);
    else
        m_Core.Click(row, col);
}

void CSheetViewController::DoubleClickCell(int row, int col)
{
    FinishRecalc();
    CDepth depth(*this);
    m_Core.Click(row, col);
    if (!m_Core.Editor().IsShown())
        m_Core.PressKey(SHEETKEY_OTHER);  // opens the editor on the cell
}

void CSheetViewController::ContextClickCell(int row, int col)
{
    FinishRecalc();
    CDepth depth(*this);
    const SheetGrid& sheet = m_Core.Sheet();
    // A click inside a selection of several cells keeps it for the menu's
    // commands; anywhere else the current cell follows the pointer.
    const bool single = sheet.Row() == sheet.RowSel() && sheet.Col() == sheet.ColSel();
    const bool inside = row >= std::min(sheet.Row(), sheet.RowSel()) && row <= std::max(sheet.Row(), sheet.RowSel())
        && col >= std::min(sheet.Col(), sheet.ColSel()) && col <= std::max(sheet.Col(), sheet.ColSel());
    if (single || !inside)
        m_Core.Click(row, col);
}

void CSheetViewController::WheelStep(bool bTowardsUser)
{
    FinishRecalc();
    CDepth depth(*this);
    m_Core.PressKey(bTowardsUser ? SHEETKEY_WHEEL_DOWN : SHEETKEY_WHEEL_UP);
}

bool CSheetViewController::KeyDown(ESheetKey key)
{
    FinishRecalc();
    CDepth depth(*this);
    m_Core.PressKey(key);
    return true;
}

void CSheetViewController::TypeText(const std::string& text)
{
    FinishRecalc();
    CDepth depth(*this);
    // One key press per character: the first opens the editor with the
    // cell's text, the others are typed at the caret.
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = std::max<std::size_t>(1, gbk::CharLength(text, i));
        m_Core.TypeChar(text.substr(i, length));
        i += length;
    }
}

// ---------------------------------------------------------------------------
// The editor

bool CSheetViewController::EditorOpen()
{
    return m_Core.Editor().IsShown();
}

std::string CSheetViewController::EditorText()
{
    return m_Core.Editor().Text();
}

int CSheetViewController::EditorCaret()
{
    return static_cast<int>(m_Core.Editor().Caret());
}

int CSheetViewController::EditorAnchor()
{
    const CCellEditor& editor = m_Core.Editor();
    if (!editor.HasSelection())
        return static_cast<int>(editor.Caret());
    return static_cast<int>(editor.Caret() == editor.SelectionStart() ? editor.SelectionEnd()
                                                                      : editor.SelectionStart());
}

void CSheetViewController::SetEditorState(const std::string& text, int caret, int anchor)
{
    CCellEditor& editor = m_Core.Editor();
    if (!editor.IsShown())
        return;
    if (editor.Text() != text)
        editor.Open(text);
    editor.SetSelection(static_cast<std::size_t>(std::max(anchor, 0)), static_cast<std::size_t>(std::max(caret, 0)));
}

// ---------------------------------------------------------------------------
// Summary item list

std::vector<std::string> CSheetViewController::ItemList()
{
    return m_Core.Summary().ItemEntries();
}

int CSheetViewController::CurrentItem()
{
    return m_Core.Summary().SelectedItem();
}

void CSheetViewController::GoToItem(int nIndex)
{
    FinishRecalc();
    CDepth depth(*this);
    m_Core.ChooseItem(nIndex);
}

// ---------------------------------------------------------------------------
// Dialogs

bool CSheetViewController::ConfirmBulkText(const std::string& text)
{
    // The check (with its message) and the storing of the text; the command
    // that follows the dialog applies it.
    CDepth depth(*this);
    if (!m_Core.Bulk().ConfirmText(text))
        return false;
    m_strBulkText = text;
    return true;
}

void CSheetViewController::AfterSystemSettings()
{
    // The document properties live in the settings: the sheet counts as
    // changed. The autosave interval may have changed too.
    m_Core.AfterSystemSettings();
    m_Autosave.Start();
}

void CSheetViewController::AfterEditSettings(bool bOk, const SEditSettingsData& data)
{
    (void)bOk;  // the dialog's data holds the colours to keep either way
    FinishRecalc();
    CDepth depth(*this);
    m_Core.AfterEditSettings(data);
}

// ---------------------------------------------------------------------------
// Printing

bool CSheetViewController::PreparePrint(SPrintJob& job)
{
    FinishRecalc();
    CDepth depth(*this);
    return m_Core.PreparePrint(job, LocalDate(std::time(nullptr)));
}

// ---------------------------------------------------------------------------
// Document and window

std::string CSheetViewController::WindowTitle()
{
    return m_Core.Document().WindowTitle();
}

bool CSheetViewController::BeforeClose()
{
    FinishRecalc();
    CDepth depth(*this);
    return m_Core.CanClose();
}

void CSheetViewController::OpenPendingFile(const std::string& path)
{
    FinishRecalc();
    CDepth depth(*this);
    m_Core.OpenPath(path);
}

void CSheetViewController::SetScreenSize(int width, int height)
{
    m_Core.CalcGrid().SetScreenSize(width, height);
}

void CSheetViewController::FirstDisplay()
{
    CDepth depth(*this);
    m_Core.Start();
    m_Autosave.Start();
    m_pAutosaveTimer->start();
}

void CSheetViewController::SetWindow(QWidget* pWindow)
{
    m_Core.SetProgress(nullptr);
    m_pProgress = std::make_unique<CProgressPopup>(pWindow);
    m_Core.SetProgress(m_pProgress.get());
}
