// The window's controller over the sheet's own controller: every mouse
// action, key, command and dialog result of the view becomes a call of
// CSheetSession, so the desktop program edits, calculates, totals, undoes,
// copies and saves exactly as `qtx run` does. It also runs what only a
// window has: the system clipboard, the progress window of opening and
// saving, the autosave timer and the hand-over of the background
// recalculation to the window's thread.
#pragma once

#include "core/document/Autosave.h"
#include "core/engine/CalcState.h"
#include "core/session/SheetSession.h"
#include "ui/desktop/QtClipboard.h"
#include "ui/desktop/ViewController.h"

#include <QPointer>
#include <memory>

class CProgressPopup;
class CPrompt;
class CSettingsKey;
class QObject;
class QTimer;

class CSheetViewController : public CViewController {
public:
    CSheetViewController(const CSettingsKey& key, CPrompt& prompt);
    ~CSheetViewController() override;

    CSheetSession& Core() { return m_Core; }
    CAutosave& Autosave() { return m_Autosave; }

    SheetGrid& Sheet() override { return m_Core.Sheet(); }

    void RunCommand(int nId) override;
    bool IsCommandEnabled(int nId) override;
    bool IsCommandChecked(int nId) override;
    std::string CommandText(int nId) override;

    void ClickCell(int row, int col, bool bExtend) override;
    void DoubleClickCell(int row, int col) override;
    void ContextClickCell(int row, int col) override;
    void WheelStep(bool bTowardsUser) override;
    bool KeyDown(ESheetKey key) override;
    void SetPageRows(int rows) override { m_Core.SetPageRows(rows); }
    void TypeText(const std::string& text) override;

    bool EditorOpen() override;
    std::string EditorText() override;
    int EditorCaret() override;
    int EditorAnchor() override;
    void SetEditorState(const std::string& text, int caret, int anchor) override;

    std::vector<std::string> ItemList() override;
    int CurrentItem() override;
    void GoToItem(int nIndex) override;

    bool ConfirmBulkText(const std::string& text) override;
    void AfterSystemSettings() override;
    void AfterEditSettings(bool bOk, const SEditSettingsData& data) override;

    SCompareSource CompareSource() override;
    CPrintSelection* PrintSelection() override { return &m_Core.PrintSelection(); }
    bool PreparePrint(SPrintJob& job) override;

    std::string WindowTitle() override;
    bool BeforeClose() override;
    void OpenPendingFile(const std::string& path) override;
    void SetScreenSize(int width, int height) override;
    void FirstDisplay() override;
    void SetWindow(QWidget* pWindow) override;

    // The autosave timer's check, also run by tests: saves when due.
    // False when nothing was saved.
    bool AutosaveTick();
    // Waits for a background recalculation, delivers its messages and tells
    // the view; does nothing when none runs.
    void FinishRecalc();

private:
    class CDepth;
    void Changed();

    const CSettingsKey& m_Key;
    CPrompt& m_Prompt;
    CCalcState m_State;
    CQtClipboard m_Clipboard;
    CSheetSession m_Core;
    CSteadyClock m_Clock;
    CAutosave m_Autosave;
    std::unique_ptr<CProgressPopup> m_pProgress;
    std::unique_ptr<QObject> m_pReceiver;  // lives on the window's thread
    QTimer* m_pAutosaveTimer = nullptr;    // owned by m_pReceiver
    std::string m_strBulkText;
    int m_nDepth = 0;      // calls in progress (a dialog's event loop may re-enter)
    bool m_bBusy = false;  // a recalculation runs on the worker
};
