#include "core/edit/CellEditor.h"

#include <algorithm>

#include "core/engine/ExprText.h"
#include "core/engine/GbkText.h"
#include "core/sheet/SheetGrid.h"

void CCellEditor::Open(const std::string& text)
{
    m_bShown = true;
    m_strText = text;
    m_nCaret = m_nAnchor = m_strText.size();
}

void CCellEditor::Hide()
{
    m_bShown = false;
    m_strText.clear();
    m_nCaret = m_nAnchor = 0;
}

std::size_t CCellEditor::PrevChar(std::size_t pos) const
{
    // The start of the character that ends at pos.
    std::size_t start = 0;
    for (std::size_t i = 0; i < pos; i += gbk::CharLength(m_strText, i))
        start = i;
    return start;
}

std::size_t CCellEditor::NextChar(std::size_t pos) const
{
    return std::min(m_strText.size(), pos + gbk::CharLength(m_strText, pos));
}

void CCellEditor::SetCaret(std::size_t caret)
{
    SetSelection(caret, caret);
}

void CCellEditor::SetSelection(std::size_t anchor, std::size_t caret)
{
    // Positions inside a double-byte character fall back to its start.
    auto snap = [this](std::size_t pos) {
        pos = std::min(pos, m_strText.size());
        return gbk::IsCharStart(m_strText, pos) ? pos : PrevChar(pos);
    };
    m_nAnchor = snap(anchor);
    m_nCaret = snap(caret);
}

void CCellEditor::ReplaceSelection(const std::string& text)
{
    const std::size_t start = SelectionStart();
    m_strText.replace(start, SelectionEnd() - start, text);
    m_nCaret = m_nAnchor = start + text.size();
}

void CCellEditor::TypeText(const std::string& chars)
{
    ReplaceSelection(chars);
}

void CCellEditor::Wrap(const char* open, const char* close, bool bCaretInside)
{
    const std::string o(open), c(close);
    if (HasSelection()) {
        const std::size_t start = SelectionStart(), end = SelectionEnd();
        m_strText.insert(end, c);
        m_strText.insert(start, o);
        m_nCaret = m_nAnchor = end + o.size() + c.size();
        return;
    }
    m_strText.insert(m_nCaret, o + c);
    m_nCaret = m_nAnchor = m_nCaret + (bCaretInside ? o.size() : o.size() + c.size());
}

bool CCellEditor::MoveCaret(ESheetKey key)
{
    const std::size_t n = m_strText.size();
    switch (key) {
    case SHEETKEY_END: SetCaret(n); break;
    case SHEETKEY_HOME: SetCaret(0); break;
    case SHEETKEY_SHIFT_END: m_nCaret = n; break;
    case SHEETKEY_SHIFT_HOME: m_nCaret = 0; break;
    case SHEETKEY_LEFT:
        // On an empty text Left and Right move the current cell instead.
        if (n == 0)
            return false;
        if (m_nCaret > 0)
            SetCaret(PrevChar(m_nCaret));
        break;
    case SHEETKEY_RIGHT:
        if (n == 0)
            return false;
        if (m_nCaret < n)
            SetCaret(NextChar(m_nCaret));
        break;
    case SHEETKEY_SHIFT_LEFT:
        if (m_nCaret > 0)
            m_nCaret = PrevChar(m_nCaret);
        break;
    case SHEETKEY_SHIFT_RIGHT:
        if (m_nCaret < n)
            m_nCaret = NextChar(m_nCaret);
        break;
    default: return false;
    }
    return true;
}

void CCellEditor::Erase(bool bBackward)
{
    if (HasSelection()) {
        ReplaceSelection(std::string());
    } else if (!bBackward && m_nCaret < m_strText.size()) {
        m_strText.erase(m_nCaret, NextChar(m_nCaret) - m_nCaret);
        m_nAnchor = m_nCaret;
    } else if (bBackward && m_nCaret > 0) {
        const std::size_t start = PrevChar(m_nCaret);
        m_strText.erase(start, m_nCaret - start);
        m_nCaret = m_nAnchor = start;
    }
}

void CCellEditor::Bracket(ESheetKey key)
{
    switch (key) {
    case SHEETKEY_F3: Wrap("[", "]", true); break;
    case SHEETKEY_F4: Wrap("(", ")", true); break;
    case SHEETKEY_F5:
        // Everything before the caret goes into brackets.
        if (m_strText.empty())
            break;
        if (HasSelection()) {
            Wrap("(", ")", false);
        } else {
            m_strText.insert(m_nCaret, ")");
            m_strText.insert(0, "(");
            m_nCaret = m_nAnchor = m_nCaret + 2;
        }
        break;
    case SHEETKEY_F6:
        // Everything after the caret goes into brackets.
        if (HasSelection()) {
            Wrap("(", ")", false);
        } else {
            m_strText += ')';
            m_strText.insert(m_nCaret, "(");
            m_nCaret = m_nAnchor = m_strText.size();
        }
        break;
    default: break;
    }
}

bool CCellEditor::PressKey(ESheetKey key)
{
    switch (key) {
    case SHEETKEY_END:
    case SHEETKEY_HOME:
    case SHEETKEY_SHIFT_END:
    case SHEETKEY_SHIFT_HOME:
    case SHEETKEY_LEFT:
    case SHEETKEY_RIGHT:
    case SHEETKEY_SHIFT_LEFT:
    case SHEETKEY_SHIFT_RIGHT:
        return MoveCaret(key);
    case SHEETKEY_DELETE:
        // Delete on an empty text is the editor's too: it does nothing.
        if (!m_strText.empty())
            Erase(false);
        return true;
    case SHEETKEY_BACKSPACE:
        Erase(true);
        return true;
    case SHEETKEY_F3:
    case SHEETKEY_F4:
    case SHEETKEY_F5:
    case SHEETKEY_F6:
        Bracket(key);
        return true;
    case SHEETKEY_CTRL_A:
        m_nAnchor = 0;
        m_nCaret = m_strText.size();
        return true;
    default:
        return false;
    }
}

std::string CCellEditor::CaretView() const
{
    std::string view = m_strText;
    view.insert(m_nCaret, "|");
    return view;
}

std::string EditorOpenText(const std::string& cellText, int col, const std::string& typed)
{
    std::string t = cellText;
    if (col == COL_FORMULA) {
        const std::size_t pos = exprtext::FindResultSeparator(t);
        if (pos < t.size())
            t.erase(pos);
    }
    t.erase(std::remove_if(t.begin(), t.end(), [](char c) { return c == ' ' || c == '\n'; }), t.end());
    return t + typed;
}

void EnterTarget(const std::string& direction, int rows, int& row, int& col)
{
    const int last = rows - 1;
    if (direction.empty() || direction == "DOWN") {
        row = row >= last ? 1 : row + 1;
    } else if (direction == "UP") {
        row = std::max(row - 1, 1);
    } else if (direction == "LEFT") {
        if (col > COL_POSITION) {
            --col;
        } else if (row > 1) {
            --row;
            col = COL_REF;
        }
    } else if (direction == "RIGHT") {
        if (col < COL_REF) {
            ++col;
        } else {
            row = row >= last ? 1 : row + 1;
            col = COL_POSITION;
        }
    }
}

void ArrowTarget(EArrow arrow, int rows, int& row, int& col)
{
    static const char* const DIRECTIONS[] = {"LEFT", "RIGHT", "UP", "DOWN"};
    EnterTarget(DIRECTIONS[arrow], rows, row, col);
}
