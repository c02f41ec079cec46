#pragma once

#include <functional>

namespace velmor {

// One screen's part of the overlay, whatever shows it: a window of Qt's, or a layer surface of
// our own on Wayland. The manager's rules talk to this only.
class OverlaySurface {
public:
    virtual ~OverlaySurface() = default;

    std::function<void()> onKeyDown;
    std::function<void()> onMouseDown;
    std::function<void()> onEscape;
    double presentedAt = 0;
    double fadeInDuration = 7.3;

    // Shows it; `takesKeyboard` for the panel that receives the keys.
    virtual void appear(bool takesKeyboard) = 0;
    // Starts the fade-out from what is visible now.
    virtual void beginDismiss() = 0;
    // Hides it and lets go of the keyboard at once; the object itself is deleted later (this
    // may run inside one of its own event handlers).
    virtual void removeLater() = 0;

protected:
    enum class Key { escape, quit, other };
    // Every kind of panel takes keys and clicks alike: Escape at any time, Ctrl+Q quits the
    // program, other keys and clicks only once `fadeInDuration` has passed since `presentedAt`.
    void keyPressed(Key key, double now);
    void clicked(double now);
};

} // namespace velmor
