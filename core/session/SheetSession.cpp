#include "core/session/SheetSession.h"

#include <algorithm>
#include <mutex>

#include "core/document/FileOps.h"
#include "core/settings/SettingsNames.h"
#include "core/settings/SheetSettings.h"

namespace {
using CLock = std::lock_guard<std::recursive_mutex>;
}

CSheetSession::CSheetSession(CCalcState& state, CSettingsStore& store, CPrompt& prompt, CClipboard& clipboard)
    : m_State(state),
      m_Key(store),
      m_Group(prompt),
      m_Grid(state, m_Key),
      m_SystemClipboard(clipboard),
      m_Summary(m_Grid, m_History, m_Group),
      m_Cell(m_Grid, m_Editor, m_History, m_Summary),
      m_Rows(m_Grid, m_Summary, m_History),
      m_Undo(m_Grid, m_History, m_Summary, m_Rows),
      m_Clipboard(m_Grid, m_Cell, m_Summary, m_History, m_Group, clipboard),
      m_Bulk(m_Grid, m_Cell, m_Summary, m_Group, m_Key),
      m_Display(m_Grid, m_Cell, m_Summary, m_Group, m_Key),
      m_Document(store, m_Group),
      m_Autosave(store, m_Clock),
      m_Export(m_Group)
{
    m_State.SetPrompt(&m_Group);
    m_Group.SetSettingsStore(&store);
}

CSheetSession::~CSheetSession()
{
    m_Grid.WaitForRecalc();
}

void CSheetSession::Start()
{
    CUserAction action(m_Group);
    CLock lock(m_Grid.Mutex());
    const SStartupSettings startup = ReadStartupSettings(m_Key);
    m_State.SetDecimals(startup.m_nDecimals);
    m_Display.SetExampleShown(startup.m_bExampleShow);
    m_Document.LoadRecentList();
    ResetSheet();
}

void CSheetSession::ResetSheet()
{
    m_Grid.ResetSheet();
    m_History.ResetHistory();
    m_Summary.RefreshItemList();
    m_Summary.CheckUnitLists();
}

void CSheetSession::NoteChange(bool bChanged)
{
    // Whatever the action, rows in other items that its values reached
    // through names get their items' totals now, before any later action
    // can move them.
    m_Summary.RefreshItemsOfRows(m_Grid.TakeRecalculatedUsers());
    if (bChanged)
        m_Document.SetModified(true);
}

void CSheetSession::WaitForRecalc()
{
    CUserAction action(m_Group);
    m_Grid.WaitForRecalc();
    if (!m_bTotalsStale)
        return;
    // The rows show the new decimals now: the totals and unit lists follow
    // in the same pass.
    CLock lock(m_Grid.Mutex());
    m_bTotalsStale = false;
    m_Summary.RecomputeStretch(1, Sheet().Rows() - 1);
    m_Summary.RefreshUnitLists();
}

void CSheetSession::Click(int row, int col)
{
    CUserAction action(m_Group);
    CLock lock(m_Grid.Mutex());
    SheetGrid& sheet = Sheet();
    row = std::max(1, std::min(row, sheet.Rows() - 1));
    col = std::max(1, std::min(col, SHEET_COLS - 1));
    if (row == sheet.Row() && col == sheet.Col()) {
        // A click on the current cell only collapses the selection.
        sheet.SetRowSel(row);
        sheet.SetColSel(col);
        return;
    }
    MoveCurrentCell(row, col);
}

void CSheetSession::ShiftClick(int row, int col)
{
    CUserAction action(m_Group);
    CLock lock(m_Grid.Mutex());
    SheetGrid& sheet = Sheet();
    sheet.SetRowSel(std::max(1, std::min(row, sheet.Rows() - 1)));
    sheet.SetColSel(std::max(1, std::min(col, SHEET_COLS - 1)));
}

bool CSheetSession::TypeText(const std::string& text)
{
    CUserAction action(m_Group);
    CLock lock(m_Grid.Mutex());
    if (!OpenEditor(std::string()))
        return false;
    m_Editor.Open(text);
    return true;
}

