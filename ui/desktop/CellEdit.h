// The in-cell editor: a multi-line text edit that lies over the current
// cell while an edit is in progress. Plain typing, Backspace, selecting with
// Shift and input methods are handled by the text edit itself; the keys with
// a meaning for the sheet (Enter, arrows, Home, End, the page keys, Tab,
// Esc, Delete, Insert, F2 .. F6, and Ctrl+A, C, X and V on the editor's
// text) go to the host, which passes them to the sheet's controller. The
// other accelerator keys are left to the window, so Ctrl+Z and the like run
// the sheet's commands as they do on the grid.
#pragma once

#include "ui/desktop/ViewController.h"

#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>

class CCellEditHost {
public:
    virtual ~CCellEditHost() = default;
    // A sheet key pressed in the editor; true when consumed.
    virtual bool EditorKey(ESheetKey key) = 0;
    // The text or the caret changed by typing.
    virtual void EditorEdited() = 0;
};

class CCellEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit CCellEdit(QWidget* pParent = nullptr);

    void SetHost(CCellEditHost* pHost) { m_pHost = pHost; }

    // Puts the editor on a cell (in the parent's coordinates) within the
    // grid's client rectangle. The editor then only grows.
    void PlaceOnCell(const QRect& rcCell, const QRect& rcClient);
    // Text and caret / anchor as character positions, without telling the
    // host.
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

    // A key of the keyboard with its modifiers as the sheet names it; false
    // for keys the sheet leaves alone (Shift, Ctrl and the like on their
    // own; Insert and Delete with Shift or Ctrl, which are accelerators).
    static bool SheetKeyOf(int qtKey, Qt::KeyboardModifiers modifiers, ESheetKey& key);

protected:
    bool event(QEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;

private:
    void OnEdited();

    CCellEditHost* m_pHost = nullptr;
    QPointer<QMenu> m_pMenu;  // the context menu while it is up
    QRect m_rcClient;
    bool m_bSetting = false;
};
