// Draws printed pages with a QPainter: the fonts of a device, their
// measured line heights, and one page of drawing instructions.
//
// The printer fonts are drawn with WenQuanYi Micro Hei Mono: a fixed-pitch
// face that holds the Chinese characters and whose glyphs Qt's PDF writer
// maps back to the right code points, so that PDF text can be searched and
// copied.
#pragma once

#include <QFont>

#include "core/print/PrintLayout.h"

class QPaintDevice;
class QPainter;

// The printable area and resolution of a paint device (a printer or a PDF
// writer: its page without the margins).
SPrintDevice PrintDeviceOf(const QPaintDevice& device);

class CPrintFonts {
public:
    // The three fonts for `device`, measured on the paint device pMeasure.
    CPrintFonts(const SPrintDevice& device, const QPaintDevice* pMeasure);

    const QFont& Font(EPrintFont eFont) const { return m_Font[eFont]; }
    const SPrintFontHeights& Heights() const { return m_Heights; }

    // The face every printed text uses.
    static QString Family();

private:
    QFont m_Font[3];
    SPrintFontHeights m_Heights;
};

// Draws one page in device units (the painter may scale them).
void DrawPrintPage(QPainter& painter, const SPrintPage& page, const CPrintFonts& fonts);
