#pragma once

#include "core/shortcuts/Shortcut.h"

#include <QString>

#include <optional>

namespace velmor {

// A stored shortcut in the form the desktop portal takes as a preferred trigger: modifiers
// CTRL, ALT, SHIFT and LOGO, then the key's xkb keysym name, joined by "+" ("CTRL+SHIFT+G").
// Keys are named as a US layout has them at the stored position. Nothing for a key that has
// no name there, or a modifier the portal cannot express (the function flag).
std::optional<QString> portalTrigger(const shortcuts::Shortcut& shortcut);

// The shortcut as the desktop writes it for people ("Ctrl+Shift+G"); "?" for an unnamed key.
QString portalDescription(const shortcuts::Shortcut& shortcut);

} // namespace velmor
