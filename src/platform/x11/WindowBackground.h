#pragma once

class QColor;
class QWindow;

namespace velmor {

// Gives a native window a solid background that the X server fills in itself wherever the window
// is exposed, so the program need not paint (and send) those pixels. On a mapped window the whole
// window is refilled at once, without expose events. Returns false where it cannot: not on X11,
// no native window yet, or a display whose visual is not true colour.
bool setWindowBackground(QWindow* window, const QColor& colour);

} // namespace velmor
