#include "ui/desktop/ProgressPopup.h"

#include "ui/desktop/GbkQt.h"

#include <cstdlib>

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

namespace {

// Notices Esc pressed in the popup.
class CEscapeFilter : public QObject {
public:
    CEscapeFilter(QObject* pParent, bool& bEscape) : QObject(pParent), m_bEscape(bEscape) {}
    bool eventFilter(QObject* pWatched, QEvent* e) override
    {
        if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->key() == Qt::Key_Escape) {
            m_bEscape = true;
            return true;
        }
        return QObject::eventFilter(pWatched, e);
    }

private:
    bool& m_bEscape;
};

}  // namespace

CProgressPopup::CProgressPopup(QWidget* pOwner, bool bSmooth)
    : m_pOwner(pOwner ? pOwner->window() : nullptr), m_bSmooth(bSmooth)
{
}

CProgressPopup::~CProgressPopup()
{
    delete m_pWindow.data();
    EnableOwner(true);
}

void CProgressPopup::EnableOwner(bool bEnable)
{
    if (!m_pOwner)
        return;
    if (!bEnable && !m_bOwnerDisabled && m_pOwner->isEnabled()) {
        // Disabling takes the activation and the focus from the window;
        // both come back when it is enabled again.
        m_bOwnerWasActive = m_pOwner->isActiveWindow();
        m_pOwnerFocus = m_pOwner->focusWidget();
        m_pOwner->setEnabled(false);
        m_bOwnerDisabled = true;
    } else if (bEnable && m_bOwnerDisabled) {
        m_pOwner->setEnabled(true);
        m_bOwnerDisabled = false;
        if (m_bOwnerWasActive) {
            m_pOwner->activateWindow();
            if (m_pOwnerFocus)
                m_pOwnerFocus->setFocus();
        }
    }
}

void CProgressPopup::OnShow(const std::string& caption)
{
    if (!m_pWindow) {
        // A top-level window of its own (not a child of the owner), so that
        // disabling the owner leaves it usable.
        auto* pWindow = new QWidget(nullptr, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::CustomizeWindowHint);
        pWindow->setObjectName(QStringLiteral("progressPopup"));
        pWindow->setAttribute(Qt::WA_ShowWithoutActivating);
        pWindow->setCursor(Qt::BusyCursor);
        auto* pLayout = new QVBoxLayout(pWindow);
        pLayout->setContentsMargins(10, 10, 10, 10);
        m_pText = new QLabel(pWindow);
        m_pText->setObjectName(QStringLiteral("11"));
        m_pText->setTextFormat(Qt::PlainText);
        m_pText->setWordWrap(false);
        m_pBar = new QProgressBar(pWindow);
        m_pBar->setObjectName(QStringLiteral("12"));
        m_pBar->setTextVisible(!m_bSmooth);
        m_pBar->setRange(0, 100);
        pLayout->addWidget(m_pText);
        pLayout->addWidget(m_pBar);
        pWindow->setFixedWidth(500);
        pWindow->installEventFilter(new CEscapeFilter(pWindow, m_bEscape));
        m_pWindow = pWindow;
    }
    m_bEscape = false;
    m_pWindow->setWindowTitle(GbkToQ(caption));
    m_pWindow->adjustSize();
    // Centred over the owner, or over the screen when there is none.
    const QRect over = m_pOwner ? m_pOwner->frameGeometry()
                                : (QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->geometry()
                                                                    : QRect(0, 0, 800, 600));
    QRect rc = m_pWindow->frameGeometry();
    rc.moveCenter(over.center());
    m_pWindow->move(rc.topLeft());
    EnableOwner(false);
    m_pWindow->show();
}

void CProgressPopup::OnHide()
{
    if (m_pWindow)
        m_pWindow->hide();
    // After Esc the main window stays disabled until the file operation is
    // over and this object goes.
    if (!IsCancelled())
        EnableOwner(true);
    else if (m_pOwner)
        m_pOwner->activateWindow();
}

void CProgressPopup::OnCaption(const std::string& caption)
{
    if (m_pWindow)
        m_pWindow->setWindowTitle(GbkToQ(caption));
}

void CProgressPopup::OnBar(int lower, int upper, int position)
{
    if (!m_pBar)
        return;
    if (m_pBar->minimum() != lower || m_pBar->maximum() != upper)
        m_pBar->setRange(lower, upper);
    // The bar is a few hundred pixels wide: a new value is shown when it has
    // moved by a pixel's worth (or reached an end), not once per row.
    const int value = std::clamp(position, std::min(lower, upper), std::max(lower, upper));
    const long long pixel = std::max<long long>(1, (static_cast<long long>(upper) - lower) / 500);
    if (value == lower || value == upper || std::llabs(static_cast<long long>(value) - m_pBar->value()) >= pixel)
        m_pBar->setValue(value);
}

void CProgressPopup::OnMessage(const std::string& text)
{
    if (m_pText)
        m_pText->setText(GbkToQ(text));
}

bool CProgressPopup::OnPump()
{
    // A file operation asks once per row; handling the events that often
    // costs more than the operation itself. Every few tens of milliseconds
    // keeps the window live and Esc answered.
    if (m_LastPump.isValid() && m_LastPump.elapsed() < PUMP_INTERVAL_MS) {
        const bool bEscape = m_bEscape;
        m_bEscape = false;
        return bEscape;
    }
    m_LastPump.start();
    if (m_pWindow && m_pWindow->isVisible() && !m_pWindow->hasFocus())
        m_pWindow->setFocus();
    QApplication::processEvents();
    const bool bEscape = m_bEscape;
    m_bEscape = false;
    return bEscape;
}
