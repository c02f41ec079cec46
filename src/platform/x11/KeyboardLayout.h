#pragma once

#include "core/shortcuts/Shortcut.h"

#include <QString>

#include <memory>
#include <optional>

struct xkb_keymap;
struct xcb_connection_t;

namespace velmor::shortcuts {

// A keyboard layout from xkbcommon, reduced to what a shortcut's description needs: the
// character a key gives without modifiers.
class KeyboardLayout {
public:
    // The X server's layout now; without X, xkbcommon's default (XKB_DEFAULT_LAYOUT, else US).
    static KeyboardLayout current();
    static KeyboardLayout fromX11(xcb_connection_t* connection);
    // Layouts as setxkbmap names them ("us", "de", "us,ru"); `activeGroup` indexes them.
    static KeyboardLayout fromNames(const QString& layouts, const QString& variants = {},
                                    int activeGroup = 0);

    bool isValid() const { return keymap_ != nullptr; }
    // Among the layouts in use, the active one if it types Latin letters, else the first that
    // does, else the active one.
    int group() const { return group_; }
    // Exactly one character, or nothing (no such key, a key without a character).
    std::optional<char32_t> character(Key key) const;

private:
    KeyboardLayout(std::shared_ptr<xkb_keymap> keymap, int activeGroup);
    bool typesLatinLetters(int group) const;

    std::shared_ptr<xkb_keymap> keymap_;
    int group_ = 0;
};

} // namespace velmor::shortcuts