void CSheetSession::TypeChar(const std::string& ch)
{
    CUserAction action(m_Group);
    CLock lock(m_Grid.Mutex());
    if (m_Editor.IsShown())
        m_Editor.TypeText(ch);
    else
        OpenEditor(ch);
}

void CSheetSession::CommitEditor()
{
    CUserAction action(m_Group);
    CLock lock(m_Grid.Mutex());
    NoteChange(m_Cell.Commit());
}

void CSheetSession::CommitOpenEditor()
{
    CUserAction action(m_Group);
    CLock lock(m_Grid.Mutex());
    if (m_Editor.IsShown())
        NoteChange(m_Cell.Commit());
}

bool CSheetSession::OpenPath(const std::string& path)
{
    CUserAction action(m_Group);
    CLock lock(m_Grid.Mutex());
    CommitOpenEditor();
    return OpenFileAt(path);
}

bool CSheetSession::CanClose()
{
    CUserAction action(m_Group);
    CLock lock(m_Grid.Mutex());
    CommitOpenEditor();
    return GoOnAfterAsking(false);
}

void CSheetSession::MoveCurrentCell(int row, int col)
{
    NoteChange(m_Cell.MoveTo(row, col));
}

bool CSheetSession::OpenEditor(const std::string& typed)
{
    return m_Cell.OpenEditor(typed);
}

void CSheetSession::OpenAndCommitNow(SCommitMode mode)
{
    NoteChange(m_Cell.OpenAndCommit(mode));
}

void CSheetSession::PressKey(ESheetKey key)
{
    CUserAction action(m_Group);
    CLock lock(m_Grid.Mutex());
    if (!MoveKey(key))
        EditKey(key);
}

bool CSheetSession::MoveKey(ESheetKey key)
{
    switch (key) {
    case SHEETKEY_ENTER:
        Enter();
        return true;
    case SHEETKEY_UP:
    case SHEETKEY_DOWN:
        Arrow(key);
        return true;
    case SHEETKEY_LEFT:
    case SHEETKEY_RIGHT:
        // The editor keeps Left and Right while it holds text.
        if (!m_Editor.IsShown() || !m_Editor.PressKey(key))
            Arrow(key);
        return true;
    case SHEETKEY_WHEEL_DOWN:
    case SHEETKEY_WHEEL_UP:
        Wheel(key == SHEETKEY_WHEEL_DOWN);
        return true;
    case SHEETKEY_PAGE_UP:
    case SHEETKEY_PAGE_DOWN:
    case SHEETKEY_CTRL_HOME:
    case SHEETKEY_CTRL_END:
        PageMove(key);
        return true;
    case SHEETKEY_TAB:
    case SHEETKEY_SHIFT_TAB:
        TabMove(key == SHEETKEY_SHIFT_TAB);
        return true;
    default:
        return false;
    }
}

void CSheetSession::EditKey(ESheetKey key)
{
    const bool open = m_Editor.IsShown();
    switch (key) {
    case SHEETKEY_ESCAPE:
        // Esc gives the edit up: the cell keeps the text it had, and as
        // nothing is committed there is no undo step and no calculation.
        if (open)
            m_Editor.Hide();
        return;
    case SHEETKEY_INSERT:
    case SHEETKEY_F2:
        // The view handles these even while the editor is open; on the
        // sheet the key then opens the editor on the current cell.
        RunCommand(key == SHEETKEY_INSERT ? cmdid::INSERT_ROWS : cmdid::TOGGLE_SUMMARY);
        if (!open)
            OpenEditor(std::string());
        return;
    case SHEETKEY_DELETE:
        if (open) {
            m_Editor.PressKey(SHEETKEY_DELETE);
        } else {
            m_Clipboard.Clear();
            OpenEditor(std::string());
        }
        return;
    case SHEETKEY_CTRL_C:
    case SHEETKEY_CTRL_X:
    case SHEETKEY_CTRL_V:
        if (open) {
            EditorClipboardKey(key);
            return;
        }
        // On the sheet they are the accelerators of the clipboard commands.
        RunCommand(key == SHEETKEY_CTRL_C       ? cmdid::EDIT_COPY
                       : key == SHEETKEY_CTRL_X ? cmdid::EDIT_CUT
                                                : cmdid::EDIT_PASTE);
        return;
    default:
        break;
    }
    if (!open) {
        // Any other key opens the editor on the current cell; Ctrl+A then
        // selects what it opened with.
        if (OpenEditor(std::string()) && key == SHEETKEY_CTRL_A)
            m_Editor.PressKey(key);
        return;
    }
    m_Editor.PressKey(key);
}

