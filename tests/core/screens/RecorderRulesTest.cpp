#include "core/screens/RecorderRules.h"
#include "../shortcuts/FakeHotKeys.h"
#include "StateWorld.h"
#include "core/shortcuts/GlobalShortcuts.h"

#include <gtest/gtest.h>

using namespace velmor;
using Outcome = RecorderRules::Outcome;
using shortcuts::Shortcut;

namespace {

constexpr int keyK = 0x28;
constexpr int keyG = 0x05;
constexpr int keyF5 = 96;
constexpr int keyF12 = 111;

RecorderRules::Decision press(int qtKey, Qt::KeyboardModifiers modifiers, int virtualKey,
                              std::optional<Shortcut> menuUses = {},
                              std::optional<Shortcut> systemUses = {}) {
    return RecorderRules::evaluate(
        {qtKey, modifiers, virtualKey},
        [&](const Shortcut& s) -> std::optional<QString> {
            if (menuUses && *menuUses == s)
                return QStringLiteral("Quit Velmor");
            return std::nullopt;
        },
        [&](const Shortcut& s) { return systemUses && *systemUses == s; });
}

} // namespace

TEST(RecorderRules, ModifierRule) {
    EXPECT_EQ(press(Qt::Key_K, Qt::NoModifier, keyK).outcome, Outcome::beep);
    EXPECT_EQ(press(Qt::Key_G, Qt::ShiftModifier, keyG).outcome, Outcome::beep);
    // A function key alone passes on to the conflict checks.
    EXPECT_EQ(press(Qt::Key_F5, Qt::NoModifier, keyF5).outcome, Outcome::store);
    const auto stored = press(Qt::Key_K, Qt::ControlModifier | Qt::AltModifier, keyK);
    EXPECT_EQ(stored.outcome, Outcome::store);
    EXPECT_EQ(stored.shortcut,
              Shortcut(keyK, shortcuts::carbon::command | shortcuts::carbon::option));
    // Caps Lock and the keypad flag do not count; a key without a position cannot be stored.
    EXPECT_EQ(press(Qt::Key_K, Qt::KeypadModifier, keyK).outcome, Outcome::beep);
    EXPECT_EQ(press(Qt::Key_K, Qt::ControlModifier, -1).outcome, Outcome::beep);
}

TEST(RecorderRules, EditingKeys) {
    EXPECT_EQ(press(Qt::Key_Tab, Qt::NoModifier, 48).outcome, Outcome::passOn);
    EXPECT_EQ(press(Qt::Key_Escape, Qt::NoModifier, 53).outcome, Outcome::cancel);
    EXPECT_EQ(press(Qt::Key_Backspace, Qt::NoModifier, 51).outcome, Outcome::clear);
    EXPECT_EQ(press(Qt::Key_Delete, Qt::NoModifier, 117).outcome, Outcome::clear);
    // With a modifier they are ordinary combinations.
    EXPECT_EQ(press(Qt::Key_Escape, Qt::ControlModifier, 53).outcome, Outcome::store);
}

TEST(RecorderRules, Conflicts) {
    const Shortcut ctrlQ(0x0C, shortcuts::carbon::command);
    const auto menu = press(Qt::Key_Q, Qt::ControlModifier, 0x0C, ctrlQ);
    EXPECT_EQ(menu.outcome, Outcome::menuConflict);
    EXPECT_EQ(menu.menuItemTitle, "Quit Velmor");
    const Shortcut ctrlAltT(0x11, shortcuts::carbon::command | shortcuts::carbon::option);
    EXPECT_EQ(press(Qt::Key_T, Qt::ControlModifier | Qt::AltModifier, 0x11, {}, ctrlAltT).outcome,
              Outcome::systemConflict);
    // The menu is asked first.
    EXPECT_EQ(press(Qt::Key_Q, Qt::ControlModifier, 0x0C, ctrlQ, ctrlQ).outcome,
              Outcome::menuConflict);
    // Plain F12 skips the system check.
    const Shortcut f12(keyF12, 0);
    EXPECT_EQ(press(Qt::Key_F12, Qt::NoModifier, keyF12, {}, f12).outcome, Outcome::store);
}

TEST(RecorderRules, TheCardOffersTheRecorderOnlyWhereTheDesktopHoldsShortcuts) {
    test::StateWorld world;
    test::FakeHotKeys keys;
    shortcuts::GlobalShortcuts::initialize(world.store, keys);
    EXPECT_EQ(RecorderRules::cardState(), RecorderRules::CardState::recorder);

    // Wayland without a shortcut portal: the line points at the desktop's own key settings
    // and the command to bind there.
    test::FakeHotKeys none;
    none.available = false;
    shortcuts::GlobalShortcuts::initialize(world.store, none);
    EXPECT_EQ(RecorderRules::cardState(), RecorderRules::CardState::unavailable);
    EXPECT_TRUE(RecorderRules::unavailableLine().contains(QStringLiteral("velmor --now")));
    EXPECT_TRUE(RecorderRules::unavailableLine().contains(QStringLiteral("keyboard settings")));
}
