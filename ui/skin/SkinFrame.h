// The themed frame of a dialog: the window loses the system's frame and
// draws its own border, caption strip, caption buttons, small icon and
// caption text from the theme's images. Moving and sizing go through the
// window system; maximise, restore and minimise are done here. A dialog
// adopts it as the last step of its set-up:
//
//     CSkinFrame::Apply(this);
//
// Without a usable theme the dialog keeps the system's frame.
#pragma once

#include "ui/skin/SkinRules.h"
#include "ui/skin/SkinTheme.h"

#include <QObject>
#include <QPoint>
#include <QRect>

class QMenu;
class QWidget;

class CSkinFrame : public QObject {
    Q_OBJECT
public:
    enum EState { STATE_NORMAL,
                  STATE_MAXIMISED,
                  STATE_MINIMISED };

    // Loads the theme and attaches the frame to the window (a top-level
    // widget not yet shown). Returns the frame, owned by the window, or
    // nullptr when the theme cannot be loaded.
    static CSkinFrame* Apply(QWidget* pWindow, const QString& themePath = CSkinTheme::FindThemeFile());

    const CSkinTheme& Theme() const { return m_Theme; }
    // The geometry for the window's current width.
    const skin::SFrameLayout& Layout() const { return m_Layout; }
    EState State() const { return m_eState; }
    skin::EHitTest Hovered() const { return m_eHovered; }
    skin::EHitTest Pressed() const { return m_ePressed; }

    void Maximise();
    void Minimise();
    void Restore();

    // The caption strip as it is copied to the window.
    QImage ComposeCaption(bool bActive) const;

protected:
    bool eventFilter(QObject* pObject, QEvent* pEvent) override;

private:
    CSkinFrame(QWidget* pWindow, CSkinTheme theme);
    void UpdateLayout();
    void UpdateShape();
    void Paint();
    void DrawStrip(class QPainter& painter, const QImage& img, bool bHorizontal, bool bActive, skin::SSlice slice, const QRect& target) const;
    void OnPress(const QPoint& pt, Qt::MouseButton button, const QPoint& globalPos);
    void OnMove(const QPoint& pt, const QPoint& globalPos, Qt::MouseButtons buttons);
    void OnRelease(const QPoint& pt);
    void ShowSystemMenu(const QPoint& globalPos);
    void SetHovered(skin::EHitTest code);

    QWidget* m_pWindow;
    CSkinTheme m_Theme;
    skin::SFrameLayout m_Layout;
    skin::EHitTest m_ePressed = skin::HIT_CLIENT;
    skin::EHitTest m_eHovered = skin::HIT_CLIENT;
    EState m_eState = STATE_NORMAL;
    EState m_eBeforeMinimise = STATE_NORMAL;
    QRect m_rcBeforeMaximise;
    // Moving and sizing by hand where the window system cannot do it.
    skin::EHitTest m_eDragging = skin::HIT_CLIENT;
    bool m_bMovePending = false;
    QPoint m_ptDragStart;
    QRect m_rcDragStart;
};
