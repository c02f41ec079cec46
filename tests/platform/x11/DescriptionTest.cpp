#include "platform/x11/KeyCodes.h"
#include "platform/x11/KeyboardLayout.h"
#include "platform/x11/ShortcutDescription.h"

#include <QSet>

#include <gtest/gtest.h>

#include <ostream>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << text.toStdString();
}
QT_END_NAMESPACE

using namespace velmor;
using namespace velmor::shortcuts;

namespace {
constexpr int command = carbon::command, shift = carbon::shift, option = carbon::option,
              control = carbon::control;
} // namespace

TEST(KeyboardLayout, LetterAndDigitPositionsTypeTheirUsCharacters) {
    // The key position table checked against xkbcommon's own US layout.
    const KeyboardLayout us = KeyboardLayout::fromNames("us");
    ASSERT_TRUE(us.isValid());
    const std::pair<int, char32_t> keys[] = {
        {0x00, 'a'},  {0x0B, 'b'}, {0x08, 'c'}, {0x02, 'd'}, {0x0E, 'e'}, {0x03, 'f'}, {0x05, 'g'},
        {0x04, 'h'},  {0x22, 'i'}, {0x26, 'j'}, {0x28, 'k'}, {0x25, 'l'}, {0x2E, 'm'}, {0x2D, 'n'},
        {0x1F, 'o'},  {0x23, 'p'}, {0x0C, 'q'}, {0x0F, 'r'}, {0x01, 's'}, {0x11, 't'}, {0x20, 'u'},
        {0x09, 'v'},  {0x0D, 'w'}, {0x07, 'x'}, {0x10, 'y'}, {0x06, 'z'}, {0x12, '1'}, {0x13, '2'},
        {0x14, '3'},  {0x15, '4'}, {0x17, '5'}, {0x16, '6'}, {0x1A, '7'}, {0x1C, '8'}, {0x19, '9'},
        {0x1D, '0'},  {0x1B, '-'}, {0x18, '='}, {0x21, '['}, {0x1E, ']'}, {0x29, ';'}, {0x27, '\''},
        {0x2A, '\\'}, {0x2B, ','}, {0x2F, '.'}, {0x2C, '/'}, {0x32, '`'}, {0x43, '*'}, {0x45, '+'}};
    for (const auto& [keyCode, character] : keys)
        EXPECT_EQ(us.character(Key{keyCode}), character) << "virtual key " << keyCode;
    // Keys without a character of their own.
    for (int keyCode : {0x24, 0x30, 0x35, 0x48, 0x34, 200})
        EXPECT_FALSE(us.character(Key{keyCode})) << "virtual key " << keyCode;
}

TEST(ShortcutDescription, WritesModifiersAndTheKeyTheDesktopWay) {
    const KeyboardLayout us = KeyboardLayout::fromNames("us");
    EXPECT_EQ(description(Shortcut(5, 768), us), "Ctrl+Shift+G");
    EXPECT_EQ(description(Shortcut(5, command | shift | option | control), us),
              "Meta+Ctrl+Alt+Shift+G");
    EXPECT_EQ(description(Shortcut(5, command | carbon::function), us), "Ctrl+Fn+G");
    EXPECT_EQ(description(Shortcut(96, 0), us), "F5");
    EXPECT_EQ(description(Shortcut(90, option), us), "Alt+F20");
    EXPECT_EQ(description(Shortcut(83, command), us), "Ctrl+Num+1");
    EXPECT_EQ(description(Shortcut(76, 0), us), "Num+Enter");
    EXPECT_EQ(description(Shortcut(36, command), us), "Ctrl+Return");
    EXPECT_EQ(description(Shortcut(53, 0), us), "Esc");
    EXPECT_EQ(description(Shortcut(49, control), us), "Meta+Space");
    EXPECT_EQ(description(Shortcut(126, shift), us), "Shift+Up");
    EXPECT_EQ(description(Shortcut(0x2B, command), us), "Ctrl+,");
    // No single character: the replacement character stands for the key.
    EXPECT_EQ(description(Shortcut(0x34, 768), us), "Ctrl+Shift+Key 52");
    EXPECT_EQ(description(Shortcut(0x48, command), us), "Ctrl+Key 72");
}

TEST(ShortcutDescription, FollowsTheLayoutsCharactersByPosition) {
    EXPECT_EQ(description(Shortcut(6, command), KeyboardLayout::fromNames("de")), "Ctrl+Y");
    // A dead key shows its accent.
    EXPECT_EQ(description(Shortcut(0x32, command), KeyboardLayout::fromNames("de")), "Ctrl+^");
    EXPECT_EQ(description(Shortcut(0, command), KeyboardLayout::fromNames("fr")), "Ctrl+Q");
    EXPECT_EQ(description(Shortcut(0x12, command), KeyboardLayout::fromNames("fr")), "Ctrl+&");
    EXPECT_EQ(description(Shortcut(0x0C, command), KeyboardLayout::fromNames("us", "dvorak")),
              "Ctrl+'");

    // With a Cyrillic layout active, the Latin layout beside it names the key.
    for (const auto& [names, active] : {std::pair{"us,ru", 1}, std::pair{"ru,us", 0}})
        EXPECT_EQ(
            description(Shortcut(5, 768), KeyboardLayout::fromNames(names, QString(), active)),
            "Ctrl+Shift+G")
            << names;
    // Without a Latin layout the active one is all there is.
    EXPECT_EQ(description(Shortcut(5, 768), KeyboardLayout::fromNames("ru")),
              QString("Ctrl+Shift+") + QChar(0x041F));
}

TEST(KeyPositions, EveryKeyMapsBothWaysWithoutCollisions) {
    QSet<int> xKeyCodes;
    for (int virtualKey = 0; virtualKey < 128; ++virtualKey) {
        const int xKeyCode = xKeyCodeForVirtualKey(virtualKey);
        if (xKeyCode == 0)
            continue;
        EXPECT_FALSE(xKeyCodes.contains(xKeyCode)) << "two keys at X key code " << xKeyCode;
        xKeyCodes.insert(xKeyCode);
        EXPECT_EQ(virtualKeyForXKeyCode(xKeyCode), virtualKey);
    }
    EXPECT_EQ(xKeyCodeForVirtualKey(Key::g.rawValue), 42);
    EXPECT_EQ(xKeyCodeForVirtualKey(0x34), 0); // no key there on an ANSI keyboard
    EXPECT_EQ(virtualKeyForXKeyCode(37), -1);  // left Ctrl is no shortcut key
}
