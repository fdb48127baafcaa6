#include "ui/desktop/CommandIcons.h"

#include "core/session/CommandIds.h"

#include <QStringList>

using namespace cmdid;

namespace {

// The bundled pictures form an icon theme of their own, consulted after the
// desktop's theme and its parents.
void UseBundledFallback()
{
    static const bool s_bDone = [] {
        QStringList paths = QIcon::themeSearchPaths();
        if (!paths.contains(QStringLiteral(":/icons")))
            paths << QStringLiteral(":/icons");
        QIcon::setThemeSearchPaths(paths);
        QIcon::setFallbackThemeName(QStringLiteral("quantorix"));
        // A desktop without an icon theme looks in none, not even in the
        // fallback: ours becomes the theme.
        if (QIcon::themeName().isEmpty())
            QIcon::setThemeName(QStringLiteral("quantorix"));
        return true;
    }();
    (void)s_bDone;
}

}  // namespace

const char* ThemeIconName(int nId)
{
    switch (nId) {
    case FILE_NEW: return "document-new";
    case FILE_OPEN: return "document-open";
    case FILE_SAVE: return "document-save";
    case FILE_PRINT: return "document-print";
    case FILE_PRINT_PREVIEW: return "document-print-preview";
    case EDIT_UNDO: return "edit-undo";
    case EDIT_REDO: return "edit-redo";
    case EDIT_CUT: return "edit-cut";
    case EDIT_COPY: return "edit-copy";
    case EDIT_PASTE: return "edit-paste";
    case EDIT_CLEAR: return "edit-delete";  // the Delete key's command
    default: return nullptr;
    }
}

QString OwnIconPath(int nId)
{
    const char* name = nullptr;
    switch (nId) {
    case PRINT_SELECTION: name = "qtx-print-selection"; break;
    case EXPORT_SUMMARY_XLS: name = "qtx-export-summary"; break;
    case SYSTEM_SETTINGS: name = "qtx-system-settings"; break;
    case EDIT_SETTINGS: name = "qtx-edit-settings"; break;
    case TOGGLE_SUMMARY: name = "qtx-summary"; break;
    case TOGGLE_MINUS: name = "qtx-toggle-minus"; break;
    case APPEND_TO_CELLS: name = "qtx-append-cells"; break;
    case REMOVE_FROM_CELLS: name = "qtx-remove-cells"; break;
    case INSERT_ROWS: name = "qtx-insert-rows"; break;
    case DELETE_ROWS: name = "qtx-delete-rows"; break;
    case CELL_FONT: name = "qtx-font"; break;
    case ALIGN_LEFT: name = "qtx-align-left"; break;
    case ALIGN_CENTER: name = "qtx-align-center"; break;
    case ALIGN_RIGHT: name = "qtx-align-right"; break;
    case MORE_DECIMALS: name = "qtx-more-decimals"; break;
    case FEWER_DECIMALS: name = "qtx-fewer-decimals"; break;
    default: return QString();
    }
    return QStringLiteral(":/icons/sheet/%1.svg").arg(QLatin1String(name));
}

QIcon CommandIcon(int nId)
{
    if (const char* name = ThemeIconName(nId)) {
        UseBundledFallback();
        return QIcon::fromTheme(QLatin1String(name));
    }
    const QString path = OwnIconPath(nId);
    return path.isEmpty() ? QIcon() : QIcon(path);
}

QIcon AppIcon()
{
    return QIcon(QStringLiteral(":/icons/quantorix.svg"));
}
