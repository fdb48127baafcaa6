#include "app/BasicController.h"

#include "document/CommandIds.h"
#include "app/Commands.h"
#include "engine/Prompt.h"
#include "settings/SettingsNames.h"
#include "settings/SettingsStore.h"
#include "settings/SheetSettings.h"

#include <algorithm>

namespace {

// Header templates: the wider one for a screen of exactly 1024 x 768.
// 序号 |    计算部位       |规格类别 ... | 单位   |引用
const char TEMPLATE_1024[] = "\xD0\xF2\xBA\xC5 |    \xBC\xC6\xCB\xE3\xB2\xBF\xCE\xBB       |\xB9\xE6\xB8\xF1\xC0\xE0\xB1\xF0               |\xBC\xC6\xCB\xE3\xB1\xED\xB4\xEF\xCA\xBD                                               | \xB5\xA5\xCE\xBB   |\xD2\xFD\xD3\xC3  ";
// 序号|   计算部位 |规格类别     |计算表达式 ... | 单位   |引用
const char TEMPLATE_OTHER[] = "\xD0\xF2\xBA\xC5|   \xBC\xC6\xCB\xE3\xB2\xBF\xCE\xBB |\xB9\xE6\xB8\xF1\xC0\xE0\xB1\xF0     |\xBC\xC6\xCB\xE3\xB1\xED\xB4\xEF\xCA\xBD                                       | \xB5\xA5\xCE\xBB   |\xD2\xFD\xD3\xC3  ";

const char TITLE_PREFIX[] = "\xBC\xC6\xC1\xBF\xB5\xD7\xB8\xE5" "1.54 -  ["; // 计量底稿1.54 -  [
const char NEW_PROJECT[] = "NewProject";
const char WARNING[] = "\xBE\xAF\xB8\xE6"; // 警告
const char NEEDS_EXPRESSION[] =
    "\xD4\xCB\xCB\xE3\xD7\xD6\xB7\xFB\xBA\xF3\xC3\xE6\xD2\xAA\xD3\xD0\xB1\xED\xB4\xEF\xCA\xBD\xA3\xA1"; // 运算字符后面要有表达式！

} // namespace

CBasicController::CBasicController(const CSettingsKey& key, CPrompt& prompt) : m_Key(key), m_Prompt(prompt) {}

void CBasicController::SetScreenSize(int width, int height)
{
    m_nScreenWidth = width;
    m_nScreenHeight = height;
}

void CBasicController::ResetSheet()
{
    m_bEditing = false;
    m_Sheet.SetRedraw(false);
    m_Sheet.SetFormatString(m_nScreenWidth == 1024 && m_nScreenHeight == 768 ? TEMPLATE_1024 : TEMPLATE_OTHER);
    m_Sheet.SetRows(1);
    m_Sheet.SetRows(36);
    m_Sheet.SetFixedCols(1);
    m_Sheet.SetFixedAlignment(1, ALIGN_CENTER_CENTER);
    m_Sheet.SetFixedRows(1);
    m_Sheet.Clear();
    SetHeaders();
    m_Sheet.SetRow(1);
    m_Sheet.SetCol(1);
    m_bModified = false;
    m_Sheet.SetRedraw(true);
}

void CBasicController::SetHeaders()
{
    const SSheetInitSettings init = ReadSheetInitSettings(m_Key);
    for (int col = 0; col < SHEET_COLS; ++col) {
        m_Sheet.SetColAlignment(col, init.m_ColAlign[col]);
        m_Sheet.SetTextMatrix(0, col, init.m_strHeader[col]);
        if (col > 0)
            m_Sheet.SetAlignmentAt(0, col, ALIGN_CENTER_CENTER);
    }
    m_clrError = init.m_clrErrorCell;
    m_clrSummary = init.m_clrSummaryRow;
}

