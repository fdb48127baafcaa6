// Numeric ids of every command of the main window. Menus, tool bars,
// accelerators and the context menu all send these ids; each QAction carries
// its id as data, so a handler can be found from the action alone.
#pragma once

namespace cmdid {

enum : int {
    // File
    FILE_NEW = 57600,
    FILE_OPEN = 57601,
    FILE_SAVE = 57603,
    FILE_SAVE_AS = 57604,
    EXPORT_SUMMARY_XLS = 32789,
    EXPORT_ALL_XLS = 32790,
    PRINT_SELECTION = 32813,
    FILE_PRINT = 57607,
    FILE_PRINT_PREVIEW = 57609,
    FILE_PRINT_SETUP = 57606,
    RECENT_FILE_1 = 32785,  // .. 32788
    RECENT_FILE_4 = 32788,
    APP_EXIT = 57665,
    COMPARE_SHEETS = 32850,  // 对比另一个计算稿: the reconciliation with another sheet file

    // Edit
    EDIT_UNDO = 57643,
    EDIT_REDO = 57644,
    EDIT_CUT = 57635,
    EDIT_COPY = 57634,
    EDIT_PASTE = 57637,
    INSERT_ROWS = 32771,
    DELETE_ROWS = 32772,
    EDIT_CLEAR = 57632,
    TOGGLE_SUMMARY = 32773,
    TOGGLE_MINUS = 32806,
    APPEND_TO_CELLS = 32807,
    REMOVE_FROM_CELLS = 32829,
    SYSTEM_SETTINGS = 32775,
    EDIT_SETTINGS = 32812,
    CELL_FONT = 32774,
    INSERT_EXAMPLE = 32783,

    // View
    VIEW_TOOLBAR = 59392,
    VIEW_STATUS_BAR = 59393,
    RESTORE_COLUMN_WIDTHS = 32860,  // the template's column widths again

    // Help
    HELP_DOWNLOAD = 32811,
    HELP_HOME_PAGE = 32793,
    HELP_SUPPORT = 32795,
    HELP = 57670,
    HELP_FINDER = 57667,
    CONTEXT_HELP = 57669,
    NEXT_PANE = 57680,
    PREV_PANE = 57681,

    // Format tool bar
    ALIGN_LEFT = 32816,
    ALIGN_CENTER = 32824,
    ALIGN_RIGHT = 32825,
    MORE_DECIMALS = 32826,
    FEWER_DECIMALS = 32828,

    // Controls on the tool bars
    ITEM_LIST = 32810,
    GRID_LINE_BOX = 32815,
};

}  // namespace cmdid