void CSheetSession::EditorClipboardKey(ESheetKey key)
{
    if (key == SHEETKEY_CTRL_V) {
        std::string text;
        if (m_SystemClipboard.GetText(text) != CClipboard::CLIP_TEXT || text.empty())
            return;
        // One cell takes no cell or line separators: they become blanks,
        // which the commit removes like the others.
        std::string pasted;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const char c = text[i];
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                continue;
            pasted += (c == '\t' || c == '\r' || c == '\n') ? ' ' : c;
        }
        m_Editor.TypeText(pasted);
        return;
    }
    if (!m_Editor.HasSelection())
        return;
    // A clipboard that cannot be opened keeps the text where it is.
    if (!m_SystemClipboard.SetText(m_Editor.SelectedText()))
        return;
    if (key == SHEETKEY_CTRL_X)
        m_Editor.PressKey(SHEETKEY_DELETE);
}

void CSheetSession::Enter()
{
    EnterMove(ReadEnterDirection(m_Key));
}

void CSheetSession::EnterMove(const std::string& direction)
{
    SheetGrid& sheet = Sheet();
    int row = sheet.Row();
    int col = sheet.Col();
    EnterTarget(direction, sheet.Rows(), row, col);
    // Where the key does not move, an open editor keeps what was typed.
    if (row == sheet.Row() && col == sheet.Col() && m_Editor.IsShown())
        return;
    MoveCurrentCell(row, col);
    if (sheet.Text().empty())
        OpenEditor(std::string());
}

void CSheetSession::Arrow(ESheetKey key)
{
    SheetGrid& sheet = Sheet();
    int row = sheet.Row();
    int col = sheet.Col();
    const EArrow arrow = key == SHEETKEY_LEFT ? ARROW_LEFT
        : key == SHEETKEY_RIGHT               ? ARROW_RIGHT
        : key == SHEETKEY_UP                  ? ARROW_UP
                                              : ARROW_DOWN;
    ArrowTarget(arrow, sheet.Rows(), row, col);
    // Where the arrow does not move (Up on row 1), an open editor keeps
    // what was typed.
    if (row == sheet.Row() && col == sheet.Col() && m_Editor.IsShown())
        return;
    // The cell left is committed like any other (a change is a step of its
    // own); passing the new cell through the editor changes nothing that
    // needs one.
    MoveCurrentCell(row, col);
    if (sheet.Text().empty())
        OpenEditor(std::string());
    else if (key == SHEETKEY_UP || key == SHEETKEY_DOWN)
        OpenAndCommitNow();  // the text passes through the editor once
}

void CSheetSession::PageMove(ESheetKey key)
{
    SheetGrid& sheet = Sheet();
    const int last = sheet.Rows() - 1;
    int row = sheet.Row();
    switch (key) {
    case SHEETKEY_PAGE_UP: row = std::max(1, row - m_nPageRows); break;
    case SHEETKEY_PAGE_DOWN: row = std::min(last, row + m_nPageRows); break;
    case SHEETKEY_CTRL_HOME: row = 1; break;
    default:
        // The last row with anything in it; an empty sheet has row 1.
        row = 1;
        for (int r = last; r > 1; --r) {
            bool bEmpty = true;
            for (int col = 0; col < SHEET_COLS && bEmpty; ++col)
                bEmpty = sheet.TextMatrix(r, col).empty();
            if (!bEmpty) {
                row = r;
                break;
            }
        }
        break;
    }
    // Where the key does not move, an open editor keeps what was typed.
    if (row != sheet.Row())
        MoveCurrentCell(row, sheet.Col());
}

