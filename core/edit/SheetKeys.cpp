#include "core/edit/SheetKeys.h"

namespace {

// In the order of the enumeration.
const char* const NAMES[SHEETKEY_OTHER] = {
    "Enter",
    "Up",
    "Down",
    "Left",
    "Right",
    "Home",
    "End",
    "Delete",
    "Insert",
    "Backspace",
    "F2",
    "F3",
    "F4",
    "F5",
    "F6",
    "Shift+Left",
    "Shift+Right",
    "Shift+Home",
    "Shift+End",
    "WheelDown",
    "WheelUp",
    "PageUp",
    "PageDown",
    "Ctrl+Home",
    "Ctrl+End",
    "Tab",
    "Shift+Tab",
    "Escape",
    "Ctrl+A",
    "Ctrl+C",
    "Ctrl+X",
    "Ctrl+V",
};

}  // namespace

const char* SheetKeyName(ESheetKey key)
{
    return key >= 0 && key < SHEETKEY_OTHER ? NAMES[key] : "";
}

bool SheetKeyByName(const std::string& name, ESheetKey& key)
{
    for (int i = 0; i < SHEETKEY_OTHER; ++i) {
        if (name == NAMES[i]) {
            key = static_cast<ESheetKey>(i);
            return true;
        }
    }
    return false;
}
