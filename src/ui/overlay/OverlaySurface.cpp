#include "ui/overlay/OverlaySurface.h"

#include <QCoreApplication>

namespace velmor {

void OverlaySurface::keyPressed(Key key, double now) {
    if (key == Key::quit) {
        // exit(), not quit(): no window may veto it, whatever else is open.
        QCoreApplication::exit(0);
        return;
    }
    // Callbacks may clear or replace themselves; call copies.
    if (key == Key::escape) {
        if (auto escape = onEscape)
            escape();
        return;
    }
    if (now <= presentedAt + fadeInDuration)
        return;
    if (auto keyDown = onKeyDown)
        keyDown();
}

void OverlaySurface::clicked(double now) {
    if (now <= presentedAt + fadeInDuration)
        return;
    if (auto mouseDown = onMouseDown)
        mouseDown();
}

} // namespace velmor
