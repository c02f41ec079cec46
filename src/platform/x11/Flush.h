#pragma once

namespace velmor {

// Sends whatever Qt has queued for the X server now. Qt's X connection writes its requests only
// when other traffic flushes it, so a property change (a window's opacity, say) made between
// events would otherwise wait there. Does nothing off X11.
void flushWindowSystem();

} // namespace velmor
