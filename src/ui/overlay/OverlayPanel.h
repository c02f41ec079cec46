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
// is a full-screen toplevel on its screen's output instead, given the keyboard focus.
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
    // activating the window. Returns whether the grab succeeded.
    bool takeKeyboard();
    bool hasKeyboardGrab() const { return grabbed_; }
    // Whether the panel is a Wayland full-screen toplevel, painted with an alpha channel.
    bool isWaylandPanel() const { return wayland_; }
    // Releases the keyboard and hides the panel.
    void remove();

    void appear(bool takesKeyboard) override;
    // Fades its content (an OverlayView) out.
    void beginDismiss() override;
    void removeLater() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // Nothing looks different with the focus: no repaint of the whole screen when it comes.
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    Clock& clock_;
    QWidget* content_ = nullptr;
    bool grabbed_ = false;
    bool wayland_ = false;
};

} // namespace velmor
