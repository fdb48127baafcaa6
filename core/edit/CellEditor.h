// The in-cell editor as a model: shown or hidden, its text, the caret and
// the selection (byte positions, always on character boundaries), and the
// keys the editor handles itself. The desktop program mirrors it onto its
// edit widget; qtx drives it directly.
//
// Also here: the text the editor opens with, and where Enter and the arrow
// keys move the current cell.
#pragma once

#include <cstddef>
#include <string>

#include "core/edit/SheetKeys.h"

class CCellEditor {
public:
    bool IsShown() const { return m_bShown; }
    const std::string& Text() const { return m_strText; }
    std::size_t Caret() const { return m_nCaret; }
    bool HasSelection() const { return m_nAnchor != m_nCaret; }
    std::size_t SelectionStart() const { return m_nAnchor < m_nCaret ? m_nAnchor : m_nCaret; }
    std::size_t SelectionEnd() const { return m_nAnchor < m_nCaret ? m_nCaret : m_nAnchor; }
    std::string SelectedText() const { return m_strText.substr(SelectionStart(), SelectionEnd() - SelectionStart()); }

    // Shown with text, caret at the end, nothing selected. Opening an open
    // editor replaces its text.
    void Open(const std::string& text);
    // Emptied and hidden.
    void Hide();
    // Caret (and selection anchor) placed, moved back to a character start.
    void SetCaret(std::size_t caret);
    void SetSelection(std::size_t anchor, std::size_t caret);

    // A key pressed in the editor: End, Home, Left, Right, Delete,
    // Backspace, F3 .. F6, Shift with Left, Right, Home or End, and Ctrl+A
    // (selects the whole text). False when the key is not the editor's
    // (any other key, or Left or Right on an empty text): the grid acts.
    bool PressKey(ESheetKey key);
    // Typed characters (GBK) replace the selection at the caret.
    void TypeText(const std::string& chars);

    // The text with "|" at the caret (qtx "editor?").
    std::string CaretView() const;

private:
    std::size_t PrevChar(std::size_t pos) const;
    std::size_t NextChar(std::size_t pos) const;
    void ReplaceSelection(const std::string& text);
    void Wrap(const char* open, const char* close, bool bCaretInside);
    // The keys of PressKey by kind: caret and selection moves (false for
    // Left and Right on an empty text), Delete and Backspace, and the
    // bracket keys F3 .. F6.
    bool MoveCaret(ESheetKey key);
    void Erase(bool bBackward);
    void Bracket(ESheetKey key);

    bool m_bShown = false;
    std::string m_strText;
    std::size_t m_nCaret = 0;
    std::size_t m_nAnchor = 0;
};

// The text the editor opens with on a cell: in the expression column the
// result part is cut (from the result separator), then blanks and line feeds
// are removed, and a typed character (GBK, one or two bytes; empty for Enter
// or Backspace) is appended.
std::string EditorOpenText(const std::string& cellText, int col, const std::string& typed);

// The cell that Enter moves to from (row, col) with the EnterToWord
// direction ("UP", "DOWN", "LEFT", "RIGHT"; empty means "DOWN"; anything
// else does not move). rows is the sheet's row count.
void EnterTarget(const std::string& direction, int rows, int& row, int& col);

// The cell an arrow key moves to. Left and Right wrap between rows, Down
// wraps from the last row to row 1; nothing moves above row 1.
enum EArrow { ARROW_LEFT,
              ARROW_RIGHT,
              ARROW_UP,
              ARROW_DOWN };
void ArrowTarget(EArrow arrow, int rows, int& row, int& col);
