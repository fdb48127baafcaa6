#include "ui/print/PrintPainter.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>

#include "core/text/TextCodec.h"

namespace {

const char FAMILY[] = "WenQuanYi Micro Hei Mono";
const char FONT_FILE[] = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc";

QString PrintedText(const std::string& gbk)
{
    // A carriage return has no glyph: a pasted CR LF leaves one at the end
    // of a line.
    QString text = QString::fromStdString(textcodec::GbkToUtf8(gbk).Bytes());
    text.remove(QLatin1Char('\r'));
    return text;
}

}  // namespace

SPrintDevice PrintDeviceOf(const QPaintDevice& device)
{
    SPrintDevice d;
    d.m_nWidth = device.width();
    d.m_nHeight = device.height();
    d.m_nDpiX = device.logicalDpiX();
    d.m_nDpiY = device.logicalDpiY();
    return d;
}

QString CPrintFonts::Family()
{
    static const QString family = []() {
        // Registered from its file when the font configuration does not
        // list it (a bare offscreen start).
        if (!QFontDatabase::families().contains(QString::fromLatin1(FAMILY)))
            QFontDatabase::addApplicationFont(QString::fromLatin1(FONT_FILE));
        return QString::fromLatin1(FAMILY);
    }();
    return family;
}

CPrintFonts::CPrintFonts(const SPrintDevice& device, const QPaintDevice* pMeasure)
{
    int* heights[3] = {&m_Heights.m_nBody, &m_Heights.m_nSmall, &m_Heights.m_nTitle};
    for (int i = 0; i < 3; ++i) {
        const SPrintFontSpec spec = PrintFontSpec(static_cast<EPrintFont>(i), device);
        QFont& font = m_Font[i];
        font = QFont(Family());
        font.setPixelSize(std::max(1, spec.m_nHeight));
        font.setWeight(spec.m_bBold ? QFont::Bold : QFont::Normal);
        font.setKerning(false);
        font.setStyleStrategy(QFont::PreferAntialias);
        const QFontMetrics fm = pMeasure ? QFontMetrics(font, pMeasure) : QFontMetrics(font);
        if (spec.m_nWidth > 0) {
            // The requested average width, as a stretch of the face.
            const int natural = fm.horizontalAdvance(QLatin1Char('x'));
            if (natural > 0 && natural != spec.m_nWidth)
                font.setStretch(std::clamp(spec.m_nWidth * 100 / natural, 50, 200));
        }
        const QFontMetrics measured = pMeasure ? QFontMetrics(font, pMeasure) : QFontMetrics(font);
        *heights[i] = measured.height() + std::max(0, measured.leading());
    }
}

void DrawPrintPage(QPainter& painter, const SPrintPage& page, const CPrintFonts& fonts)
{
    int pen = -1;
    for (const SPrintRule& rule : page.m_Rules) {
        if (rule.m_nPen != pen) {
            pen = rule.m_nPen;
            painter.setPen(QPen(Qt::black, pen, Qt::SolidLine, Qt::SquareCap));
        }
        painter.drawLine(rule.m_nX1, rule.m_nY1, rule.m_nX2, rule.m_nY2);
    }
    painter.setPen(Qt::black);
    int font = -1;
    QFontMetrics fm(painter.font());
    for (const SPrintText& t : page.m_Texts) {
        if (t.m_strText.empty())
            continue;
        if (t.m_eFont != font) {
            font = t.m_eFont;
            painter.setFont(fonts.Font(t.m_eFont));
            fm = painter.fontMetrics();
        }
        // Placed by hand on one line: the texts never break and are never
        // clipped, so the general text layout would only cost time.
        const int width = t.m_rc.m_nRight - t.m_rc.m_nLeft;
        QString text = PrintedText(t.m_strText);
        int advance = fm.horizontalAdvance(text);
        if (t.m_bEllipsis && advance > width) {
            text = fm.elidedText(text, Qt::ElideRight, width);
            advance = fm.horizontalAdvance(text);
        }
        const int x = t.m_eAlign == PRINTALIGN_LEFT ? t.m_rc.m_nLeft
            : t.m_eAlign == PRINTALIGN_CENTER       ? t.m_rc.m_nLeft + (width - advance) / 2
                                                    : t.m_rc.m_nRight - advance;
        painter.drawText(QPoint(x, t.m_rc.m_nTop + fm.ascent()), text);
    }
}
