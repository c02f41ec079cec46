#pragma once

class QScreen;
class QWindow;

namespace velmor {

// Whether the program talks to a Wayland compositor itself (Qt's "wayland" platform), rather
// than to an X server or Xwayland.
bool isWaylandSession();

// A Wayland compositor places and stacks windows itself and ignores a window's opacity: the
// nearest a client gets to a window over the whole screen is a full-screen toplevel on that
// screen's output. Prepares `window` (not yet shown) for that; on X11 does nothing.
void prepareFullScreenOn(QWindow* window, QScreen* screen);

} // namespace velmor