void CSheetSession::TabMove(bool bBack)
{
    EnterMove(bBack ? "LEFT" : "RIGHT");
}

void CSheetSession::Wheel(bool bDown)
{
    // The wheel passes cells by the dozen: their items are left as they are.
    SheetGrid& sheet = Sheet();
    SCommitMode mode;
    mode.m_bRefreshItem = false;
    auto moveTo = [&](int row, int col) { NoteChange(m_Cell.MoveTo(row, col, mode)); };
    if (bDown) {
        if (sheet.Row() < sheet.Rows() - 1)
            moveTo(sheet.Row() + 1, sheet.Col());
    } else if (sheet.Row() == 2 && sheet.Col() != COL_POSITION) {
        const int col = sheet.Col();
        moveTo(1, COL_POSITION);
        OpenAndCommitNow(mode);
        moveTo(1, col);
    } else if (sheet.Row() > 1) {
        moveTo(sheet.Row() - 1, sheet.Col());
    }
    OpenAndCommitNow(mode);
}

bool CSheetSession::RunCommand(int id)
{
    CUserAction action(m_Group);
    if (id == cmdid::MORE_DECIMALS || id == cmdid::FEWER_DECIMALS) {
        // The recalculation runs on its own thread and takes the lock itself;
        // the totals follow when it is waited for.
        m_bTotalsStale = true;
        if (id == cmdid::MORE_DECIMALS)
            m_Grid.MoreDecimals();
        else
            m_Grid.FewerDecimals();
        return true;
    }
    CLock lock(m_Grid.Mutex());
    const bool recent = id >= cmdid::RECENT_FILE_1 && id < cmdid::RECENT_FILE_1 + CSheetDocument::RECENT_COUNT;
    // What is being typed goes into its own cell before the command moves,
    // replaces or saves the rows.
    if (recent || id == cmdid::FILE_NEW || id == cmdid::FILE_OPEN || id == cmdid::FILE_SAVE || id == cmdid::FILE_SAVE_AS
        || id == cmdid::TOGGLE_SUMMARY || id == cmdid::INSERT_ROWS || id == cmdid::DELETE_ROWS)
        CommitOpenEditor();
    if (recent) {
        OpenRecentFile(id - cmdid::RECENT_FILE_1);
        return true;
    }
    switch (id) {
    case cmdid::FILE_NEW: NewFile(); break;
    case cmdid::FILE_OPEN: OpenFile(); break;
    case cmdid::FILE_SAVE: SaveFile(); break;
    case cmdid::FILE_SAVE_AS: SaveFileAs(); break;
    case cmdid::EDIT_UNDO:
    case cmdid::EDIT_REDO: {
        const bool bUndo = id == cmdid::EDIT_UNDO;
        if (bUndo ? m_History.CanUndo() : m_History.CanRedo())
            CommitBeforeReplay();
        NoteChange(m_Undo.Step(bUndo));
        break;
    }
    case cmdid::EDIT_CUT: NoteChange(m_Clipboard.Cut()); break;
    case cmdid::EDIT_COPY: NoteChange(m_Clipboard.Copy()); break;
    case cmdid::EDIT_PASTE: NoteChange(m_Clipboard.Paste()); break;
    case cmdid::EDIT_CLEAR: NoteChange(m_Clipboard.Clear()); break;
    case cmdid::INSERT_ROWS: NoteChange(m_Rows.InsertRows()); break;
    case cmdid::DELETE_ROWS: NoteChange(m_Rows.DeleteRows()); break;
    case cmdid::TOGGLE_SUMMARY: NoteChange(m_Summary.ToggleSummary()); break;
    case cmdid::TOGGLE_MINUS: NoteChange(m_Bulk.ToggleMinus()); break;
    case cmdid::ALIGN_LEFT: NoteChange(m_Display.AlignLeft()); break;
    case cmdid::ALIGN_CENTER: NoteChange(m_Display.AlignCenter()); break;
    case cmdid::ALIGN_RIGHT: NoteChange(m_Display.AlignRight()); break;
    case cmdid::INSERT_EXAMPLE: NoteChange(m_Display.InsertExample()); break;
    case cmdid::EXPORT_SUMMARY_XLS: ExportExcel(true); break;
    case cmdid::EXPORT_ALL_XLS: ExportExcel(false); break;
    default: return false;
    }
    return true;
}

