#include "ui/desktop/CellEdit.h"

#include "ui/desktop/Commands.h"
#include "ui/desktop/SheetKeyboard.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QPointer>
#include <QTextBlock>
#include <QTextCursor>

#include <algorithm>
#include <memory>

CCellEdit::CCellEdit(QWidget* pParent) : QPlainTextEdit(pParent)
{
    setObjectName(QStringLiteral("cellEdit"));
    // A thin line that lies on the cell's grid lines, so that the text area
    // is the cell itself.
    setFrameShape(QFrame::Box);
    setFrameShadow(QFrame::Plain);
    setLineWidth(1);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    // Tab and Shift+Tab move to the next cell (the sheet handles them).
    setTabChangesFocus(false);
    document()->setDocumentMargin(0);
    setAttribute(Qt::WA_InputMethodEnabled, true);
    hide();
    connect(this, &QPlainTextEdit::textChanged, this, &CCellEdit::OnEdited);
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
        if (IsEditorShortcut(pKey->key(), pKey->modifiers())) {
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
    ESheetKey key = SHEETKEY_OTHER;
    if (!SheetKeyOf(e->key(), e->modifiers(), key)) {
        // Insert and Delete with Shift or Ctrl are the window's clipboard
        // accelerators; they never reach the text as keys of its own.
        if (e->key() == Qt::Key_Insert || e->key() == Qt::Key_Delete)
            return;
        QPlainTextEdit::keyPressEvent(e);
        return;
    }
    // Typing, Backspace and Shift with Home, End and the arrows (which
    // extend the selection) stay with the text edit.
    const bool bOwn = key == SHEETKEY_OTHER || key == SHEETKEY_BACKSPACE || key == SHEETKEY_SHIFT_LEFT
        || key == SHEETKEY_SHIFT_RIGHT || key == SHEETKEY_SHIFT_HOME || key == SHEETKEY_SHIFT_END;
    if (!bOwn) {
        // The sheet may close the editor or move it to another cell.
        QPointer<CCellEdit> self(this);
        emit sheetKey(key);
        if (self && isVisible())
            GrowToText();
        return;
    }
    QPlainTextEdit::keyPressEvent(e);
    if (isVisible()) {
        GrowToText();
        if (!e->text().isEmpty())
            GrowToWrappedText();
    }
}

namespace {

// The program's own texts for the entries of the text edit's menu that
// Qt's translations leave in English.
struct SMenuText {
    const char* m_pszQt;
    const char* m_pszOwn;
};
const SMenuText s_MenuTexts[] = {
    {"&Undo", "撤消(&U)"},
    {"&Redo", "重复(&R)"},
    {"Cu&t", "剪切(&T)"},
    {"&Copy", "复制(&C)"},
    {"&Paste", "粘贴(&P)"},
    {"Delete", "删除"},
    {"Select All", "全选(&A)"},
    {"Insert Unicode control character", "插入 Unicode 控制字符"},
};

// The editor's own keys, offered in the menu too.
struct SMenuKey {
    const char* m_pszText;
    ESheetKey m_eKey;
};
const SMenuKey s_MenuKeys[] = {
    {"插入注释[]\tF3", SHEETKEY_F3},
    {"插入括号()\tF4", SHEETKEY_F4},
    {"光标前的内容加括号\tF5", SHEETKEY_F5},
    {"光标后的内容加括号\tF6", SHEETKEY_F6},
};

void TranslateMenu(QMenu* pMenu)
{
    for (QAction* pAction : pMenu->actions()) {
        if (pAction->menu())
            TranslateMenu(pAction->menu());
        const QString text = pAction->text();
        const qsizetype tab = text.indexOf(QLatin1Char('\t'));
        const QString label = tab < 0 ? text : text.left(tab);
        for (const SMenuText& entry : s_MenuTexts) {
            if (label == QLatin1String(entry.m_pszQt)) {
                pAction->setText(QString::fromUtf8(entry.m_pszOwn) + (tab < 0 ? QString() : text.mid(tab)));
                break;
            }
        }
    }
}

}  // namespace

void CCellEdit::contextMenuEvent(QContextMenuEvent* e)
{
    std::unique_ptr<QMenu> pMenu(createStandardContextMenu(e->pos()));
    if (!pMenu)
        return;
    TranslateMenu(pMenu.get());
    // Cut, copy, paste and select all take the sheet's way, as their keys
    // do: the clipboard's text is held to what GBK can store.
    for (QAction* pAction : pMenu->actions()) {
        const QString name = pAction->objectName();
        ESheetKey key = SHEETKEY_OTHER;
        if (name == QLatin1String("edit-cut"))
            key = SHEETKEY_CTRL_X;
        else if (name == QLatin1String("edit-copy"))
            key = SHEETKEY_CTRL_C;
        else if (name == QLatin1String("edit-paste"))
            key = SHEETKEY_CTRL_V;
        else if (name == QLatin1String("select-all"))
            key = SHEETKEY_CTRL_A;
        else
            continue;
        QObject::disconnect(pAction, &QAction::triggered, nullptr, nullptr);
        connect(pAction, &QAction::triggered, this, [this, key]() { emit sheetKey(key); });
    }
    pMenu->addSeparator();
    for (const SMenuKey& entry : s_MenuKeys) {
        QAction* pAction = pMenu->addAction(QString::fromUtf8(entry.m_pszText));
        const ESheetKey key = entry.m_eKey;
        connect(pAction, &QAction::triggered, this, [this, key]() { emit sheetKey(key); });
    }
    m_pMenu = pMenu.get();
    pMenu->exec(e->globalPos());
    m_pMenu = nullptr;
}

void CCellEdit::inputMethodEvent(QInputMethodEvent* e)
{
    QPlainTextEdit::inputMethodEvent(e);
    if (!e->commitString().isEmpty() && isVisible())
        GrowToWrappedText();
}

void CCellEdit::OnEdited()
{
    if (!m_bSetting)
        emit edited();
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
    // One line stays in the cell it was opened on, even where the row is a
    // little lower than the font's line; the editor grows by whole lines
    // once the text wraps.
    const int maxHeight = std::max(h, m_rcClient.height() - 2 - (y() - m_rcClient.y()));
    const int wantedHeight = lines * lineHeight + 5 + frame;
    if (lines > 1 && wantedHeight > h)
        h = std::min(wantedHeight, maxHeight);
    if (w != width() || h != height())
        resize(w, h);
}
