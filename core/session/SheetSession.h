// The open sheet with everything that edits it, as the main view sees it:
// the calculation grid, the in-cell editor, summary items, undo history,
// clipboard commands, bulk edits, display commands and the document with its
// file commands. The desktop program's view and `qtx run` both drive the
// sheet through this class: they turn clicks, keys and commands into calls
// here and redraw what changed.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "core/document/Autosave.h"
#include "core/document/SheetDocument.h"
#include "core/edit/BulkEdit.h"
#include "core/edit/CellEditor.h"
#include "core/edit/ClipboardOps.h"
#include "core/edit/CurrentCell.h"
#include "core/edit/DisplayCommands.h"
#include "core/edit/RowCommands.h"
#include "core/edit/SheetKeys.h"
#include "core/edit/SummaryItems.h"
#include "core/edit/UndoCommands.h"
#include "core/edit/UndoHistory.h"
#include "core/export/ExcelExport.h"
#include "core/print/PrintJob.h"
#include "core/print/PrintSelection.h"
#include "core/session/CommandIds.h"
#include "core/session/MessageGroup.h"
#include "core/settings/SettingsDialogData.h"
#include "core/settings/SettingsStore.h"
#include "core/sheet/CalcGrid.h"

class CProgress;

class CSheetSession {
public:
    CSheetSession(CCalcState& state, CSettingsStore& store, CPrompt& prompt, CClipboard& clipboard);
    ~CSheetSession();

    // The view's first display: the start-up reads of the settings, then a
    // new sheet.
    void Start();

    // Parts.
    CCalcGrid& CalcGrid() { return m_Grid; }
    SheetGrid& Sheet() { return m_Grid.Grid(); }
    CCellEditor& Editor() { return m_Editor; }
    const CSheetDocument& Document() const { return m_Document; }
    CSummaryItems& Summary() { return m_Summary; }
    UndoHistory& History() { return m_History; }
    CDisplayCommands& Display() { return m_Display; }
    CBulkEdit& Bulk() { return m_Bulk; }
    const CSettingsKey& Settings() { return m_Key; }
    CCalcState& State() { return m_State; }
    CPrompt& Prompt() { return m_Group; }
    // The messages of one user action, shown once each when it ends. Every
    // call of this class is one action; a caller that makes several calls
    // for one action of the user (or calls the parts directly) brackets
    // them with a CUserAction.
    CMessageGroup& Messages() { return m_Group; }
    using CUserAction = CMessageGroup::CAction;
    void SetProgress(CProgress* pProgress) { m_Document.SetProgress(pProgress); }
    // Waits for a recalculation of all rows and shows its messages.
    void WaitForRecalc();
    // Called on the worker thread when a recalculation of all rows ends; a
    // window posts the delivery of the queued messages to its own thread.
    void SetRecalcFinished(std::function<void()> onFinished) { m_Grid.SetRecalcFinished(std::move(onFinished)); }
    // New highlight colours (0x00BBGGRR) for the cells coloured from now on.
    void SetHighlightColours(std::uint32_t clrError, std::uint32_t clrSummary)
    {
        m_Grid.SetHighlightColors(clrError, clrSummary);
    }

    // The settings dialogs closed. The system settings hold the document's
    // properties, so their OK marks the sheet modified (the window restarts
    // its autosave timer itself). After the edit settings, however they
    // closed, the header row shows the stored labels again and the colour
    // mirrors take the dialog's colours (those read when it opened, or the
    // confirmed ones); cells already coloured keep their colour.
    void AfterSystemSettings();
    void AfterEditSettings(const SEditSettingsData& data);

    // Mouse: a click makes (row, col) current (the cell being left is
    // committed); a shift-click moves the selection corner.
    void Click(int row, int col);
    void ShiftClick(int row, int col);

    // Typing: TypeText replaces the editor's text with text (the editor is
    // opened on the current cell first); TypeChar is one key press of a
    // character (GBK, one or two bytes).
    bool TypeText(const std::string& text);
    void TypeChar(const std::string& ch);
    // Commits the open editor into the current cell as leaving the cell
    // does, without moving (recorded for undo).
    void CommitEditor();
    // Commits the editor, when it is open, into the cell it was opened on.
    // Everything that saves, replaces or closes the sheet does this first,
    // so that what was typed is saved, or asked about, with the sheet it
    // was typed in.
    void CommitOpenEditor();
    // The file named on the command line; the window closing (false keeps
    // it open).
    bool OpenPath(const std::string& path);
    bool CanClose();
    // The autosave schedule; the window starts it and lets it check once in a
    // while (true when a save was run).
    CAutosave& Autosave() { return m_Autosave; }
    bool AutosaveTick();
    // A key press on the sheet or in the open editor.
    void PressKey(ESheetKey key);
    // Rows that PageUp and PageDown move: what the window shows at once.
    // Without a window to measure (qtx), the rows a maximised window shows
    // on a common screen.
    static const int DEFAULT_PAGE_ROWS = 20;
    void SetPageRows(int rows) { m_nPageRows = rows > 0 ? rows : 1; }

