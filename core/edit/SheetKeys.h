// The keys the sheet and its in-cell editor react to: one list for the
// window, which maps its keyboard onto it, for the sheet's session, which
// acts on it, and for `qtx run`, which reads the keys of a script by their
// names here.
#pragma once

#include <string>

enum ESheetKey : int {
    SHEETKEY_ENTER,
    SHEETKEY_UP,
    SHEETKEY_DOWN,
    SHEETKEY_LEFT,
    SHEETKEY_RIGHT,
    SHEETKEY_HOME,
    SHEETKEY_END,
    SHEETKEY_DELETE,
    SHEETKEY_INSERT,
    SHEETKEY_BACKSPACE,
    SHEETKEY_F2,
    SHEETKEY_F3,
    SHEETKEY_F4,
    SHEETKEY_F5,
    SHEETKEY_F6,
    SHEETKEY_SHIFT_LEFT,
    SHEETKEY_SHIFT_RIGHT,
    SHEETKEY_SHIFT_HOME,
    SHEETKEY_SHIFT_END,
    SHEETKEY_WHEEL_DOWN,
    SHEETKEY_WHEEL_UP,
    SHEETKEY_PAGE_UP,
    SHEETKEY_PAGE_DOWN,
    SHEETKEY_CTRL_HOME,
    SHEETKEY_CTRL_END,
    SHEETKEY_TAB,
    SHEETKEY_SHIFT_TAB,
    SHEETKEY_ESCAPE,
    SHEETKEY_CTRL_A,
    SHEETKEY_CTRL_C,
    SHEETKEY_CTRL_X,
    SHEETKEY_CTRL_V,
    SHEETKEY_OTHER  // any other key: opens the editor on the current cell
};

// The key's name as scripts write it ("Enter", "Shift+Tab", "Ctrl+V"); the
// catch-all key has none ("").
const char* SheetKeyName(ESheetKey key);
// The key of a name; false for a name no key has.
bool SheetKeyByName(const std::string& name, ESheetKey& key);
