#include "ui/desktop/CellEdit.h"

#include "ui/desktop/Commands.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QPointer>
#include <QTextBlock>
#include <QTextCursor>

#include <algorithm>

CCellEdit::CCellEdit(QWidget* pParent) : QPlainTextEdit(pParent)
{
    setObjectName(QStringLiteral("cellEdit"));
    setFrameShape(QFrame::Box);
    setLineWidth(1);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setTabChangesFocus(true);
    document()->setDocumentMargin(1);
    setAttribute(Qt::WA_InputMethodEnabled, true);
    hide();
    connect(this, &QPlainTextEdit::textChanged, this, &CCellEdit::OnEdited);
}

ESheetKey CCellEdit::SheetKeyOf(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return SHEETKEY_ENTER;
    case Qt::Key_Up: return SHEETKEY_UP;
    case Qt::Key_Down: return SHEETKEY_DOWN;
    case Qt::Key_Left: return SHEETKEY_LEFT;
    case Qt::Key_Right: return SHEETKEY_RIGHT;
    case Qt::Key_Home: return SHEETKEY_HOME;
    case Qt::Key_End: return SHEETKEY_END;
    case Qt::Key_Delete: return SHEETKEY_DELETE;
    case Qt::Key_Insert: return SHEETKEY_INSERT;
    case Qt::Key_Backspace: return SHEETKEY_BACKSPACE;
    case Qt::Key_Escape: return SHEETKEY_ESCAPE;
    case Qt::Key_F2: return SHEETKEY_F2;
    case Qt::Key_F3: return SHEETKEY_F3;
    case Qt::Key_F4: return SHEETKEY_F4;
    case Qt::Key_F5: return SHEETKEY_F5;
    case Qt::Key_F6: return SHEETKEY_F6;
    default: return SHEETKEY_OTHER;
    }
}

void CCellEdit::PlaceOnCell(const QRect& rcCell, const QRect& rcClient)
{
    m_rcClient = rcClient;
    setGeometry(rcCell);
}

void CCellEdit::SetState(const QString& text, int caret, int anchor)
{
    m_bSetting = true;
    if (toPlainText() != text)
        setPlainText(text);
    QTextCursor cursor = textCursor();
    const int length = static_cast<int>(text.size());
    cursor.setPosition(std::clamp(anchor, 0, length));
    cursor.setPosition(std::clamp(caret, 0, length), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
    ensureCursorVisible();
    m_bSetting = false;
}

int CCellEdit::Caret() const { return textCursor().position(); }
int CCellEdit::Anchor() const { return textCursor().anchor(); }

bool CCellEdit::event(QEvent* e)
{
    if (e->type() == QEvent::ShortcutOverride) {
        // The window's accelerators win over the text edit's own copy,
        // paste and undo keys.
        auto* pKey = static_cast<QKeyEvent*>(e);
        // F6 on its own belongs to the editor (it wraps text in brackets),
        // not to the pane switching of the window.
        if (pKey->key() == Qt::Key_F6 && pKey->modifiers() == Qt::NoModifier) {
            e->accept();
            return true;
        }
        const QKeySequence pressed(pKey->keyCombination());
        for (const SAccelInfo& accel : AcceleratorTable()) {
            if (QKeySequence(QString::fromLatin1(accel.m_pszKeys)) == pressed) {
                e->ignore();
                return true;
            }
        }
    }
    return QPlainTextEdit::event(e);
}

void CCellEdit::keyPressEvent(QKeyEvent* e)
{
    const ESheetKey key = SheetKeyOf(e->key());
    if (key == SHEETKEY_ESCAPE)
        return;  // the editor ignores Esc
    const bool bShift = e->modifiers() & Qt::ShiftModifier;
    const bool bCtrl = e->modifiers() & Qt::ControlModifier;
    // Shift with Home, End and the arrows extends the selection in place.
    const bool bSelecting = bShift && (key == SHEETKEY_LEFT || key == SHEETKEY_RIGHT || key == SHEETKEY_HOME || key == SHEETKEY_END);
    if (key != SHEETKEY_OTHER && key != SHEETKEY_BACKSPACE && !bSelecting && m_pHost) {
        QPointer<CCellEdit> self(this);
        if (m_pHost->EditorKey(key, bShift, bCtrl)) {
            if (self && isVisible())
                GrowToText();
            return;
        }
        if (!self)
            return;
    }
    QPlainTextEdit::keyPressEvent(e);
    if (isVisible()) {
        GrowToText();
        if (!e->text().isEmpty())
            GrowToWrappedText();
    }
}

void CCellEdit::inputMethodEvent(QInputMethodEvent* e)
{
    QPlainTextEdit::inputMethodEvent(e);
    if (!e->commitString().isEmpty() && isVisible())
        GrowToWrappedText();
}

void CCellEdit::OnEdited()
{
    if (!m_bSetting && m_pHost)
        m_pHost->EditorEdited();
}

namespace {

int WidestLine(const QFontMetrics& fm, const QString& text)
{
    int widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n')))
        widest = std::max(widest, fm.horizontalAdvance(line));
    return widest;
}

}  // namespace

void CCellEdit::GrowToText()
{
    if (m_rcClient.isNull())
        return;
    const int frame = 2 * frameWidth() + 2 * static_cast<int>(document()->documentMargin());
    const int needed = WidestLine(fontMetrics(), toPlainText()) + 5 + frame;
    if (needed <= width())
        return;
    const int maxWidth = std::max(width(), m_rcClient.right() + 1 - x());
    resize(std::min(needed, maxWidth), height());
}

void CCellEdit::GrowToWrappedText()
{
    if (m_rcClient.isNull())
        return;
    const QFontMetrics fm = fontMetrics();
    const int frame = 2 * frameWidth() + 2 * static_cast<int>(document()->documentMargin());
    const QString text = toPlainText();

    int w = width();
    const int maxWidth = std::max(w, m_rcClient.width() - 2 - (x() - m_rcClient.x()));
    const int wanted = WidestLine(fm, text) + 5 + frame;
    if (wanted > w)
        w = std::min(wanted, maxWidth);

    const int lineHeight = fm.lineSpacing();
    const QRect bound = fm.boundingRect(QRect(0, 0, std::max(w - frame - 5, 1), 1 << 20),
                                        Qt::TextWordWrap | Qt::TextWrapAnywhere, text);
    const int lines = std::max(1, (bound.height() + lineHeight - 1) / lineHeight);
    int h = height();
    const int maxHeight = std::max(h, m_rcClient.height() - 2 - (y() - m_rcClient.y()));
    const int wantedHeight = lines * lineHeight + 5 + frame;
    if (wantedHeight > h)
        h = std::min(wantedHeight, maxHeight);
    if (w != width() || h != height())
        resize(w, h);
}
