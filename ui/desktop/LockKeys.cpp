#include "ui/desktop/LockKeys.h"

#include <QGuiApplication>

#ifdef QTX_HAVE_X11
#include <X11/XKBlib.h>
#endif

SLockKeys ReadLockKeys()
{
    SLockKeys keys;
#ifdef QTX_HAVE_X11
    // Only on an X11 display; the offscreen and Wayland platforms have none.
    auto* pX11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* pDisplay = pX11 ? pX11->display() : nullptr;
    if (!pDisplay)
        return keys;
    // By name: keyboard maps number their indicators differently.
    auto indicator = [pDisplay](const char* name, bool& bOn) {
        Bool on = False;
        const Atom atom = XInternAtom(pDisplay, name, True);
        if (atom == None || !XkbGetNamedIndicator(pDisplay, atom, nullptr, &on, nullptr, nullptr))
            return false;
        bOn = on;
        return true;
    };
    keys.m_bKnown = indicator("Caps Lock", keys.m_bCaps);
    indicator("Num Lock", keys.m_bNum);
    indicator("Scroll Lock", keys.m_bScroll);
#endif
    return keys;
}