    // Commands by id; false for an id the sheet does not handle here.
    bool RunCommand(int id);
    bool IsCommandEnabled(int id) const;

    // The bulk dialog confirmed with text, then its command.
    bool AppendText(const std::string& text);
    bool RemoveText(const std::string& text);

    // The Excel export commands (the summary items, or every row) with their
    // file dialog: the worksheet rows written, the title row included, or -1
    // when cancelled, refused or failed (the user has been told).
    int ExportExcel(bool bSummary);

    // The item list (tool bar): the Nth entry chosen, from 0.
    bool ChooseItem(int index);

    // Printing: the rows chosen for printing (for the program's run), and
    // the preparation of a print or a preview on the local date today.
    // False when there is nothing to print (the user has been told).
    CPrintSelection& PrintSelection() { return m_PrintSelection; }
    bool PreparePrint(SPrintJob& job, const SPrintDate& today);

private:
    // The new sheet: the grid's setup, no undo history, no items.
    void ResetSheet();
    // The file commands. The document asks, reads and writes; the sheet is
    // reset before a file is read into it, and what depends on its rows
    // follows here: the item list and the references after the sheet was
    // replaced, the undo history and the autosave interval after a save.
    bool NewFile();
    bool OpenFile();  // with the open-file dialog
    bool OpenFileAt(const std::string& path);
    bool OpenRecentFile(int index);
    bool SaveFile();
    bool SaveFileAs();
    // False when the command must be abandoned to keep unsaved work.
    bool GoOnAfterAsking(bool bNewTitle);
    bool LoadFile(const std::string& path);
    void AfterReplacing();
    bool AfterSave(bool bSaved);

    // The document counts as modified when bChanged.
    void NoteChange(bool bChanged);
    // The bulk dialog confirmed with text: appended to the selected
    // expressions, or removed from them.
    bool BulkText(const std::string& text, bool bAppend);
    // (row, col) made current; the cell left is committed (recorded for
    // undo, its item refreshed).
    void MoveCurrentCell(int row, int col);

    // Opens the editor on the current cell (typed: a character, or empty
    // for Enter and Backspace). False when the sheet refuses it.
    bool OpenEditor(const std::string& typed);
    // A key that moves the current cell, handled (false for any other);
    // the other keys edit the cell or run a command.
    bool MoveKey(ESheetKey key);
    void EditKey(ESheetKey key);
    void Enter();
    // The move of Enter in a direction of the settings ("DOWN", "RIGHT",
    // ...); an empty cell reached opens the editor.
    void EnterMove(const std::string& direction);
    void Arrow(ESheetKey key);
    // Moves that leave the cell as a click does: an open edit is committed
    // (recorded for undo) and nothing opens on the new cell.
    void PageMove(ESheetKey key);
    // Tab and Shift+Tab: the moves of Enter to the right and to the left.
    void TabMove(bool bBack);
    // Keys that act on the text of the open editor through the clipboard.
    void EditorClipboardKey(ESheetKey key);
    void Wheel(bool bDown);
    void OpenAndCommitNow(SCommitMode mode = SCommitMode());
    void CommitBeforeReplay();

    CCalcState& m_State;
    CSettingsKey m_Key;
    CMessageGroup m_Group;
    CCalcGrid m_Grid;
    CClipboard& m_SystemClipboard;
    CCellEditor m_Editor;
    UndoHistory m_History;
    CSummaryItems m_Summary;
    CCurrentCell m_Cell;
    CRowCommands m_Rows;
    CUndoCommands m_Undo;
    CClipboardOps m_Clipboard;
    CBulkEdit m_Bulk;
    CDisplayCommands m_Display;
    CSheetDocument m_Document;
    CSteadyClock m_Clock;
    CAutosave m_Autosave;
    CExcelExport m_Export;
    CPrintSelection m_PrintSelection;
    int m_nPageRows = DEFAULT_PAGE_ROWS;
    bool m_bTotalsStale = false;  // a recalculation of all rows left the totals behind
};
