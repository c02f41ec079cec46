#pragma once

#include <cstdint>

namespace velmor {

// Stored shortcuts name keys by their virtual key code on an Apple ANSI keyboard. On Linux the
// same physical position has an evdev code, and the X key code is that code plus 8. Positions
// without a key on a US PC keyboard map to nothing.

// The X key code of the key at the virtual key code's position, or 0.
std::uint8_t xKeyCodeForVirtualKey(int virtualKeyCode);
// The virtual key code of an X key code, or -1.
int virtualKeyForXKeyCode(unsigned xKeyCode);

} // namespace velmor
