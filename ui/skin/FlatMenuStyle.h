// Menus in the flat style: a light icon column on the left with each
// command's tool-bar picture, the text 25 pixels in, shortcuts right-aligned,
// etched separators half a menu bar high, a light selection with a frame in
// the highlight colour. Colours come from the palette. Keyboard handling and
// accessibility stay the menu's own.
#pragma once

#include <QProxyStyle>

class QMenu;

class CFlatMenuStyle : public QProxyStyle {
    Q_OBJECT
public:
    CFlatMenuStyle();

    // Gives the menu, its submenus and those added later the flat style.
    void Install(QMenu* pMenu);

    // The height of the menu bar for a menu font.
    static int MenuBarHeight(const QFontMetrics& fm);

    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size, const QWidget* pWidget) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr, const QWidget* pWidget = nullptr) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter, const QWidget* pWidget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter, const QWidget* pWidget = nullptr) const override;

protected:
    bool eventFilter(QObject* pObject, QEvent* pEvent) override;
};
