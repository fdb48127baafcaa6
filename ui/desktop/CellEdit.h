// The in-cell editor: a multi-line text edit that lies over the current
// cell while an edit is in progress. Plain typing, Backspace, selecting with
// Shift and input methods are handled by the text edit itself; the keys with
// a meaning for the sheet (Enter, arrows, Home, End, the page keys, Tab,
// Esc, Delete, Insert, F2 .. F6, and Ctrl+A, C, X and V on the editor's
// text) are announced as sheet keys for the view to pass on. The
// other accelerator keys are left to the window, so Ctrl+Z and the like run
// the sheet's commands as they do on the grid.
#pragma once

#include "core/edit/SheetKeys.h"

#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>

class CCellEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit CCellEdit(QWidget* pParent = nullptr);

    // Puts the editor on a cell (in the parent's coordinates) within the
    // grid's client rectangle. The editor then only grows.
    void PlaceOnCell(const QRect& rcCell, const QRect& rcClient);
    // Text and caret / anchor as character positions, without announcing
    // an edit.
    void SetState(const QString& text, int caret, int anchor);
    int Caret() const;
    int Anchor() const;

    // The growth after a key press: wider when the text's widest line plus
    // 5 pixels does not fit, at most to the client's right edge.
    void GrowToText();
    // The growth after a character: the text word-wrapped, first wider up to
    // the client width minus 2, then taller by whole lines plus 5 up to the
    // client height minus 2.
    void GrowToWrappedText();

    // The context menu while it is shown (tests choose its entries).
    QMenu* ContextMenu() const { return m_pMenu; }

signals:
    // A key with a meaning for the sheet, pressed in the editor or chosen
    // from its menu.
    void sheetKey(ESheetKey key);
    // The text or the caret changed by typing.
    void edited();

protected:
    bool event(QEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;

private:
    void OnEdited();

    QPointer<QMenu> m_pMenu;  // the context menu while it is up
    QRect m_rcClient;
    bool m_bSetting = false;
};
