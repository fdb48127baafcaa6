// The state of the lock keys (Caps Lock, Num Lock, Scroll Lock) for the
// panes of the status bar. Read from the window system where it tells
// (X11); elsewhere the state is unknown.
#pragma once

struct SLockKeys {
    bool m_bKnown = false;
    bool m_bCaps = false;
    bool m_bNum = false;
    bool m_bScroll = false;
};

SLockKeys ReadLockKeys();
