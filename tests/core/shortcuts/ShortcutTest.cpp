#include "core/shortcuts/Shortcut.h"

#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::shortcuts;

TEST(ShortcutStorage, WritesTheFixedJsonTextAndReadsItBack) {
    const Shortcut ctrlShiftG(Key::g, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(ctrlShiftG, Shortcut(5, 768));
    EXPECT_EQ(ctrlShiftG.toJson(), QByteArray(R"({"carbonKeyCode":5,"carbonModifiers":768})"));
    for (const Shortcut& shortcut : {ctrlShiftG, Shortcut(122, 0), Shortcut(49, 0x1000 | 0x800)})
        EXPECT_EQ(Shortcut::fromJson(shortcut.toJson()), shortcut);
    EXPECT_EQ(
        Shortcut::fromJson(R"( {"carbonModifiers": 4096, "other": [1], "carbonKeyCode": 12} )"),
        Shortcut(12, 4096));
}

TEST(ShortcutStorage, AnythingButTwoIntegerMembersIsNoShortcut) {
    for (const char* text : {"", "false", "[5,768]", "{\"carbonKeyCode\":5}",
                             R"({"carbonKeyCode":"5","carbonModifiers":768})",
                             R"({"carbonKeyCode":5.5,"carbonModifiers":768})",
                             R"({"carbonKeyCode":5,"carbonModifiers":null})",
                             R"({"carbonKeyCode":5,"carbonModifiers":1e12})",
                             "{\"carbonKeyCode\":5,\"carbonModifiers\":768", "\xff\xfe"})
        EXPECT_FALSE(Shortcut::fromJson(text)) << text;
}

TEST(ModifierConversion, MapsTheFiveModifiersBothWaysAndDropsTheRest) {
    // Control and Shift are checked by the stored form above, Alt by the last line.
    EXPECT_EQ(carbonModifiers(Qt::MetaModifier), 0x1000);
    EXPECT_EQ(carbonModifiers(Qt::KeypadModifier | Qt::GroupSwitchModifier), 0);

    EXPECT_EQ(qtModifiers(0x100), Qt::ControlModifier);
    EXPECT_EQ(qtModifiers(0x1000 | 0x800), Qt::MetaModifier | Qt::AltModifier);
    // Function has no desktop flag; caps lock (0x400) and other bits are not modifiers here.
    EXPECT_EQ(qtModifiers(0x20000 | 0x400 | 0x1 | 0x200), Qt::ShiftModifier);

    EXPECT_EQ(normalizedCarbonModifiers(0x20000 | 0x400 | 0x10000 | 0x300), 0x20300);
    EXPECT_EQ(Shortcut(Key{83}, Qt::KeypadModifier | Qt::AltModifier), Shortcut(83, 0x800));
}
