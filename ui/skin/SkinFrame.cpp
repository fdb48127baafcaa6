#include "ui/skin/SkinFrame.h"

#include <QApplication>
#include <QBitmap>
#include <QFontDatabase>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWidget>
#include <QWindow>

using namespace skin;

namespace {

QRect ToQRect(const SRect& rc) { return QRect(QPoint(rc.m_nLeft, rc.m_nTop), QPoint(rc.m_nRight - 1, rc.m_nBottom - 1)); }

bool IsSizing(EHitTest code) { return code >= HIT_TOPLEFT && code <= HIT_TOP; }
bool IsButton(EHitTest code) { return code == HIT_CLOSE || code == HIT_MINIMISE || code == HIT_MAXIMISE; }

Qt::Edges EdgesOf(EHitTest code)
{
    switch (code) {
    case HIT_TOPLEFT: return Qt::TopEdge | Qt::LeftEdge;
    case HIT_TOPRIGHT: return Qt::TopEdge | Qt::RightEdge;
    case HIT_BOTTOMLEFT: return Qt::BottomEdge | Qt::LeftEdge;
    case HIT_BOTTOMRIGHT: return Qt::BottomEdge | Qt::RightEdge;
    case HIT_LEFT: return Qt::LeftEdge;
    case HIT_RIGHT: return Qt::RightEdge;
    case HIT_BOTTOM: return Qt::BottomEdge;
    case HIT_TOP: return Qt::TopEdge;
    default: return {};
    }
}

Qt::CursorShape CursorOf(EHitTest code)
{
    switch (code) {
    case HIT_TOPLEFT:
    case HIT_BOTTOMRIGHT: return Qt::SizeFDiagCursor;
    case HIT_TOPRIGHT:
    case HIT_BOTTOMLEFT: return Qt::SizeBDiagCursor;
    case HIT_LEFT:
    case HIT_RIGHT: return Qt::SizeHorCursor;
    case HIT_TOP:
    case HIT_BOTTOM: return Qt::SizeVerCursor;
    default: return Qt::ArrowCursor;
    }
}

}  // namespace

CSkinFrame* CSkinFrame::Apply(QWidget* pWindow, const QString& themePath)
{
    CSkinTheme theme;
    if (!pWindow || !theme.Load(themePath))
        return nullptr;
    return new CSkinFrame(pWindow, std::move(theme));
}

CSkinFrame::CSkinFrame(QWidget* pWindow, CSkinTheme theme) : QObject(pWindow), m_pWindow(pWindow), m_Theme(std::move(theme))
{
    setObjectName(QStringLiteral("skinFrame"));
    const Qt::WindowFlags flags = pWindow->windowFlags();
    m_Layout.m_bMinimiseBox = flags.testFlag(Qt::WindowMinimizeButtonHint);
    m_Layout.m_bMaximiseBox = flags.testFlag(Qt::WindowMaximizeButtonHint);
    m_Layout.m_bSizable = pWindow->minimumSize() != pWindow->maximumSize() && !flags.testFlag(Qt::MSWindowsFixedSizeDialogHint);
    m_Layout.m_nLeft = m_Theme.LeftWidth();
    m_Layout.m_nRight = m_Theme.RightWidth();
    m_Layout.m_nCaption = m_Theme.CaptionHeight();
    m_Layout.m_nBottom = m_Theme.BottomHeight();
    // The window keeps its kind (dialog, tool window) but the system draws
    // no frame, menu or buttons any more.
    pWindow->setWindowFlags((flags & Qt::WindowType_Mask) | Qt::FramelessWindowHint);
    pWindow->setContentsMargins(m_Layout.m_nLeft, m_Layout.m_nCaption, m_Layout.m_nRight, m_Layout.m_nBottom);
    pWindow->setMouseTracking(true);
    pWindow->installEventFilter(this);
    UpdateLayout();
}

