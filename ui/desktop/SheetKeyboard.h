// The keyboard as the sheet sees it. A key event becomes a sheet key here
// and nowhere else; the view and the in-cell editor pass the result on
// unchanged.
#pragma once

#include "core/edit/SheetKeys.h"

#include <Qt>

// A key of the keyboard with its modifiers as the sheet names it; false for
// keys the sheet leaves alone (Shift, Ctrl and the like on their own; Insert
// and Delete with Shift or Ctrl, which are accelerators).
bool SheetKeyOf(int qtKey, Qt::KeyboardModifiers modifiers, ESheetKey& key);

// Keys the open editor keeps although the window has accelerators for them:
// F6 on its own wraps text in brackets (not the pane switching of the
// window), Ctrl+A, C, X and V act on the editor's text (not on the sheet's
// cells).
bool IsEditorShortcut(int qtKey, Qt::KeyboardModifiers modifiers);
