// What the window layer asks of the sheet's controller. The view maps
// mouse, keys and commands to these calls and redraws from the sheet
// afterwards; it holds no sheet logic of its own. Texts are GBK; rows and
// columns are counted as the sheet counts them (row 0 the header, column 0
// the item numbers).
#pragma once

#include "core/edit/SheetKeys.h"
#include "core/settings/SettingsDialogData.h"

#include <functional>
#include <string>
#include <vector>

class CPrompt;
class CPrintSelection;
class SheetGrid;
class QWidget;
struct SPrintJob;

class CViewController {
public:
    virtual ~CViewController() = default;

    virtual SheetGrid& Sheet() = 0;

    // Commands by their numeric id (menus, tool bars, accelerators, context
    // menu). Dialog commands (32775, 32812, 32807, 32829) reach RunCommand
    // only after their dialog was confirmed; see the After... hooks.
    virtual void RunCommand(int nId) = 0;
    virtual bool IsCommandEnabled(int nId) = 0;
    virtual bool IsCommandChecked(int nId)
    {
        (void)nId;
        return false;
    }
    // A menu text that changes at run time (the recent files); empty keeps
    // the text of the command table.
    virtual std::string CommandText(int nId)
    {
        (void)nId;
        return {};
    }

    // Mouse on a data cell. bExtend: the selection corner moves instead.
    virtual void ClickCell(int row, int col, bool bExtend) = 0;
    virtual void DoubleClickCell(int row, int col) = 0;
    // Right button: the current cell follows the pointer unless it is inside
    // a selection of several cells; the view shows the context menu
    // afterwards.
    virtual void ContextClickCell(int row, int col) = 0;
    virtual void WheelStep(bool bTowardsUser) = 0;

    // A key pressed on the grid or in the open editor; true when it was
    // consumed. While the editor is open the view passes the editor's text,
    // caret and anchor first (SetEditorState) and reads them back after.
    virtual bool KeyDown(ESheetKey key) = 0;
    // The rows the window shows at once: the step of PageUp and PageDown.
    virtual void SetPageRows(int rows) { (void)rows; }
    // Characters typed on the grid (opens the editor with the cell's text
    // and the characters) or committed by an input method.
    virtual void TypeText(const std::string& text) = 0;

    // The in-cell editor: open or not, and its text, caret and anchor as
    // byte offsets into the text.
    virtual bool EditorOpen() = 0;
    virtual std::string EditorText() = 0;
    virtual int EditorCaret() = 0;
    virtual int EditorAnchor() = 0;
    // The user changed the editor's text in place (typing, input method).
    virtual void SetEditorState(const std::string& text, int caret, int anchor) = 0;

    // The summary item list of the tool bar: entries and the selected one
    // (-1 for none); GoToItem when the user picks one.
    virtual std::vector<std::string> ItemList() { return {}; }
    virtual int CurrentItem() { return -1; }
    virtual void GoToItem(int nIndex) { (void)nIndex; }

    // The text dialog of the bulk edits: accept (and store) or refuse the
    // text, showing the refusal itself.
    virtual bool ConfirmBulkText(const std::string& text) = 0;
    // After the system settings dialog closed with OK.
    virtual void AfterSystemSettings() = 0;
    // After the edit settings dialog closed, whichever way; data holds the
    // colours read when it opened, or the confirmed ones.
    virtual void AfterEditSettings(bool bOk, const SEditSettingsData& data) = 0;

    // The open sheet's side of a comparison with another file: its title
    // (GBK), the decimals it shows and the user's prompt (none: no
    // comparison). The sheet itself is Sheet(), complete when this returns.
    struct SCompareSource {
        std::string m_strTitle;
        int m_nDecimals = 2;
        CPrompt* m_pPrompt = nullptr;
    };
    virtual SCompareSource CompareSource() { return {}; }
    // Printing: the rows chosen for printing (none: printing is not
    // offered), and a print or preview prepared from the sheet. False when
    // there is nothing to print; the user has been told.
    virtual CPrintSelection* PrintSelection() { return nullptr; }
    virtual bool PreparePrint(SPrintJob& job)
    {
        (void)job;
        return false;
    }

    // The main window's caption (GBK), and whether the sheet has unsaved
    // changes (asked when the window closes).
    virtual std::string WindowTitle() = 0;
    // Called when the program is about to close: asks to save a modified
    // sheet. False keeps the window open (the user wanted the sheet saved
    // and the save did not happen).
    virtual bool BeforeClose() { return true; }
    // The file named on the command line, 800 ms after the first display.
    virtual void OpenPendingFile(const std::string& path) { (void)path; }
    // The view's first display: settings read, sheet set up. The screen
    // size decides the header template.
    virtual void SetScreenSize(int width, int height)
    {
        (void)width;
        (void)height;
    }
    virtual void FirstDisplay() {}
    // The main window, just before the first display: owner of the
    // progress window and of the message boxes.
    virtual void SetWindow(QWidget* pWindow) { (void)pWindow; }

    // Set by the view. m_OnBusy(true): the sheet is being changed on another
    // thread and must be neither drawn nor edited until m_OnBusy(false).
    // m_OnChanged: the sheet, the title or the item list changed without a
    // call from the view (a timer, the end of a background recalculation).
    std::function<void(bool bBusy)> m_OnBusy;
    std::function<void()> m_OnChanged;
};