void CSkinFrame::UpdateLayout()
{
    const int w = m_pWindow->width();
    auto rect = [&](const CSkinTheme::SButton& button) {
        if (button.m_Image.isNull())
            return SRect();
        // Every button uses the close image's height for its cells.
        return ButtonRect(w, button.m_nX, button.m_nY, button.m_Image.width(), m_Theme.m_Close.m_Image.height(), m_Theme.m_nImgCount);
    };
    m_Layout.m_rcClose = rect(m_Theme.m_Close);
    m_Layout.m_rcMinimise = rect(m_Theme.m_Minimise);
    m_Layout.m_rcMaximise = rect(m_Theme.m_Maximise);
    m_Layout.m_rcRestore = rect(m_Theme.m_Restore);
    m_Layout.m_bMaximised = m_eState == STATE_MAXIMISED;
}

void CSkinFrame::DrawStrip(QPainter& painter, const QImage& img, bool bHorizontal, bool bActive, SSlice slice, const QRect& target) const
{
    // Horizontal images stack their halves vertically, vertical ones side by
    // side.
    const int half = bHorizontal ? img.height() / 2 : img.width() / 2;
    const int length = bHorizontal ? img.width() : img.height();
    const int offset = bActive ? 0 : half;
    for (const SPiece& piece : StripPieces(length, slice, bHorizontal ? target.width() : target.height())) {
        if (bHorizontal)
            painter.drawImage(QPoint(target.left() + piece.m_nDst, target.top()), img, QRect(piece.m_nSrc, offset, piece.m_nLen, qMin(half, target.height())));
        else
            painter.drawImage(QPoint(target.left(), target.top() + piece.m_nDst), img, QRect(offset, piece.m_nSrc, qMin(half, target.width()), piece.m_nLen));
    }
}

