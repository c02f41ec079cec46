#pragma once

#include <QObject>

class QScreen;

namespace velmor {

// The screen the user is working on, where the prompt is shown.
class MainScreen {
public:
    virtual ~MainScreen() = default;
    // Null only when there are no screens.
    virtual QScreen* screen() const = 0;
};

// The screen holding the window with keyboard focus (X11 _NET_ACTIVE_WINDOW), else the screen
// under the pointer, else the primary screen.
class DesktopMainScreen final : public MainScreen {
public:
    QScreen* screen() const override;
};

// Where the desktop tells no program which window has the focus (Wayland): the screen under
// the pointer once the compositor has shown it to us (it passed over one of our windows), else
// the primary screen.
class PointerMainScreen final : public QObject, public MainScreen {
public:
    PointerMainScreen();
    QScreen* screen() const override;
    bool knowsPointer() const { return pointerSeen_; }

private:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool pointerSeen_ = false;
};

// The screen under the centre of the X11 active window, or null when there is none (no X11,
// no window manager that reports it, or nothing focused).
QScreen* activeWindowScreen();

} // namespace velmor
