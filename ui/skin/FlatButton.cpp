#include "ui/skin/FlatButton.h"

#include "ui/skin/SkinColours.h"

#include <QPainter>
#include <QStyleOptionFocusRect>

namespace {

// The width of the system's sunken edge, by which the fill is inset.
constexpr int EDGE = 2;

}  // namespace

CFlatButton::CFlatButton(const QString& text, QWidget* pParent) : QPushButton(text, pParent)
{
    setAttribute(Qt::WA_Hover);
}

void CFlatButton::enterEvent(QEnterEvent* e)
{
    m_bHover = true;
    update();
    QPushButton::enterEvent(e);
}

void CFlatButton::leaveEvent(QEvent* e)
{
    m_bHover = false;
    update();
    QPushButton::leaveEvent(e);
}

void CFlatButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect rc = rect();
    const bool bHover = m_bHover && isEnabled();
    const bool bFocus = hasFocus();
    const bool bEmphasised = bFocus || isDown() || isDefault();

    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(rc).adjusted(0.5, 0.5, -0.5, -0.5), 2.5, 2.5);
    painter.setRenderHint(QPainter::Antialiasing, false);

    const QRect inner = rc.adjusted(EDGE, EDGE, -EDGE, -EDGE);
    for (int y = inner.top(); y <= inner.bottom(); ++y) {
        painter.setPen(ToQColor(skin::FlatButtonRow(y, inner.top(), inner.height(), bHover, bEmphasised)));
        painter.drawLine(inner.left(), y, inner.right(), y);
    }

    if (bHover || bFocus) {
        const skin::SEdgeColours edges = bHover ? skin::FlatButtonHoverEdges() : skin::FlatButtonFocusEdges();
        const int side = skin::FLAT_EDGE_SIDE;
        const int end = skin::FLAT_EDGE_END;
        painter.fillRect(QRect(inner.left(), inner.top(), side, inner.height()), ToQColor(edges.m_Left));
        painter.fillRect(QRect(inner.right() - side + 1, inner.top(), side, inner.height()), ToQColor(edges.m_Right));
        painter.fillRect(QRect(inner.left(), inner.top(), inner.width(), end), ToQColor(edges.m_Top));
        painter.fillRect(QRect(inner.left(), inner.bottom() - end + 1, inner.width(), end), ToQColor(edges.m_Bottom));
        if (!bHover) {
            QStyleOptionFocusRect focus;
            focus.initFrom(this);
            focus.rect = inner.adjusted(side + 1, end + 1, -side - 1, -end - 1);
            style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
        }
    }

    QRect rcText = rc;
    if (isDown())
        rcText.translate(1, 1);
    const int flags = Qt::AlignCenter | Qt::TextShowMnemonic | Qt::TextSingleLine;
    painter.setFont(font());
    if (!icon().isNull()) {
        // A button with a picture shows it in front of its text.
        const QSize size = iconSize();
        const int textWidth = fontMetrics().horizontalAdvance(text());
        const int left = rcText.center().x() - (size.width() + 4 + textWidth) / 2;
        icon().paint(&painter, QRect(QPoint(left, rcText.center().y() - size.height() / 2), size), Qt::AlignCenter, isEnabled() ? QIcon::Normal : QIcon::Disabled);
        rcText.setLeft(left + size.width() + 4);
        rcText.setWidth(textWidth + 1);
    }
    if (isEnabled()) {
        painter.setPen(palette().color(QPalette::ButtonText));
        painter.drawText(rcText, flags, text());
    } else {
        // Engraved: a light copy one pixel down and right under grey text.
        painter.setPen(palette().color(QPalette::Light));
        painter.drawText(rcText.translated(1, 1), flags, text());
        painter.setPen(palette().color(QPalette::Disabled, QPalette::ButtonText));
        painter.drawText(rcText, flags, text());
    }
}
