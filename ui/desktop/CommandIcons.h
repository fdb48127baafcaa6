// The pictures of the commands on the tool bars and in the menus. Standard
// actions (new, open, save, print, cut, copy, paste, undo ...) take the
// desktop icon theme's picture by its freedesktop name, with the program's
// own set as the fallback theme for desktops without one; the sheet's own
// commands have pictures of their own. All are SVG, sharp at any scale.
#pragma once

#include <QIcon>

// The freedesktop name of a standard action's picture, or nullptr.
const char* ThemeIconName(int nId);
// The resource path of the picture of one of the sheet's own commands, or
// an empty text.
QString OwnIconPath(int nId);
// The picture of a command; empty for a command without one.
QIcon CommandIcon(int nId);
// The program's icon, for windows that show one.
QIcon AppIcon();
