#include "ui/skin/FlatMenuStyle.h"

#include "ui/skin/SkinRules.h"

#include <QActionEvent>
#include <QMenu>
#include <QPainter>
#include <QStyleOptionMenuItem>

using namespace skin;

namespace {

QColor ToQColor(SRgb c) { return QColor(c.m_nRed, c.m_nGreen, c.m_nBlue); }
SRgb ToRgb(const QColor& c) { return {c.red(), c.green(), c.blue()}; }

SMenuColours ColoursOf(const QPalette& pal)
{
    return FlatMenuColours(ToRgb(pal.color(QPalette::Active, QPalette::Button)), ToRgb(pal.color(QPalette::Active, QPalette::Window)),
                           ToRgb(pal.color(QPalette::Active, QPalette::Highlight)), ToRgb(pal.color(QPalette::Disabled, QPalette::WindowText)));
}

void DrawCheckMark(QPainter* painter, const QRect& box, const QColor& colour)
{
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(QPen(colour, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const QPointF c = QRectF(box).center();
    const QPointF points[] = {c + QPointF(-4, 0), c + QPointF(-1.5, 3), c + QPointF(4, -3.5)};
    painter->drawPolyline(points, 3);
    painter->restore();
}

}  // namespace

CFlatMenuStyle::CFlatMenuStyle() = default;

void CFlatMenuStyle::Install(QMenu* pMenu)
{
    if (!pMenu || pMenu->style() == this)
        return;
    pMenu->setStyle(this);
    pMenu->installEventFilter(this);
    for (QAction* pAction : pMenu->actions())
        Install(pAction->menu());
}

bool CFlatMenuStyle::eventFilter(QObject* pObject, QEvent* pEvent)
{
    // Submenus added after installation take the style too.
    if (pEvent->type() == QEvent::ActionAdded)
        if (QAction* pAction = static_cast<QActionEvent*>(pEvent)->action())
            Install(pAction->menu());
    return QProxyStyle::eventFilter(pObject, pEvent);
}

int CFlatMenuStyle::MenuBarHeight(const QFontMetrics& fm)
{
    return qMax(fm.height() + 4, 19);
}

QSize CFlatMenuStyle::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size, const QWidget* pWidget) const
{
    if (type == CT_MenuItem) {
        if (const auto* mi = qstyleoption_cast<const QStyleOptionMenuItem*>(option)) {
            // The menu measures the label; it adds the shortcuts' width.
            const SSize sz = MenuItemSize(mi->menuItemType == QStyleOptionMenuItem::Separator, size.width(), MenuBarHeight(mi->fontMetrics));
            // A menu leaves out items of no width, so a separator keeps one.
            return QSize(qMax(1, sz.m_nWidth), sz.m_nHeight);
        }
    }
    return QProxyStyle::sizeFromContents(type, option, size, pWidget);
}

int CFlatMenuStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* pWidget) const
{
    switch (metric) {
    case PM_MenuPanelWidth: return 1;
    case PM_MenuHMargin:
    case PM_MenuVMargin:
    case PM_MenuDesktopFrameWidth: return 0;
    default: return QProxyStyle::pixelMetric(metric, option, pWidget);
    }
}

void CFlatMenuStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter, const QWidget* pWidget) const
{
    if (element == PE_PanelMenu || element == PE_FrameMenu) {
        const SMenuColours colours = ColoursOf(option->palette);
        const QRect rc = option->rect;
        if (element == PE_PanelMenu) {
            painter->fillRect(rc, ToQColor(colours.m_Background));
            painter->fillRect(QRect(rc.left() + 1, rc.top(), MENU_COLUMN_WIDTH, rc.height()), ToQColor(colours.m_Column));
        }
        painter->setPen(option->palette.color(QPalette::Dark));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(rc.adjusted(0, 0, -1, -1));
        return;
    }
    QProxyStyle::drawPrimitive(element, option, painter, pWidget);
}

void CFlatMenuStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter, const QWidget* pWidget) const
{
    if (element == CE_MenuEmptyArea) {
        const SMenuColours colours = ColoursOf(option->palette);
        const QRect rc = option->rect.adjusted(1, 1, -1, -1);
        painter->fillRect(rc, ToQColor(colours.m_Background));
        painter->fillRect(QRect(rc.left(), rc.top(), MENU_COLUMN_WIDTH, rc.height()), ToQColor(colours.m_Column));
        return;
    }
    const auto* mi = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (element != CE_MenuItem || !mi) {
        QProxyStyle::drawControl(element, option, painter, pWidget);
        return;
    }
    const SMenuColours colours = ColoursOf(option->palette);
    const QRect rc = mi->rect;
    const QRect column(rc.left(), rc.top(), MENU_COLUMN_WIDTH, rc.height());
    painter->save();
    if (mi->menuItemType == QStyleOptionMenuItem::Separator) {
        painter->fillRect(rc, ToQColor(colours.m_Background));
        painter->fillRect(column, ToQColor(colours.m_Column));
        // An etched line from the vertical middle, 4 pixels right of the
        // column.
        const int y = rc.top() + rc.height() / 2;
        const int left = rc.left() + MENU_COLUMN_WIDTH + 4;
        painter->setPen(option->palette.color(QPalette::Mid));
        painter->drawLine(left, y, rc.right(), y);
        painter->setPen(option->palette.color(QPalette::Light));
        painter->drawLine(left, y + 1, rc.right(), y + 1);
        painter->restore();
        return;
    }

    const bool bEnabled = mi->state & State_Enabled;
    const bool bSelected = mi->state & State_Selected;
    const QColor highlight = ToQColor(colours.m_SelectionFrame);
    if (bSelected) {
        painter->fillRect(rc, ToQColor(colours.m_SelectionFill));
        painter->setPen(highlight);
        painter->drawRect(rc.adjusted(0, 0, -1, -1));
    } else {
        painter->fillRect(rc, ToQColor(colours.m_Background));
        painter->fillRect(column, ToQColor(colours.m_Column));
    }

    // The picture box; a menu may keep the picture of an action out of it.
    QIcon icon = mi->icon;
    if (const auto* pMenu = qobject_cast<const QMenu*>(pWidget))
        if (const QAction* pAction = pMenu->actionAt(rc.center()); pAction && !pAction->isIconVisibleInMenu())
            icon = QIcon();
    const int m = MenuPictureOffset(rc.height());
    const bool bChecked = mi->checkType != QStyleOptionMenuItem::NotCheckable && mi->checked;
    if (!icon.isNull()) {
        const QRect picture(rc.left() + 3, rc.top() + m + 2, MENU_PICTURE_WIDTH, MENU_PICTURE_WIDTH);
        if (bChecked) {
            const QRect box = picture.adjusted(-2, -1, 1, 0);
            painter->fillRect(box, ToQColor(Lighten(colours.m_SelectionFrame, 0.85)));
            painter->setPen(highlight);
            painter->drawRect(box.adjusted(0, 0, -1, -1));
        }
        icon.paint(painter, picture, Qt::AlignCenter, bEnabled ? QIcon::Normal : QIcon::Disabled, bChecked ? QIcon::On : QIcon::Off);
    } else if (bChecked) {
        DrawCheckMark(painter, QRect(rc.left() + 2, rc.top() + m + 2, MENU_PICTURE_WIDTH, MENU_PICTURE_HEIGHT),
                      bEnabled ? option->palette.color(QPalette::WindowText) : ToQColor(colours.m_DisabledText));
    }

    // Label left, shortcut right, 16 pixels from the item's right edge.
    const QRect text(rc.left() + MENU_TEXT_LEFT, rc.top(), rc.width() - MENU_TEXT_LEFT - MENU_SHORTCUT_RIGHT, rc.height());
    int flags = Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextShowMnemonic;
    if (!proxy()->styleHint(SH_UnderlineShortcut, mi, pWidget))
        flags |= Qt::TextHideMnemonic;
    painter->setFont(mi->font);
    painter->setPen(bEnabled ? option->palette.color(QPalette::Active, QPalette::WindowText) : ToQColor(colours.m_DisabledText));
    const qsizetype tab = mi->text.lastIndexOf(QLatin1Char('\t'));
    painter->drawText(text, flags | Qt::AlignLeft, tab < 0 ? mi->text : mi->text.left(mi->text.indexOf(QLatin1Char('\t'))));
    if (tab >= 0)
        painter->drawText(text, flags | Qt::AlignRight, mi->text.mid(tab + 1));
    if (mi->menuItemType == QStyleOptionMenuItem::SubMenu) {
        QStyleOption arrow = *option;
        arrow.rect = QRect(rc.right() - 14, rc.top(), 10, rc.height());
        proxy()->drawPrimitive(PE_IndicatorArrowRight, &arrow, painter, pWidget);
    }
    painter->restore();
}
