#include "core/shortcuts/GlobalShortcuts.h"
#include "FakeHotKeys.h"
#include "StateWorld.h"
#include "core/shortcuts/HotKeyCenter.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <vector>

using namespace velmor;
using namespace velmor::shortcuts;
using test::FakeHotKeys;

namespace {

const Shortcut ctrlShiftG(5, 768);
const Shortcut ctrlAltK(40, 0x100 | 0x800);
const QString triggerKey = QStringLiteral("GlobalShortcuts_triggerVelmoring");
const QJsonValue defaultText(QStringLiteral(R"({"carbonKeyCode":5,"carbonModifiers":768})"));

// One store and one desktop per test; the facility starts afresh on them.
struct Facility : test::StateWorld {
    FakeHotKeys keys;
    Facility() { GlobalShortcuts::initialize(store, keys); }
};

Name trigger() {
    return Name(QStringLiteral("triggerVelmoring"), ctrlShiftG);
}

} // namespace

TEST(GlobalShortcutsStorage, DefaultIsStoredOnlyWhenTheKeyHoldsNothingAndANewOneReplacesIt) {
    {
        Facility facility;
        const Name name = trigger();
        EXPECT_EQ(facility.store.value(triggerKey), defaultText);
        EXPECT_TRUE(facility.keys.isGrabbed(ctrlShiftG));
        EXPECT_EQ(GlobalShortcuts::getShortcut(name), ctrlShiftG);

        GlobalShortcuts::setShortcut(ctrlAltK, name);
        EXPECT_FALSE(facility.keys.isGrabbed(ctrlShiftG));
        EXPECT_TRUE(facility.keys.isGrabbed(ctrlAltK));
        EXPECT_EQ(GlobalShortcuts::getShortcut(name), ctrlAltK);
        EXPECT_TRUE(GlobalShortcuts::isEnabled(name));
        GlobalShortcuts::setEnabled(false);
        EXPECT_TRUE(facility.keys.grabbed.empty());
        EXPECT_FALSE(GlobalShortcuts::isEnabled(name));
        GlobalShortcuts::setEnabled(true);
        EXPECT_TRUE(facility.keys.isGrabbed(ctrlAltK));
    }
    // The false marker, a value of another type, and text that does not decode are all kept,
    // and none of them falls back to the default.
    for (const QJsonValue& stored : {QJsonValue(false), QJsonValue(3.0), QJsonValue("{broken")}) {
        Facility facility;
        facility.store.setValue(triggerKey, stored);
        const Name name = trigger();
        EXPECT_EQ(facility.store.value(triggerKey), stored);
        EXPECT_FALSE(GlobalShortcuts::getShortcut(name));
        EXPECT_TRUE(facility.keys.grabbed.empty());
        EXPECT_FALSE(GlobalShortcuts::isEnabled(name));
    }
}

TEST(GlobalShortcutsStorage, ClearingLeavesFalseForADefaultAndNothingOtherwise) {
    Facility facility;
    const Name name = trigger();
    QStringList changes;
    QObject context;
    QObject::connect(&GlobalShortcuts::notifications(),
                     &ShortcutNotifications::shortcutByNameDidChange, &context,
                     [&](const Name& changed) { changes.append(changed.rawValue); });

    GlobalShortcuts::setShortcut(std::nullopt, name);
    EXPECT_EQ(facility.store.value(triggerKey), QJsonValue(false));
    EXPECT_TRUE(facility.keys.grabbed.empty());
    EXPECT_EQ(changes, QStringList{"triggerVelmoring"});

    GlobalShortcuts::setShortcut(std::nullopt, name); // nothing stored: no write, no notice
    EXPECT_EQ(changes.size(), 1);
    const Name again = trigger(); // a later launch does not bring the default back
    EXPECT_EQ(facility.store.value(triggerKey), QJsonValue(false));

    const Name plain(QStringLiteral("plain"));
    GlobalShortcuts::setShortcut(ctrlAltK, plain);
    EXPECT_EQ(GlobalShortcuts::getShortcut(plain), ctrlAltK);
    GlobalShortcuts::setShortcut(std::nullopt, plain);
    EXPECT_FALSE(facility.store.contains("GlobalShortcuts_plain"));
    EXPECT_EQ(changes, (QStringList{"triggerVelmoring", "plain", "plain"}));

    GlobalShortcuts::reset({name});
    EXPECT_EQ(facility.store.value(triggerKey), defaultText);
    EXPECT_TRUE(facility.keys.isGrabbed(ctrlShiftG));
}

