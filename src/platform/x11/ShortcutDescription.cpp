#include "platform/x11/ShortcutDescription.h"

#include <QCoreApplication>
#include <QKeySequence>
#include <QList>

#include <array>
#include <utility>

namespace velmor::shortcuts {

namespace {

constexpr Qt::KeyboardModifiers keypad = Qt::KeypadModifier;

struct SpecialKeyRow {
    int keyCode;
    Qt::Key qtKey;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
};

const std::array<SpecialKeyRow, 53> specialKeys{{
    {36, Qt::Key_Return},
    {51, Qt::Key_Backspace},
    {117, Qt::Key_Delete},
    {119, Qt::Key_End},
    {53, Qt::Key_Escape},
    {114, Qt::Key_Insert}, // Help sits where PC keyboards have Insert
    {115, Qt::Key_Home},
    {49, Qt::Key_Space},
    {48, Qt::Key_Tab},
    {116, Qt::Key_PageUp},
    {121, Qt::Key_PageDown},
    {126, Qt::Key_Up},
    {124, Qt::Key_Right},
    {125, Qt::Key_Down},
    {123, Qt::Key_Left},
    {122, Qt::Key_F1},
    {120, Qt::Key_F2},
    {99, Qt::Key_F3},
    {118, Qt::Key_F4},
    {96, Qt::Key_F5},
    {97, Qt::Key_F6},
    {98, Qt::Key_F7},
    {100, Qt::Key_F8},
    {101, Qt::Key_F9},
    {109, Qt::Key_F10},
    {103, Qt::Key_F11},
    {111, Qt::Key_F12},
    {105, Qt::Key_F13},
    {107, Qt::Key_F14},
    {113, Qt::Key_F15},
    {106, Qt::Key_F16},
    {64, Qt::Key_F17},
    {79, Qt::Key_F18},
    {80, Qt::Key_F19},
    {90, Qt::Key_F20},
    {82, Qt::Key_0, keypad},
    {83, Qt::Key_1, keypad},
    {84, Qt::Key_2, keypad},
    {85, Qt::Key_3, keypad},
    {86, Qt::Key_4, keypad},
    {87, Qt::Key_5, keypad},
    {88, Qt::Key_6, keypad},
    {89, Qt::Key_7, keypad},
    {91, Qt::Key_8, keypad},
    {92, Qt::Key_9, keypad},
    {71, Qt::Key_NumLock}, // keypad Clear sits where PC keyboards have Num Lock
    {65, Qt::Key_Period, keypad},
    {75, Qt::Key_Slash, keypad},
    {76, Qt::Key_Enter, keypad},
    {81, Qt::Key_Equal, keypad},
    {78, Qt::Key_Minus, keypad},
    {67, Qt::Key_Asterisk, keypad},
    {69, Qt::Key_Plus, keypad},
}};

Qt::Key characterKey(std::optional<char32_t> character) {
    if (!character)
        return Qt::Key(0xFFFD);
    const QString upper = QString::fromUcs4(&*character, 1).toUpper();
    const QList<uint> codePoints = upper.toUcs4();
    // "ß" would grow into "SS": keep such characters as they are.
    return Qt::Key(codePoints.size() == 1 ? char32_t(codePoints.front()) : *character);
}

} // namespace

std::optional<QKeyCombination> specialKey(Key key) {
    for (const SpecialKeyRow& row : specialKeys)
        if (row.keyCode == key.rawValue)
            return QKeyCombination(row.modifiers, row.qtKey);
    return std::nullopt;
}

QString description(const Shortcut& shortcut, const KeyboardLayout& layout) {
    const std::optional<QKeyCombination> special = specialKey(shortcut.key());
    const std::optional<char32_t> character = layout.character(shortcut.key());
    if (!special && !character) {
        // No key of this layout sits at that position: name the position rather than show a
        // replacement character. The modifiers come from a stand-in key, dropped again.
        const QString modifiers = QKeySequence(QKeyCombination(shortcut.modifiers(), Qt::Key_A))
                                      .toString(QKeySequence::NativeText)
                                      .chopped(1);
        return modifiers + QCoreApplication::translate("ShortcutDescription", "Key %1")
                               .arg(shortcut.carbonKeyCode);
    }
    const QKeyCombination key = special.value_or(QKeyCombination(characterKey(character)));
    const QString keyText = QKeySequence(key).toString(QKeySequence::NativeText);
    const QString text =
        QKeySequence(QKeyCombination(key.keyboardModifiers() | shortcut.modifiers(), key.key()))
            .toString(QKeySequence::NativeText);
    if (!(shortcut.carbonModifiers & carbon::function))
        return text;
    // No desktop flag stands for the function modifier; name it before the key.
    return text.left(text.size() - keyText.size()) + QStringLiteral("Fn+") + keyText;
}

QString description(const Shortcut& shortcut) {
    return description(shortcut, KeyboardLayout::current());
}

} // namespace velmor::shortcuts