bool CBasicController::IsCommandEnabled(int nId)
{
    if (IsDeferredCommand(nId) || nId == cmdid::CELL_FONT)
        return false;
    switch (nId) {
    case cmdid::FILE_OPEN:
    case cmdid::FILE_SAVE:
    case cmdid::FILE_SAVE_AS:
    case cmdid::EDIT_UNDO:
    case cmdid::EDIT_REDO:
    case cmdid::EDIT_CUT:
    case cmdid::EDIT_COPY:
    case cmdid::EDIT_PASTE:
    case cmdid::TOGGLE_SUMMARY:
    case cmdid::TOGGLE_MINUS:
    case cmdid::MORE_DECIMALS:
    case cmdid::FEWER_DECIMALS:
        return false;
    default:
        return !(nId >= cmdid::RECENT_FILE_1 && nId <= cmdid::RECENT_FILE_4);
    }
}

void CBasicController::RunCommand(int nId)
{
    const int r1 = std::min(m_Sheet.Row(), m_Sheet.RowSel());
    const int r2 = std::max(m_Sheet.Row(), m_Sheet.RowSel());
    switch (nId) {
    case cmdid::FILE_NEW:
        ResetSheet();
        break;
    case cmdid::INSERT_ROWS:
        Commit();
        m_Sheet.InsertRowsAt(r1, r2 - r1 + 1);
        m_bModified = true;
        break;
    case cmdid::DELETE_ROWS:
        Commit();
        if (r2 - r1 < m_Sheet.Rows() - 2) {
            m_Sheet.RemoveRowsAt(r1, r2 - r1 + 1);
            m_bModified = true;
        }
        break;
    case cmdid::EDIT_CLEAR: {
        Commit();
        const int c1 = std::min(m_Sheet.Col(), m_Sheet.ColSel());
        const int c2 = std::max(m_Sheet.Col(), m_Sheet.ColSel());
        for (int r = r1; r <= r2; ++r)
            for (int c = std::max(c1, 1); c <= c2; ++c)
                m_Sheet.SetTextMatrix(r, c, std::string());
        m_bModified = true;
        break;
    }
    case cmdid::ALIGN_LEFT:
    case cmdid::ALIGN_CENTER:
    case cmdid::ALIGN_RIGHT: {
        const int align = nId == cmdid::ALIGN_LEFT ? 1 : nId == cmdid::ALIGN_CENTER ? 4 : 7;
        const int col = std::clamp(m_Sheet.Col(), 1, 5);
        m_Key.WriteValue(settingsname::SEAT_SIGN[col - 1], std::to_string(10 * col + align));
        m_Sheet.SetColAlignment(col, align);
        break;
    }
    default:
        break;
    }
}

void CBasicController::OpenEditor(const std::string& typed)
{
    if (m_Sheet.Row() < 1 || m_Sheet.Col() < 1)
        return;
    if (m_Sheet.Row() > m_Sheet.Rows() - 10 && m_Sheet.Rows() < SHEET_MAX_ROWS)
        m_Sheet.SetRows(std::min(m_Sheet.Rows() + 10, SHEET_MAX_ROWS));
    std::string text = m_Sheet.Text();
    text.erase(std::remove(text.begin(), text.end(), '\n'), text.end());
    m_strEdit = text + typed;
    m_nCaret = m_nAnchor = static_cast<int>(m_strEdit.size());
    m_bEditing = true;
}

void CBasicController::Commit()
{
    if (!m_bEditing)
        return;
    m_bEditing = false;
    if (m_Sheet.Text() != m_strEdit) {
        m_Sheet.SetText(m_strEdit);
        m_bModified = true;
    }
    m_strEdit.clear();
}

void CBasicController::MoveTo(int row, int col)
{
    Commit();
    row = std::clamp(row, 1, m_Sheet.Rows() - 1);
    col = std::clamp(col, 1, SHEET_COLS - 1);
    m_Sheet.SetRow(row);
    m_Sheet.SetCol(col);
}

void CBasicController::ClickCell(int row, int col, bool bExtend)
{
    if (bExtend) {
        Commit();
        m_Sheet.SetRowSel(row);
        m_Sheet.SetColSel(col);
    } else {
        MoveTo(row, col);
    }
}

