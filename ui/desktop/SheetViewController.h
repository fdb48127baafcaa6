// The window's controller over the sheet's session: every mouse action,
// key, command and dialog result of the view that changes the sheet goes
// through here to CSheetSession, so the desktop program edits, calculates,
// totals, undoes, copies and saves exactly as `qtx run` does. Each of these
// calls is one user action: a background recalculation is finished first,
// and messages are shown once. Plain reads (the sheet, the editor's state,
// the item list, the title) the view takes from the session itself.
//
// It also runs what only a window has: the system clipboard, the progress
// window of opening and saving, the autosave timer and the hand-over of the
// background recalculation to the window's thread.
#pragma once

#include "core/edit/SheetKeys.h"
#include "core/engine/CalcState.h"
#include "core/session/SheetSession.h"
#include "core/settings/SettingsDialogData.h"
#include "ui/desktop/QtClipboard.h"

#include <functional>
#include <memory>
#include <string>

class CProgressPopup;
class CPrompt;
class CSettingsKey;
class QObject;
class QTimer;
class QWidget;
struct SPrintJob;

class CSheetViewController {
public:
    CSheetViewController(const CSettingsKey& key, CPrompt& prompt);
    ~CSheetViewController();
    CSheetViewController(const CSheetViewController&) = delete;
    CSheetViewController& operator=(const CSheetViewController&) = delete;

    CSheetSession& Session() { return m_Session; }
    SheetGrid& Sheet() { return m_Session.Sheet(); }
    CAutosave& Autosave() { return m_Session.Autosave(); }

    // Commands by their numeric id (menus, tool bars, accelerators, context
    // menu). Commands with a dialog reach RunCommand only after their dialog
    // was confirmed; see the After... calls.
    void RunCommand(int nId);
    bool IsCommandEnabled(int nId);
    bool IsCommandChecked(int nId);
    // A menu text that changes at run time (the recent files); empty keeps
    // the text of the command table.
    std::string CommandText(int nId);

    // Mouse on a data cell. bExtend: the selection corner moves instead.
    void ClickCell(int row, int col, bool bExtend);
    void DoubleClickCell(int row, int col);
    // Right button: the current cell follows the pointer unless it is inside
    // a selection of several cells.
    void ContextClickCell(int row, int col);
    // A key on the grid or in the open editor, the wheel included. While the
    // editor is open the view hands its text, caret and anchor to the
    // session first and reads them back after.
    void PressKey(ESheetKey key);
    // Characters typed on the grid (the first opens the editor with the
    // cell's text) or committed by an input method.
    void TypeText(const std::string& text);
    // The user picked an entry of the tool bar's summary item list.
    void GoToItem(int nIndex);

    // The text dialog of the bulk edits: accept (and keep for the command
    // that follows) or refuse the text, showing the refusal itself.
    bool ConfirmBulkText(const std::string& text);
    // After the system settings dialog closed with OK.
    void AfterSystemSettings();
    // After the edit settings dialog closed, whichever way; data holds the
    // colours read when it opened, or the confirmed ones.
    void AfterEditSettings(const SEditSettingsData& data);

    // The open sheet's side of a comparison with another file: its title
    // (GBK) and the decimals it shows. Sheet() is complete when this
    // returns.
    struct SCompareSource {
        std::string m_strTitle;
        int m_nDecimals = 2;
    };
    SCompareSource CompareSource();
    CPrompt& Prompt() { return m_Prompt; }
    // A print or preview prepared from the sheet. False when there is
    // nothing to print; the user has been told.
    bool PreparePrint(SPrintJob& job);

    // The program is about to close: asks to save a modified sheet. False
    // keeps the window open (the user wanted the sheet saved and the save
    // did not happen).
    bool BeforeClose();
    // The file named on the command line, shortly after the first display.
    void OpenPendingFile(const std::string& path);
    // The view's first display: the screen size decides the header
    // template; settings are read and the sheet is set up. pWindow owns the
    // progress window and the message boxes.
    void FirstDisplay(QWidget* pWindow, int screenWidth, int screenHeight);

    // The autosave timer's check, also run by tests: saves when due.
    // False when nothing was saved.
    bool AutosaveTick();
    // Waits for a background recalculation, delivers its messages and tells
    // the view; does nothing when none runs.
    void FinishRecalc();

    // Set by the view. m_OnBusy(true): the sheet is being changed on another
    // thread and must be neither drawn nor edited until m_OnBusy(false).
    // m_OnChanged: the sheet, the title or the item list changed without a
    // call from the view (a timer, the end of a background recalculation).
    std::function<void(bool bBusy)> m_OnBusy;
    std::function<void()> m_OnChanged;

private:
    class CDepth;
    void Changed();

    const CSettingsKey& m_Key;
    CPrompt& m_Prompt;
    CCalcState m_State;
    CQtClipboard m_Clipboard;
    CSheetSession m_Session;
    std::unique_ptr<CProgressPopup> m_pProgress;
    std::unique_ptr<QObject> m_pReceiver;  // lives on the window's thread
    QTimer* m_pAutosaveTimer = nullptr;    // owned by m_pReceiver
    std::string m_strBulkText;
    int m_nDepth = 0;      // calls in progress (a dialog's event loop may re-enter)
    bool m_bBusy = false;  // a recalculation runs on the worker
};
