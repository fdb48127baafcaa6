#include "ui/skin/FlatMenuStyle.h"

#include "ui/skin/SkinColours.h"

#include <QActionEvent>
#include <QMenu>
#include <QPainter>
#include <QStyleOptionMenuItem>

using namespace skin;

namespace {

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

// The plain background with the icon column at its left edge.
void FillPlain(QPainter* painter, const QRect& rc, const SMenuColours& colours)
{
    painter->fillRect(rc, ToQColor(colours.m_Background));
    painter->fillRect(QRect(rc.left(), rc.top(), MENU_COLUMN_WIDTH, rc.height()), ToQColor(colours.m_Column));
}

void DrawSeparator(QPainter* painter, const QStyleOptionMenuItem& mi, const SMenuColours& colours)
{
    const QRect rc = mi.rect;
    FillPlain(painter, rc, colours);
    // An etched line from the vertical middle, 4 pixels right of the
    // column.
    const int y = rc.top() + rc.height() / 2;
    const int left = rc.left() + MENU_COLUMN_WIDTH + 4;
    painter->setPen(mi.palette.color(QPalette::Mid));
    painter->drawLine(left, y, rc.right(), y);
    painter->setPen(mi.palette.color(QPalette::Light));
    painter->drawLine(left, y + 1, rc.right(), y + 1);
}

void DrawItemBackground(QPainter* painter, const QStyleOptionMenuItem& mi, const SMenuColours& colours)
{
    if (!(mi.state & QStyle::State_Selected)) {
        FillPlain(painter, mi.rect, colours);
        return;
    }
    painter->fillRect(mi.rect, ToQColor(colours.m_SelectionFill));
    painter->setPen(ToQColor(colours.m_SelectionFrame));
    painter->drawRect(mi.rect.adjusted(0, 0, -1, -1));
}

// The item's picture; a menu may keep the picture of an action out of it.
QIcon PictureOf(const QStyleOptionMenuItem& mi, const QWidget* pWidget)
{
    if (const auto* pMenu = qobject_cast<const QMenu*>(pWidget))
        if (const QAction* pAction = pMenu->actionAt(mi.rect.center()); pAction && !pAction->isIconVisibleInMenu())
            return QIcon();
    return mi.icon;
}

// The picture box: the picture, framed when checked, or a check mark alone.
void DrawPicture(QPainter* painter, const QStyleOptionMenuItem& mi, const SMenuColours& colours, const QIcon& icon)
{
    const QRect rc = mi.rect;
    const bool bEnabled = mi.state & QStyle::State_Enabled;
    const int m = MenuPictureOffset(rc.height());
    const bool bChecked = mi.checkType != QStyleOptionMenuItem::NotCheckable && mi.checked;
    if (!icon.isNull()) {
        const QRect picture(rc.left() + 3, rc.top() + m + 2, MENU_PICTURE_WIDTH, MENU_PICTURE_WIDTH);
        if (bChecked) {
            const QRect box = picture.adjusted(-2, -1, 1, 0);
            painter->fillRect(box, ToQColor(Lighten(colours.m_SelectionFrame, 0.85)));
            painter->setPen(ToQColor(colours.m_SelectionFrame));
            painter->drawRect(box.adjusted(0, 0, -1, -1));
        }
        icon.paint(painter, picture, Qt::AlignCenter, bEnabled ? QIcon::Normal : QIcon::Disabled, bChecked ? QIcon::On : QIcon::Off);
    } else if (bChecked) {
        DrawCheckMark(painter, QRect(rc.left() + 2, rc.top() + m + 2, MENU_PICTURE_WIDTH, MENU_PICTURE_HEIGHT),
                      bEnabled ? mi.palette.color(QPalette::WindowText) : ToQColor(colours.m_DisabledText));
    }
}

// Label left, shortcut right, 16 pixels from the item's right edge.
void DrawLabel(QPainter* painter, const QStyleOptionMenuItem& mi, const SMenuColours& colours, bool bUnderlineShortcut)
{
    const QRect rc = mi.rect;
    const QRect text(rc.left() + MENU_TEXT_LEFT, rc.top(), rc.width() - MENU_TEXT_LEFT - MENU_SHORTCUT_RIGHT, rc.height());
    int flags = Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextShowMnemonic;
    if (!bUnderlineShortcut)
        flags |= Qt::TextHideMnemonic;
    painter->setFont(mi.font);
    const bool bEnabled = mi.state & QStyle::State_Enabled;
    painter->setPen(bEnabled ? mi.palette.color(QPalette::Active, QPalette::WindowText) : ToQColor(colours.m_DisabledText));
    const qsizetype tab = mi.text.lastIndexOf(QLatin1Char('\t'));
    painter->drawText(text, flags | Qt::AlignLeft, tab < 0 ? mi.text : mi.text.left(mi.text.indexOf(QLatin1Char('\t'))));
    if (tab >= 0)
        painter->drawText(text, flags | Qt::AlignRight, mi.text.mid(tab + 1));
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
        FillPlain(painter, option->rect.adjusted(1, 1, -1, -1), ColoursOf(option->palette));
        return;
    }
    const auto* mi = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (element != CE_MenuItem || !mi) {
        QProxyStyle::drawControl(element, option, painter, pWidget);
        return;
    }
    const SMenuColours colours = ColoursOf(option->palette);
    painter->save();
    if (mi->menuItemType == QStyleOptionMenuItem::Separator) {
        DrawSeparator(painter, *mi, colours);
        painter->restore();
        return;
    }
    DrawItemBackground(painter, *mi, colours);
    DrawPicture(painter, *mi, colours, PictureOf(*mi, pWidget));
    DrawLabel(painter, *mi, colours, proxy()->styleHint(SH_UnderlineShortcut, mi, pWidget) != 0);
    if (mi->menuItemType == QStyleOptionMenuItem::SubMenu) {
        QStyleOption arrow = *option;
        arrow.rect = QRect(mi->rect.right() - 14, mi->rect.top(), 10, mi->rect.height());
        proxy()->drawPrimitive(PE_IndicatorArrowRight, &arrow, painter, pWidget);
    }
    painter->restore();
}