void CBasicController::DoubleClickCell(int row, int col)
{
    MoveTo(row, col);
    OpenEditor(std::string());
}

void CBasicController::ContextClickCell(int row, int col)
{
    if (m_Sheet.Row() == m_Sheet.RowSel() && m_Sheet.Col() == m_Sheet.ColSel())
        MoveTo(row, col);
}

void CBasicController::WheelStep(bool bTowardsUser)
{
    (void)bTowardsUser;
    Commit();
}

bool CBasicController::KeyDown(ESheetKey key, bool bShift, bool bCtrl)
{
    (void)bShift;
    (void)bCtrl;
    const int row = m_Sheet.Row();
    const int col = m_Sheet.Col();
    const int last = m_Sheet.Rows() - 1;
    switch (key) {
    case SHEETKEY_ENTER:
    case SHEETKEY_DOWN:
        MoveTo(row >= last ? 1 : row + 1, col);
        return true;
    case SHEETKEY_UP:
        MoveTo(std::max(row - 1, 1), col);
        return true;
    case SHEETKEY_LEFT:
        if (m_bEditing && !m_strEdit.empty())
            return false;
        if (col > 1)
            MoveTo(row, col - 1);
        else if (row > 1)
            MoveTo(row - 1, SHEET_COLS - 1);
        return true;
    case SHEETKEY_RIGHT:
        if (m_bEditing && !m_strEdit.empty())
            return false;
        if (col < SHEET_COLS - 1)
            MoveTo(row, col + 1);
        else
            MoveTo(row >= last ? 1 : row + 1, 1);
        return true;
    case SHEETKEY_INSERT:
        RunCommand(cmdid::INSERT_ROWS);
        return true;
    case SHEETKEY_DELETE:
        if (m_bEditing)
            return false;
        RunCommand(cmdid::EDIT_CLEAR);
        return true;
    case SHEETKEY_HOME:
    case SHEETKEY_END:
    case SHEETKEY_BACKSPACE:
        if (m_bEditing)
            return false;
        OpenEditor(std::string());
        return true;
    case SHEETKEY_ESCAPE:
        return true;
    default:
        if (!m_bEditing)
            OpenEditor(std::string());
        return !m_bEditing;
    }
}

void CBasicController::TypeText(const std::string& text)
{
    if (!m_bEditing) {
        OpenEditor(text);
        return;
    }
    const std::size_t caret = std::min<std::size_t>(static_cast<std::size_t>(m_nCaret), m_strEdit.size());
    m_strEdit.insert(caret, text);
    m_nCaret = m_nAnchor = static_cast<int>(caret + text.size());
}

void CBasicController::SetEditorState(const std::string& text, int caret, int anchor)
{
    if (!m_bEditing)
        return;
    m_strEdit = text;
    m_nCaret = caret;
    m_nAnchor = anchor;
}

bool CBasicController::ConfirmBulkText(const std::string& text)
{
    if (text.empty()) {
        m_Prompt.ShowMessage(NEEDS_EXPRESSION, WARNING);
        return false;
    }
    m_Key.WriteValue(settingsname::SELECT_ADD_SIGN, text);
    return true;
}

void CBasicController::AfterEditSettings(bool bOk, const SEditSettingsData& data)
{
    (void)bOk;
    m_clrError = data.m_clrError;
    m_clrSummary = data.m_clrSummary;
    m_Sheet.SetTextMatrix(0, COL_SEQ, settingsdefault::HEADER_SEQ);
    const char* const names[5] = {settingsname::COUNT_POSITION, settingsname::COUNT_SIZE,
                                  settingsname::COUNT_FORMULAR, settingsname::COUNT_UNIT, settingsname::COUNT_ORDER};
    for (int col = 1; col < SHEET_COLS; ++col)
        m_Sheet.SetTextMatrix(0, col, m_Key.ReadString(names[col - 1]));
}

std::string CBasicController::WindowTitle()
{
    return std::string(TITLE_PREFIX) + NEW_PROJECT + "]";
}
