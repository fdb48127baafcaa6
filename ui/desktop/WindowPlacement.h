// The rules for the main window's saved rectangle: what is stored when the
// window closes, how a stored rectangle is restored at start-up and the size
// the window is created with. Pure functions over plain rectangles so that
// the rules can be checked without a screen.
#pragma once

#include <string>
#include <vector>

class CSettingsKey;

struct SWinRect {
    int m_nLeft = 0;
    int m_nTop = 0;
    int m_nRight = 0;
    int m_nBottom = 0;
    bool operator==(const SWinRect& o) const
    {
        return m_nLeft == o.m_nLeft && m_nTop == o.m_nTop && m_nRight == o.m_nRight && m_nBottom == o.m_nBottom;
    }
};

// The rectangle written when the window closes: a window 200 pixels high or
// less, or 350 wide or less (a minimised one, for instance), is replaced by
// a usable size.
SWinRect CorrectClosingRect(SWinRect rc);

// How the window reappears at start-up.
struct SPlacement {
    bool m_bFirstStart = false;  // nothing stored: show maximised
    bool m_bMaximised = false;   // stored rectangle was that of a maximised window
    SWinRect m_Rect;             // the normal (restore) rectangle
};

// From the stored values (WindowShow, WindowTop, WindowBottom, WindowLeft,
// WindowRight as texts) and the screen width in pixels. A stored rectangle
// whose left plus right equals the screen width was that of a maximised
// window: the window is maximised again and given a restore rectangle
// inside the screen.
SPlacement PlacementFromStored(const std::string& strShow, const std::string& strTop, const std::string& strBottom,
                               const std::string& strLeft, const std::string& strRight, int nScreenWidth);

// Reads the five values from the store.
SPlacement ReadPlacement(const CSettingsKey& key, int nScreenWidth);

// Writes WindowShow "1" and the corrected rectangle.
void WriteClosingRect(const CSettingsKey& key, const SWinRect& rcWindow);

// The size the window is created with when a rectangle is stored: its top
// left corner as stored, its width and height the stored ones (whichever way
// round) limited to the screen. False when nothing is stored.
bool CreationRect(const CSettingsKey& key, int nScreenWidth, int nScreenHeight, SWinRect& rc);

// The widths the user dragged the sheet's data columns to (columns 1 .. 5,
// in pixels; 0 keeps the template width). Unreadable or implausible values
// count as 0.
static const int USER_WIDTH_COLUMNS = 5;
std::vector<int> ReadColumnWidths(const CSettingsKey& key);
void WriteColumnWidths(const CSettingsKey& key, const std::vector<int>& widths);
