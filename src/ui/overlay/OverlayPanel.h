#pragma once

#include "core/base/Clock.h"
#include "ui/overlay/OverlaySurface.h"

#include <QWidget>

class QScreen;

namespace velmor {

// A frameless window covering one screen above everything else, hosting one overlay view. It
// never asks the window manager for focus, so the user's application stays active; the main
// panel takes the keyboard with a grab instead. Input is forwarded to the callbacks: Escape at
// any time, other keys and clicks only once `fadeInDuration` has passed since `presentedAt`
// (both on the clock, read when the event arrives). Ctrl+Q quits the application. On Wayland it
// is a toplevel of the compositor's: the main panel is maximized over the work area, since GNOME
// and weston put black under a full-screen window that is not opaque; the others are full screen
// on their outputs, the only way a client reaches an output, asked for once they are shown.
class OverlayPanel final : public QWidget, public OverlaySurface {
    Q_OBJECT
public:
    OverlayPanel(QScreen* screen, Clock& clock);
    ~OverlayPanel() override;

    // Puts `content` over the whole panel; the panel owns it.
    void setContent(QWidget* content);
    QWidget* content() const { return content_; }

    // Shows the panel without activating it.
    void present();
    // Grabs the keyboard for this (visible) panel; where the grab is refused, falls back to
    // activating the window. Returns whether the grab succeeded. On Wayland the compositor
    // gives a new window the focus.
    bool takeKeyboard();
    bool hasKeyboardGrab() const { return grabbed_; }
    // Whether the panel is a Wayland toplevel, painted with an alpha channel.
    bool isWaylandPanel() const { return wayland_; }
    // Releases the keyboard and hides the panel.
    void remove();

    void appear(bool takesKeyboard) override;
    // Fades its content (an OverlayView) out.
    void beginDismiss() override;
    void removeLater() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // Nothing looks different with the focus: no repaint of the whole screen when it comes.
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // Once the compositor shows the window: full screen where wanted.
    void shown();

    Clock& clock_;
    QScreen* screen_;
    QWidget* content_ = nullptr;
    bool grabbed_ = false;
    bool wayland_ = false;
    bool wantsFullScreen_ = false;
    bool onScreen_ = false;
};

} // namespace velmor
