// The arithmetic of the skinned look, free of any window system: the theme
// file's reading rules, where the frame's pieces and caption buttons lie, the
// hit-test order, the flat button's gradient and edges, and the flat menu's
// measures and colours. The Qt classes only paint what these functions say.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace skin {

struct SRect {
    int m_nLeft = 0, m_nTop = 0, m_nRight = 0, m_nBottom = 0;
    bool IsEmpty() const { return m_nRight <= m_nLeft || m_nBottom <= m_nTop; }
    // Right and bottom edges are outside, as window rectangles are.
    bool Contains(int x, int y) const { return x >= m_nLeft && x < m_nRight && y >= m_nTop && y < m_nBottom; }
    bool operator==(const SRect& o) const { return m_nLeft == o.m_nLeft && m_nTop == o.m_nTop && m_nRight == o.m_nRight && m_nBottom == o.m_nBottom; }
};

struct SRgb {
    int m_nRed = 0, m_nGreen = 0, m_nBlue = 0;
    bool operator==(const SRgb& o) const { return m_nRed == o.m_nRed && m_nGreen == o.m_nGreen && m_nBlue == o.m_nBlue; }
    bool operator!=(const SRgb& o) const { return !(*this == o); }
};

// ---- The theme file ------------------------------------------------------

// An INI file read the way the system's profile functions read it: section
// and key names without regard to case, the first occurrence wins, values
// trimmed and cut after 999 characters, ";" lines are comments.
class CThemeIni {
public:
    bool Load(const std::string& path);
    // The value, or def when the key is absent.
    std::string Text(const std::string& section, const std::string& key, const std::string& def = std::string()) const;
    // Leading decimal digits with an optional sign, as the profile's integer
    // reading does; def when the key is absent or holds no number.
    int Int(const std::string& section, const std::string& key, int def) const;
    // "r,g,b"; def when absent, empty or not three numbers. Channels are
    // clipped to 0..255.
    SRgb Colour(const std::string& section, const std::string& key, SRgb def) const;

private:
    std::map<std::string, std::map<std::string, std::string>> m_Sections;
};

// The file an image value names: its file name (after the last "\" or "/")
// in the theme file's folder. A theme file without a folder part looks for
// its images beside it, in the current folder.
std::string ThemeImagePath(const std::string& themePath, const std::string& value);

// ---- Frame geometry ------------------------------------------------------

// The repeated middle of an image strip: from m_nStart to m_nEnd.
struct SSlice {
    int m_nStart = 0, m_nEnd = 1;
    bool operator==(const SSlice& o) const { return m_nStart == o.m_nStart && m_nEnd == o.m_nEnd; }
};
// Fixed start and fixed end as the theme gives them; a middle that would be
// empty or reversed becomes one pixel wide.
SSlice SliceOf(int imageLength, int fixedStart, int fixedEnd);

// One copy of an image strip onto the target: source offset, target offset,
// length, all along the strip.
struct SPiece {
    int m_nSrc, m_nDst, m_nLen;
    bool operator==(const SPiece& o) const { return m_nSrc == o.m_nSrc && m_nDst == o.m_nDst && m_nLen == o.m_nLen; }
};
// The fixed start once, the middle repeated side by side (the last copy cut
// at the target length minus the fixed end), then the fixed end once at the
// far end. Middles are never stretched.
std::vector<SPiece> StripPieces(int imageLength, SSlice slice, int targetLength);

// A caption button in window coordinates for a window of width nWidth; the
// image holds nCells state cells side by side.
SRect ButtonRect(int nWidth, int xCoord, int yCoord, int imageWidth, int imageHeight, int nCells);

enum EHitTest {
    HIT_CLIENT,
    HIT_CAPTION,
    HIT_SYSMENU,
    HIT_CLOSE,
    HIT_MINIMISE,
    HIT_MAXIMISE,
    HIT_TOPLEFT,
    HIT_TOPRIGHT,
    HIT_BOTTOMLEFT,
    HIT_BOTTOMRIGHT,
    HIT_LEFT,
    HIT_RIGHT,
    HIT_BOTTOM,
    HIT_TOP,
};

enum EButtonAction { ACTION_CLOSE = 0,
                     ACTION_MAXIMISE = 1,
                     ACTION_MINIMISE = 2 };

struct SFrameLayout {
    int m_nLeft = 0, m_nRight = 0, m_nCaption = 0, m_nBottom = 0;  // border thicknesses
    SRect m_rcClose, m_rcMinimise, m_rcMaximise, m_rcRestore;      // window coordinates
    int m_nIconSize = 16;
    bool m_bSizable = false, m_bMinimiseBox = false, m_bMaximiseBox = false;
    bool m_bMaximised = false;

    // The small icon at x = left thickness, y = 5.
    SRect IconRect() const { return {m_nLeft, 5, m_nLeft + m_nIconSize, 5 + m_nIconSize}; }
    // The maximise or restore button as it is drawn and hit.
    const SRect& MaximiseRect() const { return m_bMaximised && !m_rcRestore.IsEmpty() ? m_rcRestore : m_rcMaximise; }
};

// First match wins: close, minimise (with a minimise box), maximise (with a
// maximise box), the icon, then the sizing corners and edges of a sizable
// window that is not maximised, then the caption.
EHitTest HitTest(const SFrameLayout& layout, int nWidth, int nHeight, int x, int y);

// Where the caption text goes: from the theme's text shift to the top
// image's fixed end.
SRect CaptionTextRect(int textShift, int textShiftVert, int topSliceEnd, int nWidth, int topImageWidth, int captionHeight);

// ---- Flat push button ----------------------------------------------------

// The colour of gradient row y of an inner rectangle from top with height
// rows. Emphasised: focused, pressed or default.
SRgb FlatButtonRow(int y, int top, int height, bool bHover, bool bEmphasised);

struct SEdgeColours {
    SRgb m_Left, m_Right, m_Top, m_Bottom;
};
// The edges under the mouse, and those of a focused button not under it.
SEdgeColours FlatButtonHoverEdges();
SEdgeColours FlatButtonFocusEdges();
inline constexpr int FLAT_EDGE_SIDE = 3;  // left and right edges, pixels
inline constexpr int FLAT_EDGE_END = 2;   // top and bottom edges, pixels

// ---- Flat menu -----------------------------------------------------------

// Each channel moved towards 255 by the fraction f, for 0 < f <= 1; other
// fractions leave the colour as it is.
SRgb Lighten(SRgb c, double f);

struct SMenuColours {
    SRgb m_Column, m_Background, m_SelectionFill, m_SelectionFrame, m_DisabledText;
};
SMenuColours FlatMenuColours(SRgb face, SRgb menu, SRgb highlight, SRgb grayText);

inline constexpr int MENU_PICTURE_WIDTH = 16;
inline constexpr int MENU_PICTURE_HEIGHT = 15;
inline constexpr int MENU_COLUMN_WIDTH = MENU_PICTURE_WIDTH + 5;  // the icon column
inline constexpr int MENU_TEXT_LEFT = MENU_PICTURE_WIDTH + 9;     // text start in the item
inline constexpr int MENU_SHORTCUT_RIGHT = 16;                    // shortcut's right edge from the item's right

struct SSize {
    int m_nWidth = 0, m_nHeight = 0;
    bool operator==(const SSize& o) const { return m_nWidth == o.m_nWidth && m_nHeight == o.m_nHeight; }
};
SSize MenuItemSize(bool bSeparator, int textWidth, int menuBarHeight);
// Vertical offset of the picture box in an item of this height.
int MenuPictureOffset(int itemHeight);

}  // namespace skin
