#pragma once

#include "core/shortcuts/Shortcut.h"
#include "platform/x11/KeyboardLayout.h"

#include <QKeyCombination>
#include <QString>

#include <optional>

namespace velmor::shortcuts {

// The 53 keys that have no printable character (Return, Delete, Escape, arrows, F1 to F20,
// keypad keys, ...), as the Qt key that names them; keypad keys carry Qt::KeypadModifier.
std::optional<QKeyCombination> specialKey(Key key);

// A shortcut written the desktop's way, as QKeySequence's native text: "Ctrl+Shift+G". A key
// without a single character on the layout is written as U+FFFD.
QString description(const Shortcut& shortcut, const KeyboardLayout& layout);
QString description(const Shortcut& shortcut); // with the current layout

} // namespace velmor::shortcuts
