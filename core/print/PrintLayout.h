// The printed page: header, ruled table and footer, as drawing instructions
// in the device units of the printer (or the preview, or a PDF). A plain
// function of the print table, the print settings and the device's metrics;
// a painter backend draws the instructions as they are.
//
// Positions are scaled from a reference page of 4676 x 6744 units (the
// printable area of A4 at 600 dots per inch).
#pragma once

#include <string>
#include <vector>

#include "core/print/PrintTable.h"

// The printable area of the device and its resolution.
struct SPrintDevice {
    int m_nWidth = 4676;
    int m_nHeight = 6744;
    int m_nDpiX = 600;
    int m_nDpiY = 600;
};

enum EPrintFont { PRINTFONT_BODY,
                  PRINTFONT_SMALL,
                  PRINTFONT_TITLE };

// A font request in device units: the character height (cell height less
// internal leading), the average character width (0: the font's own) and
// the weight.
struct SPrintFontSpec {
    int m_nHeight = 0;
    int m_nWidth = 0;
    bool m_bBold = false;
};

// The font of a role on a device: body 91 high and 44 wide, small 70 high,
// title 120 high and bold, at 600 dots per inch.
SPrintFontSpec PrintFontSpec(EPrintFont eFont, const SPrintDevice& device);

// Line heights measured on the device for the three fonts: the font's
// height plus its external leading.
struct SPrintFontHeights {
    int m_nBody = 0;
    int m_nSmall = 0;
    int m_nTitle = 0;
};

enum EPrintAlign { PRINTALIGN_LEFT,
                   PRINTALIGN_CENTER,
                   PRINTALIGN_RIGHT };

struct SPrintRect {
    int m_nLeft = 0;
    int m_nTop = 0;
    int m_nRight = 0;
    int m_nBottom = 0;
};

// One text drawn on one line inside its rectangle, vertically from the
// rectangle's top; with bEllipsis, a text too wide for the rectangle ends
// in an ellipsis. The text is GBK and is drawn as it is.
struct SPrintText {
    EPrintFont m_eFont = PRINTFONT_BODY;
    SPrintRect m_rc;
    EPrintAlign m_eAlign = PRINTALIGN_LEFT;
    bool m_bEllipsis = false;
    std::string m_strText;
};

// A solid black line of the given pen width.
struct SPrintRule {
    int m_nX1 = 0;
    int m_nY1 = 0;
    int m_nX2 = 0;
    int m_nY2 = 0;
    int m_nPen = 1;
};

struct SPrintPage {
    std::vector<SPrintRule> m_Rules;
    std::vector<SPrintText> m_Texts;
};

// Everything a print takes from the settings and the document, read once
// per print (see ReadPrintSettings).
struct SPrintSettings {
    std::string m_strCompany;                   // first title line
    std::string m_strBook;                      // second title line
    std::string m_strClientLabel;               // m_CountConstructionCompany
    std::string m_strClient;                    // ProjectCompanyName
    std::string m_strProjectLabel;              // m_CountProjectName
    std::string m_strProject;                   // ProjectName
    std::string m_strCalcLabel;                 // m_CountPeople
    std::string m_strCalculator;                // CountName
    std::string m_strCheckLabel;                // m_CountReplacePeople
    std::string m_strChecker;                   // AuditName
    std::string m_strHeader[5];                 // 序号 and the titles of the printed columns 2..5
    std::string m_strSeatSign[4];               // nSEATSIGN1, 2, 3 and 5 as stored
    int m_nPen = 1;                             // rule width from DrawLinesStyle
    int m_nYear = 0, m_nMonth = 0, m_nDay = 0;  // the print date
    std::string m_strTitle;                     // the document's title
    std::string m_strAddress;                   // the footer's right part, as drawn
    int m_nColWidth[4] = {12, 14, 48, 8};       // wrap widths of columns 1..4
};

// The page geometry of a device.
struct SPrintGeometry {
    float m_sx = 1, m_sy = 1, m_fx = 1, m_fy = 1;
    int m_nGap = 0;         // G: space between lines
    int m_nPitch = 0;       // P: line pitch
    int m_nUsable = 0;      // U: usable height
    int m_nLines = 1;       // N: lines per page
    int m_nRest = 0;        // R: height left over
    int m_nTitleExtra = 0;  // Q: added to the title band
    int m_nColX[6] = {};    // the vertical rules, left to right
    int m_nUnit = 0;        // u: the width of one column unit
    int m_nTop = 0;         // Yt: the top rule
};

SPrintGeometry PrintGeometry(const SPrintDevice& device, const SPrintFontHeights& heights,
                             const int colWidth[4]);

class CPrintLayout {
public:
    CPrintLayout(const SPrintTable& table, const SPrintSettings& settings, const SPrintDevice& device,
                 const SPrintFontHeights& heights);

    const SPrintGeometry& Geometry() const { return m_Geo; }
    // Pages of the printed lines on this device (0 when there are none).
    int PageCount() const;
    // The instructions of page p, from 1.
    SPrintPage Page(int p) const;

private:
    void Header(SPrintPage& page, int p) const;
    void Rules(SPrintPage& page) const;
    void Lines(SPrintPage& page, int p) const;
    void Footer(SPrintPage& page) const;
    int ScaledX(int v) const { return static_cast<int>(static_cast<float>(v) * m_Geo.m_sx); }
    int ScaledY(int v) const { return static_cast<int>(static_cast<float>(v) * m_Geo.m_sy); }

    const SPrintTable& m_Table;
    const SPrintSettings& m_Settings;
    SPrintDevice m_Device;
    SPrintFontHeights m_Heights;
    SPrintGeometry m_Geo;
};