bool CSheetSession::IsCommandEnabled(int id) const
{
    switch (id) {
    case cmdid::CELL_FONT:
        return false;  // the sheet keeps one font
    case cmdid::EDIT_UNDO:
        return m_History.CanUndo();
    case cmdid::EDIT_REDO:
        return m_History.CanRedo();
    default:
        if (id >= cmdid::RECENT_FILE_1 && id < cmdid::RECENT_FILE_1 + CSheetDocument::RECENT_COUNT)
            return m_Document.RecentEnabled(id - cmdid::RECENT_FILE_1);
        return true;
    }
}

bool CSheetSession::AppendText(const std::string& text)
{
    return BulkText(text, true);
}

bool CSheetSession::RemoveText(const std::string& text)
{
    return BulkText(text, false);
}

bool CSheetSession::BulkText(const std::string& text, bool bAppend)
{
    CUserAction action(m_Group);
    CLock lock(m_Grid.Mutex());
    if (!m_Bulk.ConfirmText(text))
        return false;
    NoteChange(bAppend ? m_Bulk.AppendToCells() : m_Bulk.RemoveFromCells());
    return true;
}

int CSheetSession::ExportExcel(bool bSummary)
{
    CUserAction action(m_Group);
    CLock lock(m_Grid.Mutex());
    // The names as the engine reads them, for the live formulas.
    m_Grid.RebuildRefTable();
    excelexport::SInput input;
    input.m_pGrid = &Sheet();
    input.m_pRefTable = &m_State.RefTable();
    return m_Export.Run(bSummary, input, m_Document.ProposedPath());
}

bool CSheetSession::ChooseItem(int index)
{
    CUserAction action(m_Group);
    CLock lock(m_Grid.Mutex());
    const int row = m_Summary.ChooseItem(index);
    if (row < 0)
        return false;
    MoveCurrentCell(row, COL_POSITION);
    OpenAndCommitNow();
    return true;
}

bool CSheetSession::PreparePrint(SPrintJob& job, const SPrintDate& today)
{
    CLock lock(m_Grid.Mutex());
    CUserAction action(m_Group);
    const std::string path = m_Document.Path().empty() ? std::string() : docfile::NativePath(m_Document.Path());
    return PreparePrintJob(Sheet(), m_PrintSelection, m_Key, path, m_Document.Title(), today, m_Group, job);
}

void CSheetSession::CommitBeforeReplay()
{
    // Undo and redo select the rectangle of their step, which leaves the
    // current cell: an open editor is committed into its own cell first, as
    // part of the replay and so without a step of its own. Left open, its
    // text would later land in the cell the replay made current.
    if (!m_Editor.IsShown())
        return;
    SCommitMode mode;
    mode.m_bRecord = false;
    NoteChange(m_Cell.Commit(mode));
}

void CSheetSession::AfterSystemSettings()
{
    CUserAction action(m_Group);
    CLock lock(m_Grid.Mutex());
    m_Document.SetModified(true);
}

void CSheetSession::AfterEditSettings(const SEditSettingsData& data)
{
    CUserAction action(m_Group);
    CLock lock(m_Grid.Mutex());
    static const char* const LABELS[SHEET_COLS - 1] = {settingsname::COUNT_POSITION, settingsname::COUNT_SIZE,
                                                       settingsname::COUNT_FORMULAR, settingsname::COUNT_UNIT,
                                                       settingsname::COUNT_ORDER};
    SheetGrid& sheet = Sheet();
    sheet.SetTextMatrix(0, COL_SEQ, settingsdefault::HEADER_SEQ);
    for (int col = COL_POSITION; col < SHEET_COLS; ++col)
        sheet.SetTextMatrix(0, col, m_Key.ReadString(LABELS[col - 1]));
    m_Grid.SetHighlightColors(data.m_clrError, data.m_clrSummary);
}
