#include "ui/desktop/Commands.h"

#include "core/session/CommandIds.h"

using namespace cmdid;

namespace {

const std::vector<SCommandInfo> s_Commands = {
    {FILE_NEW, "新建(&N)", "Ctrl+N", "建立一个新的计算稿", "新建"},
    {FILE_OPEN, "打开(&O)...", "Ctrl+O", "打开一个已有的计算稿", "打开"},
    {FILE_SAVE, "保存(&S)", "Ctrl+S", "保存当前的计算稿", "保存"},
    {FILE_SAVE_AS, "另存为(&A)...", "", "用新的文件名保存当前的计算稿", "另存为"},
    {EXPORT_SUMMARY_XLS, "汇总导出为Excel", "", "汇总表内容保存为Excel", "汇总表内容保存为Excel"},
    {EXPORT_ALL_XLS, "全部内容保存为Excel", "", "全部内容保存为Excel", "全部内容保存为Excel"},
    {PRINT_SELECTION, "打印内容设置...", "", "选择打印内容", "选择打印内容，全部、仅汇总、选定的内容"},
    {FILE_PRINT, "打印(&P)...", "Ctrl+P", "打印当前的计算稿", "打印"},
    {FILE_PRINT_PREVIEW, "打印预览(&V)", "", "按打印的样子显示整页", "打印预览"},
    {FILE_PRINT_SETUP, "打印设置(&R)...", "", "选择打印机和打印选项", "打印设置"},
    {RECENT_FILE_1, "最近文件", "", "打开这个文件", ""},
    {RECENT_FILE_1 + 1, "最近文件", "", "打开这个文件", ""},
    {RECENT_FILE_1 + 2, "最近文件", "", "打开这个文件", ""},
    {RECENT_FILE_4, "最近文件", "", "打开这个文件", ""},
    {COMPARE_SHEETS, "对比另一个计算稿…", "", "与另一个计算稿逐项对量：送审、审定、核增、核减", "对比另一个计算稿"},
    {APP_EXIT, "退出(&X)", "", "退出程序，修改过的计算稿先询问是否保存", "退出"},

    {EDIT_UNDO, "撤消", "Ctrl+Z", "撤消上一步操作", "撤消"},
    {EDIT_REDO, "重复", "Ctrl+Y", "重新做刚撤消的操作", "重复"},
    {EDIT_CUT, "剪切(&T)", "Ctrl+X", "把选中的格子剪切到剪贴板", "剪切"},
    {EDIT_COPY, "复制(&C)", "Ctrl+C", "把选中的格子复制到剪贴板", "复制"},
    {EDIT_PASTE, "粘贴(&V)", "Ctrl+V", "把剪贴板的内容粘贴到表格", "粘贴"},
    {INSERT_ROWS, "插入行", "Insert", "在选中的行前插入空行", "插入行"},
    {DELETE_ROWS, "删除行", "", "删除选中的行", "删除行"},
    {EDIT_CLEAR, "清除内容", "Delete", "清除选中格子的内容", "清除内容"},
    {TOGGLE_SUMMARY, "添加工程量汇总", "F2", "增加一个汇总项目(例如：多孔砖一砖外墙)", "增加或删除汇总的项目"},
    {TOGGLE_MINUS, "表达式添加/删除负号", "", "在表达式的最前面添加或删除符号", "表达式添加/删除负号"},
    {APPEND_TO_CELLS, "统一添加相同表达式...", "", "在原有表达式后统一添加相同的表达式", "统一添加相同表达式"},
    {REMOVE_FROM_CELLS, "删除相同的表达式内容...", "", "删除表达式中相同的内容", "删除相同的表达式内容"},
    {SYSTEM_SETTINGS, "系统设置...", "", "系统设置", "系统设置"},
    {EDIT_SETTINGS, "编辑设置...", "", "编辑设置", "设置表头等名称及颜色"},
    {CELL_FONT, "设置字体...", "", "选择表格使用的字体", "选择字体"},
    {INSERT_EXAMPLE, "插入如何使用的例子", "", "在第一行插入如何使用的例子", "插入如何使用的例子"},

    {VIEW_TOOLBAR, "工具栏(&T)", "", "显示或隐藏工具栏", "工具栏"},
    {VIEW_STATUS_BAR, "状态栏(&S)", "", "显示或隐藏状态栏", "状态栏"},
    {RESTORE_COLUMN_WIDTHS, "恢复默认列宽(&W)", "", "各列恢复为表头模板的宽度", "恢复默认列宽"},

    {HELP_DOWNLOAD, "下载最新版本", "", "下载最新版本", "下载最新版本"},
    {HELP_HOME_PAGE, "软件主页", "", "访问软件主页", "软件主页"},
    {HELP_SUPPORT, "技术支持", "", "给技术支持写信", "技术支持"},
    {HELP, "帮助", "F1", "打开帮助", "帮助"},
    {HELP_FINDER, "帮助主题", "", "打开帮助", "帮助主题"},
    {CONTEXT_HELP, "上下文帮助", "Shift+F1", "帮助", "帮助"},
    {NEXT_PANE, "下一个窗格", "F6", "切换到下一个窗格", "下一个窗格"},
    {PREV_PANE, "上一个窗格", "Shift+F6", "切换到上一个窗格", "上一个窗格"},

    {ALIGN_LEFT, "左对齐", "", "左对齐", "左对齐"},
    {ALIGN_CENTER, "居中", "", "居中", "居中"},
    {ALIGN_RIGHT, "右对齐", "", "右对齐", "右对齐"},
    {MORE_DECIMALS, "增加小数位数", "", "增加小数位数", "增加小数位数"},
    {FEWER_DECIMALS, "减少小数位数", "", "减少小数位数", "减少小数位数"},

    {ITEM_LIST, "", "", "选择汇总项目，跳到它所在的行", "汇总项目"},
    {GRID_LINE_BOX, "", "", "选择打印表格的网格线", "网格线"},
};

const std::vector<SMenuInfo> s_Menu = {
    {"文件(&F)",
     {FILE_NEW, FILE_OPEN, FILE_SAVE, FILE_SAVE_AS, 0, EXPORT_SUMMARY_XLS, EXPORT_ALL_XLS, COMPARE_SHEETS, 0, PRINT_SELECTION,
      FILE_PRINT, FILE_PRINT_PREVIEW, FILE_PRINT_SETUP, 0, RECENT_FILE_1, RECENT_FILE_1 + 1, RECENT_FILE_1 + 2, RECENT_FILE_4, 0,
      APP_EXIT}},
    {"编辑(&E)",
     {EDIT_UNDO, EDIT_REDO, 0, EDIT_CUT, EDIT_COPY, EDIT_PASTE, 0, INSERT_ROWS, DELETE_ROWS, EDIT_CLEAR, 0,
      TOGGLE_SUMMARY, 0, TOGGLE_MINUS, APPEND_TO_CELLS, REMOVE_FROM_CELLS, 0, SYSTEM_SETTINGS, EDIT_SETTINGS,
      CELL_FONT}},
    {"查看(&V)", {VIEW_TOOLBAR, VIEW_STATUS_BAR, 0, RESTORE_COLUMN_WIDTHS}},
    {"帮助(&H)", {HELP_DOWNLOAD, HELP_HOME_PAGE, HELP_SUPPORT}},
};

const std::vector<int> s_MainToolbar = {
    FILE_NEW, FILE_OPEN, FILE_SAVE, 0, PRINT_SELECTION, FILE_PRINT, FILE_PRINT_PREVIEW, 0,
    EXPORT_SUMMARY_XLS, SYSTEM_SETTINGS, EDIT_SETTINGS, 0, TOGGLE_SUMMARY, 0, TOGGLE_MINUS, APPEND_TO_CELLS,
    REMOVE_FROM_CELLS, 0, EDIT_UNDO, EDIT_REDO, 0, EDIT_CUT, EDIT_COPY, EDIT_PASTE, 0, EDIT_CLEAR, INSERT_ROWS,
    DELETE_ROWS, CELL_FONT, 0, ITEM_LIST};

const std::vector<int> s_FormatToolbar = {
    GRID_LINE_BOX, 0, ALIGN_LEFT, ALIGN_CENTER, ALIGN_RIGHT, 0, MORE_DECIMALS, FEWER_DECIMALS};

const std::vector<int> s_ContextMenu = {
    TOGGLE_SUMMARY, 0, EDIT_CUT, EDIT_COPY, EDIT_PASTE, 0, INSERT_ROWS, DELETE_ROWS, EDIT_CLEAR, 0,
    TOGGLE_MINUS, APPEND_TO_CELLS, REMOVE_FROM_CELLS, 0, SYSTEM_SETTINGS, EDIT_SETTINGS, PRINT_SELECTION};

const std::vector<SAccelInfo> s_Accels = {
    {"Ctrl+C", EDIT_COPY},
    {"Ctrl+Ins", EDIT_COPY},
    {"Ctrl+V", EDIT_PASTE},
    {"Shift+Ins", EDIT_PASTE},
    {"Ctrl+X", EDIT_CUT},
    {"Shift+Del", EDIT_CUT},
    {"Ctrl+Z", EDIT_UNDO},
    {"Alt+Backspace", EDIT_UNDO},
    {"Ctrl+Y", EDIT_REDO},
    {"Ctrl+N", FILE_NEW},
    {"Ctrl+O", FILE_OPEN},
    {"Ctrl+S", FILE_SAVE},
    {"Ctrl+P", FILE_PRINT},
    {"F1", HELP},
    {"Shift+F1", CONTEXT_HELP},
    {"F6", NEXT_PANE},
    {"Shift+F6", PREV_PANE},
};

}  // namespace

const SCommandInfo* FindCommand(int nId)
{
    for (const SCommandInfo& info : s_Commands)
        if (info.m_nId == nId)
            return &info;
    return nullptr;
}

const std::vector<SCommandInfo>& AllCommands() { return s_Commands; }
const std::vector<SMenuInfo>& MainMenuLayout() { return s_Menu; }
const std::vector<int>& MainToolbarLayout() { return s_MainToolbar; }
const std::vector<int>& FormatToolbarLayout() { return s_FormatToolbar; }
const std::vector<int>& ContextMenuLayout() { return s_ContextMenu; }
const std::vector<SAccelInfo>& AcceleratorTable() { return s_Accels; }

bool IsDeferredCommand(int nId)
{
    (void)nId;  // every command's subsystem is part of the window now
    return false;
}
