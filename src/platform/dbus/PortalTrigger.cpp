#include "platform/dbus/PortalTrigger.h"

#include <QKeySequence>
#include <QStringList>

#include <array>

namespace velmor {

namespace {

struct KeyName {
    int virtualKey;
    const char* keysym; // xkb keysym name
    Qt::Key qtKey;
};

// Stored positions with the keysym a US layout gives them. Letters are written upper case, as
// the desktops' own shortcut settings show them.
constexpr std::array<KeyName, 104> keyNames{{
    {0x00, "A", Qt::Key_A},
    {0x01, "S", Qt::Key_S},
    {0x02, "D", Qt::Key_D},
    {0x03, "F", Qt::Key_F},
    {0x04, "H", Qt::Key_H},
    {0x05, "G", Qt::Key_G},
    {0x06, "Z", Qt::Key_Z},
    {0x07, "X", Qt::Key_X},
    {0x08, "C", Qt::Key_C},
    {0x09, "V", Qt::Key_V},
    {0x0B, "B", Qt::Key_B},
    {0x0C, "Q", Qt::Key_Q},
    {0x0D, "W", Qt::Key_W},
    {0x0E, "E", Qt::Key_E},
    {0x0F, "R", Qt::Key_R},
    {0x10, "Y", Qt::Key_Y},
    {0x11, "T", Qt::Key_T},
    {0x1F, "O", Qt::Key_O},
    {0x20, "U", Qt::Key_U},
    {0x22, "I", Qt::Key_I},
    {0x23, "P", Qt::Key_P},
    {0x25, "L", Qt::Key_L},
    {0x26, "J", Qt::Key_J},
    {0x28, "K", Qt::Key_K},
    {0x2D, "N", Qt::Key_N},
    {0x2E, "M", Qt::Key_M},
    {0x12, "1", Qt::Key_1},
    {0x13, "2", Qt::Key_2},
    {0x14, "3", Qt::Key_3},
    {0x15, "4", Qt::Key_4},
    {0x17, "5", Qt::Key_5},
    {0x16, "6", Qt::Key_6},
    {0x1A, "7", Qt::Key_7},
    {0x1C, "8", Qt::Key_8},
    {0x19, "9", Qt::Key_9},
    {0x1D, "0", Qt::Key_0},
    {0x18, "equal", Qt::Key_Equal},
    {0x1B, "minus", Qt::Key_Minus},
    {0x1E, "bracketright", Qt::Key_BracketRight},
    {0x21, "bracketleft", Qt::Key_BracketLeft},
    {0x27, "apostrophe", Qt::Key_Apostrophe},
    {0x29, "semicolon", Qt::Key_Semicolon},
    {0x2A, "backslash", Qt::Key_Backslash},
    {0x2B, "comma", Qt::Key_Comma},
    {0x2C, "slash", Qt::Key_Slash},
    {0x2F, "period", Qt::Key_Period},
    {0x32, "grave", Qt::Key_QuoteLeft},
    {0x24, "Return", Qt::Key_Return},
    {0x30, "Tab", Qt::Key_Tab},
    {0x31, "space", Qt::Key_Space},
    {0x33, "BackSpace", Qt::Key_Backspace},
    {0x35, "Escape", Qt::Key_Escape},
    {0x72, "Insert", Qt::Key_Insert},
    {0x73, "Home", Qt::Key_Home},
    {0x74, "Prior", Qt::Key_PageUp},
    {0x75, "Delete", Qt::Key_Delete},
    {0x77, "End", Qt::Key_End},
    {0x79, "Next", Qt::Key_PageDown},
    {0x7B, "Left", Qt::Key_Left},
    {0x7C, "Right", Qt::Key_Right},
    {0x7D, "Down", Qt::Key_Down},
    {0x7E, "Up", Qt::Key_Up},
    {0x6E, "Menu", Qt::Key_Menu},
    {0x7A, "F1", Qt::Key_F1},
    {0x78, "F2", Qt::Key_F2},
    {0x63, "F3", Qt::Key_F3},
    {0x76, "F4", Qt::Key_F4},
    {0x60, "F5", Qt::Key_F5},
    {0x61, "F6", Qt::Key_F6},
    {0x62, "F7", Qt::Key_F7},
    {0x64, "F8", Qt::Key_F8},
    {0x65, "F9", Qt::Key_F9},
    {0x6D, "F10", Qt::Key_F10},
    {0x67, "F11", Qt::Key_F11},
    {0x6F, "F12", Qt::Key_F12},
    {0x69, "F13", Qt::Key_F13},
    {0x6B, "F14", Qt::Key_F14},
    {0x71, "F15", Qt::Key_F15},
    {0x6A, "F16", Qt::Key_F16},
    {0x40, "F17", Qt::Key_F17},
    {0x4F, "F18", Qt::Key_F18},
    {0x50, "F19", Qt::Key_F19},
    {0x5A, "F20", Qt::Key_F20},
    {0x52, "KP_0", Qt::Key_0},
    {0x53, "KP_1", Qt::Key_1},
    {0x54, "KP_2", Qt::Key_2},
    {0x55, "KP_3", Qt::Key_3},
    {0x56, "KP_4", Qt::Key_4},
    {0x57, "KP_5", Qt::Key_5},
    {0x58, "KP_6", Qt::Key_6},
    {0x59, "KP_7", Qt::Key_7},
    {0x5B, "KP_8", Qt::Key_8},
    {0x5C, "KP_9", Qt::Key_9},
    {0x41, "KP_Decimal", Qt::Key_Period},
    {0x43, "KP_Multiply", Qt::Key_Asterisk},
    {0x45, "KP_Add", Qt::Key_Plus},
    {0x47, "Num_Lock", Qt::Key_NumLock},
    {0x4B, "KP_Divide", Qt::Key_Slash},
    {0x4C, "KP_Enter", Qt::Key_Enter},
    {0x4E, "KP_Subtract", Qt::Key_Minus},
    {0x51, "KP_Equal", Qt::Key_Equal},
    {0x48, "XF86AudioRaiseVolume", Qt::Key_VolumeUp},
    {0x49, "XF86AudioLowerVolume", Qt::Key_VolumeDown},
    {0x4A, "XF86AudioMute", Qt::Key_VolumeMute},
}};

const KeyName* keyName(int virtualKey) {
    for (const KeyName& name : keyNames)
        if (name.virtualKey == virtualKey)
            return &name;
    return nullptr;
}

} // namespace

std::optional<QString> portalTrigger(const shortcuts::Shortcut& shortcut) {
    const KeyName* key = keyName(shortcut.carbonKeyCode);
    if (!key || (shortcut.carbonModifiers & shortcuts::carbon::function))
        return std::nullopt;
    QStringList parts;
    // Command is Ctrl and Control is the logo key, as everywhere on this desktop.
    if (shortcut.carbonModifiers & shortcuts::carbon::command)
        parts << QStringLiteral("CTRL");
    if (shortcut.carbonModifiers & shortcuts::carbon::option)
        parts << QStringLiteral("ALT");
    if (shortcut.carbonModifiers & shortcuts::carbon::shift)
        parts << QStringLiteral("SHIFT");
    if (shortcut.carbonModifiers & shortcuts::carbon::control)
        parts << QStringLiteral("LOGO");
    parts << QString::fromLatin1(key->keysym);
    return parts.join(QLatin1Char('+'));
}

QString portalDescription(const shortcuts::Shortcut& shortcut) {
    const KeyName* key = keyName(shortcut.carbonKeyCode);
    if (!key) {
        // The modifiers as the desktop writes them, with a stand-in for the key.
        QString text = QKeySequence(QKeyCombination(shortcut.modifiers(), Qt::Key_A))
                           .toString(QKeySequence::NativeText);
        text.chop(1);
        return text + QLatin1Char('?');
    }
    return QKeySequence(QKeyCombination(shortcut.modifiers(), key->qtKey))
        .toString(QKeySequence::NativeText);
}

} // namespace velmor
