#pragma once

namespace velmor {

// Whether the program talks to a Wayland compositor itself (Qt's "wayland" platform), rather
// than to an X server or Xwayland.
bool isWaylandSession();

} // namespace velmor
