#pragma once

#include "core/session/MainScreen.h"

class QScreen;

namespace velmor {

// The screen holding the window with keyboard focus (X11 _NET_ACTIVE_WINDOW), else the screen
// under the pointer, else the primary screen.
class DesktopMainScreen final : public MainScreen {
public:
    QScreen* screen() const override;
};

// The screen under the centre of the X11 active window, or null when there is none (no X11,
// no window manager that reports it, or nothing focused).
QScreen* activeWindowScreen();

} // namespace velmor
