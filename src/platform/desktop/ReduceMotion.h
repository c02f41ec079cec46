#pragma once

namespace velmor {

// Whether the desktop asks for less motion: GNOME's enable-animations switched off, or KDE's
// animation speed set to instant. Read afresh on every call.
bool systemReducesMotion();

} // namespace velmor
