#pragma once

#include <QByteArray>
#include <QHashFunctions>
#include <Qt>

#include <array>
#include <cstddef>
#include <functional>
#include <optional>

namespace velmor::shortcuts {

// A key by physical position, as a virtual key code of the Apple ANSI keyboard. Stored values
// keep these codes, so a shortcut means the same key whatever the layout.
struct Key {
    int rawValue = 0;

    static const Key g;
    friend bool operator==(Key, Key) = default;
};
inline constexpr Key Key::g{5};

// Modifier bits of a stored shortcut (the Carbon mask).
namespace carbon {
inline constexpr int command = 0x100;
inline constexpr int shift = 0x200;
inline constexpr int option = 0x800;
inline constexpr int control = 0x1000;
inline constexpr int function = 0x20000;
inline constexpr int allModifiers = command | shift | option | control | function;
} // namespace carbon

// How a stored modifier meets the desktop: Command is Ctrl, Control is Super (Qt's Meta), Option
// is Alt. The function modifier has no key on a PC keyboard, so no Qt flag produces it.
struct ModifierRow {
    int carbonMask;
    Qt::KeyboardModifier qtFlag; // Qt::NoModifier for function
};
inline constexpr std::array<ModifierRow, 5> modifierTable{{
    {carbon::control, Qt::MetaModifier},
    {carbon::option, Qt::AltModifier},
    {carbon::shift, Qt::ShiftModifier},
    {carbon::command, Qt::ControlModifier},
    {carbon::function, Qt::NoModifier},
}};

// Both directions keep the table's modifiers and drop every other bit.
int carbonModifiers(Qt::KeyboardModifiers flags);
Qt::KeyboardModifiers qtModifiers(int carbonMask);
// Carbon -> flags -> Carbon.
int normalizedCarbonModifiers(int carbonMask);

struct Shortcut {
    int carbonKeyCode = 0;
    int carbonModifiers = 0;

    Shortcut() = default;
    constexpr Shortcut(int keyCode, int modifiers)
        : carbonKeyCode(keyCode), carbonModifiers(modifiers) {}
    // From a key and desktop modifier flags, normalised so only the table's modifiers survive.
    Shortcut(Key key, Qt::KeyboardModifiers flags);

    Key key() const { return Key{carbonKeyCode}; }
    Qt::KeyboardModifiers modifiers() const { return qtModifiers(carbonModifiers); }

    // The stored form: {"carbonKeyCode":5,"carbonModifiers":768}.
    QByteArray toJson() const;
    // Accepts the members in any order; both must be integers. Anything else is no shortcut.
    static std::optional<Shortcut> fromJson(const QByteArray& utf8);

    friend bool operator==(const Shortcut&, const Shortcut&) = default;
};

inline size_t qHash(const Shortcut& shortcut, size_t seed = 0) {
    return qHashMulti(seed, shortcut.carbonKeyCode, shortcut.carbonModifiers);
}

} // namespace velmor::shortcuts

template <> struct std::hash<velmor::shortcuts::Shortcut> {
    size_t operator()(const velmor::shortcuts::Shortcut& shortcut) const noexcept {
        return velmor::shortcuts::qHash(shortcut);
    }
};