TEST(GlobalShortcutsActions, RunInOrderOnPressAndReleaseUnlessPaused) {
    Facility facility;
    const Name name = trigger();
    const Name twin(QStringLiteral("twin"));
    GlobalShortcuts::setShortcut(ctrlShiftG, twin);
    std::vector<QString> ran;
    GlobalShortcuts::onKeyDown(name, [&] { ran.push_back("down"); });
    GlobalShortcuts::onKeyUp(name, [&] { ran.push_back("up 1"); });
    GlobalShortcuts::onKeyUp(name, [&] { ran.push_back("up 2"); });
    GlobalShortcuts::onKeyUp(twin, [&] { ran.push_back("twin"); });

    facility.keys.send(ctrlShiftG, true);
    EXPECT_EQ(ran, std::vector<QString>{"down"});
    facility.keys.send(ctrlShiftG, false);
    ASSERT_EQ(ran.size(), 4u); // both names share the shortcut; names come in no set order
    EXPECT_LT(std::find(ran.begin(), ran.end(), "up 1"), std::find(ran.begin(), ran.end(), "up 2"));
    EXPECT_NE(std::find(ran.begin(), ran.end(), "twin"), ran.end());

    ran.clear();
    GlobalShortcuts::setPaused(true);
    facility.keys.tap(ctrlShiftG);
    EXPECT_TRUE(ran.empty());
    GlobalShortcuts::setPaused(false);

    // The store is read at the moment of the press: a name whose stored shortcut changed
    // behind the facility's back no longer answers.
    facility.store.setValue("GlobalShortcuts_twin", false);
    facility.keys.tap(ctrlShiftG);
    EXPECT_EQ(ran, (std::vector<QString>{"down", "up 1", "up 2"}));
}

TEST(GlobalShortcutsActions, AttachingRegistersAStoredShortcutOnlyOnce) {
    Facility facility;
    facility.store.setValue("GlobalShortcuts_stored", QString::fromUtf8(ctrlAltK.toJson()));
    const Name stored(QStringLiteral("stored"));
    EXPECT_TRUE(facility.keys.grabbed.empty());
    int ran = 0;
    GlobalShortcuts::onKeyUp(stored, [&] { ++ran; });
    GlobalShortcuts::onKeyDown(stored, [] {});
    EXPECT_EQ(facility.keys.attempts, 1);
    facility.keys.tap(ctrlAltK);
    EXPECT_EQ(ran, 1);
}

TEST(GlobalShortcutsRegistration, ARefusedGrabPrintsTheErrorLineAndWithoutAServiceNothingIsTried) {
    Facility facility;
    facility.keys.taken.insert(ctrlShiftG);
    testing::internal::CaptureStdout();
    const Name name = trigger();
    GlobalShortcuts::onKeyUp(name, [] {});
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_EQ(output,
              "Error registering hotkey key 5 mods 768: already taken by another program\n");
    EXPECT_EQ(facility.keys.attempts, 1);
    EXPECT_EQ(facility.store.value(triggerKey), defaultText); // the stored value stays

    // Storing it again lets the old one go first, so it is tried again.
    facility.keys.taken.clear();
    GlobalShortcuts::setShortcut(ctrlShiftG, name);
    EXPECT_TRUE(facility.keys.isGrabbed(ctrlShiftG));

    // Without a desktop service nothing is grabbed or printed, and nothing counts as taken.
    Facility none;
    none.keys.available = false;
    none.keys.taken.insert(ctrlShiftG);
    testing::internal::CaptureStdout();
    const Name stored = trigger();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(none.keys.attempts, 0);
    EXPECT_EQ(none.store.value(triggerKey), defaultText);
    EXPECT_FALSE(GlobalShortcuts::isTakenBySystem(ctrlShiftG));
}

TEST(HotKeyCenterMenu, WhileAMenuIsOpenKeysAreMatchedInTheApplication) {
    FakeHotKeys keys;
    HotKeyCenter center(keys);
    std::vector<QString> ran;
    center.registerHotKey(
        ctrlShiftG, [&](const Shortcut&) { ran.push_back("down"); },
        [&](const Shortcut&) { ran.push_back("up"); });
    center.registerHotKey(ctrlAltK, nullptr, nullptr);

    center.setMenuOpen(true);
    EXPECT_TRUE(keys.grabbed.empty());
    EXPECT_FALSE(center.handleRawKey(5, 0x100, true));
    // Bits other than the five modifiers (caps lock here) do not stop a match.
    EXPECT_TRUE(center.handleRawKey(5, 0x300 | 0x400, true));
    EXPECT_TRUE(center.handleRawKey(5, 0x300, false));
    EXPECT_EQ(ran, (std::vector<QString>{"down", "up"}));

    // Closing grabs again; a grab refused meanwhile is dropped with the error line.
    keys.taken.insert(ctrlAltK);
    testing::internal::CaptureStdout();
    center.setMenuOpen(false);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Error registering hotkey key 40 mods 2304: already taken by another program\n");
    EXPECT_TRUE(keys.isGrabbed(ctrlShiftG));
    EXPECT_FALSE(center.isHotKey(40, 0x900));
    keys.tap(ctrlShiftG);
    EXPECT_EQ(ran.size(), 4u);
}
