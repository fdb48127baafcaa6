#include "ui/desktop/SheetKeyboard.h"

namespace {

bool OnlyCtrl(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier | Qt::MetaModifier))
        == Qt::ControlModifier;
}

}  // namespace

bool SheetKeyOf(int qtKey, Qt::KeyboardModifiers modifiers, ESheetKey& key)
{
    const bool bShift = modifiers & Qt::ShiftModifier;
    const bool bCtrl = modifiers & Qt::ControlModifier;
    const bool bOnlyCtrl = OnlyCtrl(modifiers);
    switch (qtKey) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_Meta:
    case Qt::Key_AltGr:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_ScrollLock:
        return false;
    case Qt::Key_Return:
    case Qt::Key_Enter: key = SHEETKEY_ENTER; return true;
    case Qt::Key_Up: key = SHEETKEY_UP; return true;
    case Qt::Key_Down: key = SHEETKEY_DOWN; return true;
    case Qt::Key_Left: key = bShift ? SHEETKEY_SHIFT_LEFT : SHEETKEY_LEFT; return true;
    case Qt::Key_Right: key = bShift ? SHEETKEY_SHIFT_RIGHT : SHEETKEY_RIGHT; return true;
    case Qt::Key_Home:
        key = bShift ? SHEETKEY_SHIFT_HOME : SHEETKEY_HOME;
        if (bCtrl)
            key = SHEETKEY_CTRL_HOME;
        return true;
    case Qt::Key_End:
        key = bShift ? SHEETKEY_SHIFT_END : SHEETKEY_END;
        if (bCtrl)
            key = SHEETKEY_CTRL_END;
        return true;
    case Qt::Key_PageUp: key = SHEETKEY_PAGE_UP; return true;
    case Qt::Key_PageDown: key = SHEETKEY_PAGE_DOWN; return true;
    case Qt::Key_Tab: key = bShift ? SHEETKEY_SHIFT_TAB : SHEETKEY_TAB; return true;
    case Qt::Key_Backtab: key = SHEETKEY_SHIFT_TAB; return true;
    case Qt::Key_Escape: key = SHEETKEY_ESCAPE; return true;
    case Qt::Key_Delete:
    case Qt::Key_Insert:
        if (bShift || bCtrl)
            return false;
        key = qtKey == Qt::Key_Delete ? SHEETKEY_DELETE : SHEETKEY_INSERT;
        return true;
    case Qt::Key_Backspace: key = SHEETKEY_BACKSPACE; return true;
    case Qt::Key_F2: key = SHEETKEY_F2; return true;
    case Qt::Key_F3: key = SHEETKEY_F3; return true;
    case Qt::Key_F4: key = SHEETKEY_F4; return true;
    case Qt::Key_F5: key = SHEETKEY_F5; return true;
    case Qt::Key_F6: key = SHEETKEY_F6; return true;
    case Qt::Key_A: key = bOnlyCtrl ? SHEETKEY_CTRL_A : SHEETKEY_OTHER; return true;
    case Qt::Key_C: key = bOnlyCtrl ? SHEETKEY_CTRL_C : SHEETKEY_OTHER; return true;
    case Qt::Key_X: key = bOnlyCtrl ? SHEETKEY_CTRL_X : SHEETKEY_OTHER; return true;
    case Qt::Key_V: key = bOnlyCtrl ? SHEETKEY_CTRL_V : SHEETKEY_OTHER; return true;
    default: key = SHEETKEY_OTHER; return true;
    }
}

bool IsEditorShortcut(int qtKey, Qt::KeyboardModifiers modifiers)
{
    if (qtKey == Qt::Key_F6)
        return modifiers == Qt::NoModifier;
    return OnlyCtrl(modifiers)
        && (qtKey == Qt::Key_A || qtKey == Qt::Key_C || qtKey == Qt::Key_X || qtKey == Qt::Key_V);
}
