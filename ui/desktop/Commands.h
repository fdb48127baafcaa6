// The command table of the main window: every command's menu text, status
// bar prompt and tool tip, the layout of the menu bar, the two tool bars and
// the grid's context menu, and the accelerator table. Plain data, texts in
// UTF-8 as the window shows them.
#pragma once

#include <vector>

struct SCommandInfo {
    int m_nId;
    const char* m_pszText;     // menu text, "&" marks the mnemonic
    const char* m_pszKeyText;  // key shown at the right of the menu item, or ""
    const char* m_pszPrompt;   // status bar prompt
    const char* m_pszTip;      // tool tip of the tool bar button
};

// The entry for id, or nullptr for an unknown id.
const SCommandInfo* FindCommand(int nId);
const std::vector<SCommandInfo>& AllCommands();

// One pull-down menu of the menu bar: its title and its items, 0 for a
// separator.
struct SMenuInfo {
    const char* m_pszTitle;
    std::vector<int> m_Items;
};
const std::vector<SMenuInfo>& MainMenuLayout();

// Tool bar buttons in order, 0 for a separator. The combo boxes take the
// places of ids ITEM_LIST and GRID_LINE_BOX.
const std::vector<int>& MainToolbarLayout();
const std::vector<int>& FormatToolbarLayout();

// The grid's context menu, 0 for a separator.
const std::vector<int>& ContextMenuLayout();

// Accelerators: key sequences in Qt's portable text form.
struct SAccelInfo {
    const char* m_pszKeys;
    int m_nId;
};
const std::vector<SAccelInfo>& AcceleratorTable();

// Commands whose subsystem is not part of the window layer and that stay
// disabled until a controller takes them (printing).
bool IsDeferredCommand(int nId);

// Texts of the frame.
namespace frametext {
inline constexpr char APP_TITLE[] = "Quantorix";
inline constexpr char IDLE_PROMPT[] = "如需帮助，请按F1键";
inline constexpr char HELP_FILE[] = "quantorix.chm";
inline constexpr char SPLASH_FILE[] = "skin/qrx.bmp";
// Addresses opened by the Help menu.
inline constexpr char URL_DOWNLOAD[] = "https://quantorix.example.com/download";
inline constexpr char URL_HOME[] = "https://quantorix.example.com/";
inline constexpr char URL_SUPPORT[] = "mailto:support@quantorix.example.com";
}  // namespace frametext