QImage CSkinFrame::ComposeCaption(bool bActive) const
{
    const int w = m_pWindow->width();
    const int h = m_pWindow->height();
    const SFrameLayout& l = m_Layout;
    QImage strip(qMax(1, w), qMax(1, l.m_nCaption), QImage::Format_ARGB32_Premultiplied);
    strip.fill(Qt::transparent);
    QPainter painter(&strip);
    DrawStrip(painter, m_Theme.m_Top, true, bActive, m_Theme.m_TopSlice, QRect(l.m_nLeft, 0, w - l.m_nLeft - l.m_nRight + 1, l.m_nCaption));
    DrawStrip(painter, m_Theme.m_Left, false, bActive, m_Theme.m_LeftSlice, QRect(0, 0, l.m_nLeft, h));
    DrawStrip(painter, m_Theme.m_Right, false, bActive, m_Theme.m_RightSlice, QRect(w - l.m_nRight, 0, l.m_nRight, h));

    // Caption buttons: cell 1 pressed, cell 2 under the mouse, else cell 0.
    const int cellHeight = m_Theme.m_Close.m_Image.height();
    auto button = [&](const CSkinTheme::SButton& b, const SRect& rc, EHitTest code) {
        if (b.m_Image.isNull() || rc.IsEmpty())
            return;
        const int cell = m_ePressed == code ? 1 : m_eHovered == code ? 2
                                                                     : 0;
        const int cellWidth = rc.m_nRight - rc.m_nLeft;
        painter.drawImage(QPoint(rc.m_nLeft, rc.m_nTop), b.m_Image, QRect(cell * cellWidth, 0, cellWidth, cellHeight));
    };
    button(m_Theme.m_Close, l.m_rcClose, HIT_CLOSE);
    if (l.m_bMinimiseBox)
        button(m_Theme.m_Minimise, l.m_rcMinimise, HIT_MINIMISE);
    if (l.m_bMaximiseBox) {
        const bool bRestore = l.m_bMaximised && !m_Theme.m_Restore.m_Image.isNull();
        button(bRestore ? m_Theme.m_Restore : m_Theme.m_Maximise, l.MaximiseRect(), HIT_MAXIMISE);
    }

    const QIcon icon = m_pWindow->windowIcon();
    if (!icon.isNull())
        icon.paint(&painter, ToQRect(l.IconRect()));

    QFont font = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(bActive ? m_Theme.m_clrTitle : m_Theme.m_clrInactiveTitle);
    const QRect rcText = ToQRect(CaptionTextRect(m_Theme.m_nTextShift, m_Theme.m_nTextShiftVert, m_Theme.m_TopSlice.m_nEnd, w, m_Theme.m_Top.width(), l.m_nCaption));
    const QString text = painter.fontMetrics().elidedText(m_pWindow->windowTitle(), Qt::ElideRight, rcText.width());
    painter.drawText(rcText, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
    return strip;
}

void CSkinFrame::Paint()
{
    const bool bActive = m_pWindow->isActiveWindow();
    const int w = m_pWindow->width();
    const int h = m_pWindow->height();
    const SFrameLayout& l = m_Layout;
    QPainter painter(m_pWindow);
    // Borders below the caption, then the caption strip over them.
    painter.setClipRect(QRect(0, l.m_nCaption, w, h - l.m_nCaption));
    DrawStrip(painter, m_Theme.m_Left, false, bActive, m_Theme.m_LeftSlice, QRect(0, 0, l.m_nLeft, h));
    DrawStrip(painter, m_Theme.m_Right, false, bActive, m_Theme.m_RightSlice, QRect(w - l.m_nRight, 0, l.m_nRight, h));
    DrawStrip(painter, m_Theme.m_Bottom, true, bActive, m_Theme.m_BottomSlice, QRect(l.m_nLeft, h - l.m_nBottom, w - l.m_nLeft - l.m_nRight, l.m_nBottom));
    painter.setClipping(false);
    painter.drawImage(0, 0, ComposeCaption(bActive));
}

void CSkinFrame::UpdateShape()
{
    if (!m_Theme.m_bUsesTran) {
        m_pWindow->clearMask();
        return;
    }
    // The part below the caption plus the caption's opaque pixels.
    const QImage strip = ComposeCaption(m_pWindow->isActiveWindow());
    QRegion region(0, m_Layout.m_nCaption, m_pWindow->width(), m_pWindow->height() - m_Layout.m_nCaption);
    region += QRegion(QBitmap::fromImage(strip.createAlphaMask()));
    m_pWindow->setMask(region);
}

void CSkinFrame::SetHovered(EHitTest code)
{
    const EHitTest shown = IsButton(code) ? code : HIT_CLIENT;
    if (shown != m_eHovered) {
        m_eHovered = shown;
        m_pWindow->update(0, 0, m_pWindow->width(), m_Layout.m_nCaption);
    }
}

void CSkinFrame::OnPress(const QPoint& pt, Qt::MouseButton button, const QPoint& globalPos)
{
    const EHitTest code = HitTest(m_Layout, m_pWindow->width(), m_pWindow->height(), pt.x(), pt.y());
    if (button == Qt::RightButton) {
        if (code == HIT_CAPTION || code == HIT_SYSMENU)
            ShowSystemMenu(globalPos);
        return;
    }
    if (button != Qt::LeftButton || code == HIT_CLIENT)
        return;
    m_ePressed = code;
    m_eHovered = IsButton(code) ? code : HIT_CLIENT;
    m_pWindow->update();
    if (code == HIT_SYSMENU) {
        m_ePressed = HIT_CLIENT;
        ShowSystemMenu(globalPos);
        return;
    }
    if (code == HIT_CAPTION && m_eState == STATE_MAXIMISED)
        return;
    m_ptDragStart = globalPos;
    m_rcDragStart = m_pWindow->geometry();
    if (code == HIT_CAPTION) {
        // Moving starts with the first move of the pointer, so that a
        // double-click still reaches the caption.
        m_ePressed = HIT_CLIENT;
        m_bMovePending = true;
    } else if (IsSizing(code)) {
        m_ePressed = HIT_CLIENT;
        QWindow* pHandle = m_pWindow->windowHandle();
        if (!pHandle || !pHandle->startSystemResize(EdgesOf(code)))
            m_eDragging = code;  // by hand
    }
}

void CSkinFrame::OnMove(const QPoint& pt, const QPoint& globalPos, Qt::MouseButtons buttons)
{
    if (m_bMovePending && (buttons & Qt::LeftButton) && (globalPos - m_ptDragStart).manhattanLength() >= QApplication::startDragDistance()) {
        m_bMovePending = false;
        QWindow* pHandle = m_pWindow->windowHandle();
        if (pHandle && pHandle->startSystemMove())
            return;
        m_eDragging = HIT_CAPTION;  // by hand
    }
    if (m_eDragging != HIT_CLIENT && (buttons & Qt::LeftButton)) {
        const QPoint d = globalPos - m_ptDragStart;
        QRect rc = m_rcDragStart;
        if (m_eDragging == HIT_CAPTION) {
            rc.translate(d);
        } else {
            const Qt::Edges edges = EdgesOf(m_eDragging);
            const QSize min = m_pWindow->minimumSizeHint().expandedTo(m_pWindow->minimumSize());
            if (edges & Qt::LeftEdge)
                rc.setLeft(qMin(rc.left() + d.x(), rc.right() - min.width() + 1));
            if (edges & Qt::RightEdge)
                rc.setRight(qMax(rc.right() + d.x(), rc.left() + min.width() - 1));
            if (edges & Qt::TopEdge)
                rc.setTop(qMin(rc.top() + d.y(), rc.bottom() - min.height() + 1));
            if (edges & Qt::BottomEdge)
                rc.setBottom(qMax(rc.bottom() + d.y(), rc.top() + min.height() - 1));
        }
        m_pWindow->setGeometry(rc);
        return;
    }
    const EHitTest code = HitTest(m_Layout, m_pWindow->width(), m_pWindow->height(), pt.x(), pt.y());
    // A pressed button stays pressed only while the pointer is on it, so
    // that moving off before letting go cancels the click.
    if (m_ePressed != HIT_CLIENT && m_ePressed != code) {
        m_ePressed = HIT_CLIENT;
        m_pWindow->update(0, 0, m_pWindow->width(), m_Layout.m_nCaption);
    }
    SetHovered(code);
    if (IsSizing(code))
        m_pWindow->setCursor(CursorOf(code));
    else
        m_pWindow->unsetCursor();
}

void CSkinFrame::OnRelease(const QPoint& pt)
{
    m_eDragging = HIT_CLIENT;
    m_bMovePending = false;
    const EHitTest pressed = m_ePressed;
    m_ePressed = HIT_CLIENT;
    m_eHovered = HIT_CLIENT;
    m_pWindow->update();
    if (pressed != HitTest(m_Layout, m_pWindow->width(), m_pWindow->height(), pt.x(), pt.y()))
        return;
    switch (pressed) {
    case HIT_CLOSE: m_pWindow->close(); break;
    case HIT_MINIMISE: Minimise(); break;
    case HIT_MAXIMISE: m_eState == STATE_MAXIMISED ? Restore() : Maximise(); break;
    default: break;
    }
}

void CSkinFrame::ShowSystemMenu(const QPoint& globalPos)
{
    QMenu menu(m_pWindow);
    QAction* pRestore = menu.addAction(QStringLiteral("还原(&R)"), this, &CSkinFrame::Restore);
    pRestore->setEnabled(m_eState != STATE_NORMAL);
    QAction* pMinimise = menu.addAction(QStringLiteral("最小化(&N)"), this, &CSkinFrame::Minimise);
    pMinimise->setEnabled(m_Layout.m_bMinimiseBox && m_eState != STATE_MINIMISED);
    QAction* pMaximise = menu.addAction(QStringLiteral("最大化(&X)"), this, &CSkinFrame::Maximise);
    pMaximise->setEnabled(m_Layout.m_bMaximiseBox && m_eState != STATE_MAXIMISED);
    menu.addSeparator();
    menu.addAction(QStringLiteral("关闭(&C)\tAlt+F4"), m_pWindow, &QWidget::close);
    menu.exec(globalPos);
}

void CSkinFrame::Maximise()
{
    if (m_eState == STATE_MAXIMISED)
        return;
    if (m_eState == STATE_MINIMISED)
        m_pWindow->showNormal();
    m_rcBeforeMaximise = m_pWindow->geometry();
    m_eState = STATE_MAXIMISED;
    // The work area: the screen without the panels.
    if (QScreen* pScreen = m_pWindow->screen())
        m_pWindow->setGeometry(pScreen->availableGeometry());
    UpdateLayout();
    m_pWindow->update();
}

void CSkinFrame::Minimise()
{
    if (m_eState == STATE_MINIMISED)
        return;
    m_eBeforeMinimise = m_eState;
    m_eState = STATE_MINIMISED;
    m_pWindow->showMinimized();
}

void CSkinFrame::Restore()
{
    if (m_eState == STATE_MINIMISED) {
        m_eState = m_eBeforeMinimise;
        m_pWindow->showNormal();
    } else if (m_eState == STATE_MAXIMISED) {
        m_eState = STATE_NORMAL;
        m_pWindow->setGeometry(m_rcBeforeMaximise);
    }
    UpdateLayout();
    m_pWindow->update();
}

bool CSkinFrame::eventFilter(QObject* pObject, QEvent* pEvent)
{
    if (pObject != m_pWindow)
        return false;
    switch (pEvent->type()) {
    case QEvent::Paint:
        Paint();  // the dialog's own painting follows; it draws no frame
        break;
    case QEvent::Resize:
        UpdateLayout();
        UpdateShape();
        break;
    case QEvent::ActivationChange:
    case QEvent::WindowTitleChange:
    case QEvent::WindowIconChange:
        m_pWindow->update(0, 0, m_pWindow->width(), m_Layout.m_nCaption);
        break;
    case QEvent::WindowStateChange:
        // Back from minimised through the window system: the state before.
        if (m_eState == STATE_MINIMISED && !m_pWindow->isMinimized()) {
            m_eState = m_eBeforeMinimise;
            UpdateLayout();
        }
        break;
    case QEvent::MouseButtonPress: {
        auto* e = static_cast<QMouseEvent*>(pEvent);
        OnPress(e->position().toPoint(), e->button(), e->globalPosition().toPoint());
        break;
    }
    case QEvent::MouseMove: {
        auto* e = static_cast<QMouseEvent*>(pEvent);
        OnMove(e->position().toPoint(), e->globalPosition().toPoint(), e->buttons());
        break;
    }
    case QEvent::MouseButtonRelease: {
        auto* e = static_cast<QMouseEvent*>(pEvent);
        if (e->button() == Qt::LeftButton)
            OnRelease(e->position().toPoint());
        break;
    }
    case QEvent::MouseButtonDblClick: {
        auto* e = static_cast<QMouseEvent*>(pEvent);
        const QPoint pt = e->position().toPoint();
        if (e->button() == Qt::LeftButton && m_Layout.m_bSizable && HitTest(m_Layout, m_pWindow->width(), m_pWindow->height(), pt.x(), pt.y()) == HIT_CAPTION)
            m_eState == STATE_MAXIMISED ? Restore() : Maximise();
        break;
    }
    case QEvent::Leave:
        SetHovered(HIT_CLIENT);
        m_pWindow->unsetCursor();
        break;
    default:
        break;
    }
    return false;
}
