// The lock screen as mocked desktop services on a private bus report it: logind's LockedHint of
// our session and the two screen savers' GetActive and ActiveChanged.
#include "platform/dbus/DBusScreenLock.h"

#include "MockBus.h"

#include <QDBusInterface>
#include <QDBusMessage>

#include <gtest/gtest.h>

using namespace velmor;
using test::MockBus;
using test::ok;
using test::waitFor;

TEST(ScreenLock, FollowsTheLockedHintOfOurLogindSession) {
    MockBus bus;
    ASSERT_TRUE(bus.startMock({"--template", "logind"}, "org.freedesktop.login1"));
    QDBusInterface logind("org.freedesktop.login1", "/org/freedesktop/login1",
                          "org.freedesktop.DBus.Mock", bus.bus());
    ASSERT_TRUE(ok(logind.call("AddSession", "c7", "seat0", 1000u, "ada", true)));
    ASSERT_TRUE(ok(logind.call("AddSession", "c8", "seat0", 1001u, "bo", false)));
    QDBusInterface ours("org.freedesktop.login1", "/org/freedesktop/login1/session/c7",
                        "org.freedesktop.login1.Session", bus.bus());
    QDBusInterface other("org.freedesktop.login1", "/org/freedesktop/login1/session/c8",
                         "org.freedesktop.login1.Session", bus.bus());
    ASSERT_TRUE(ok(ours.call("SetLockedHint", true)));
    qputenv("XDG_SESSION_ID", "c7");

    // Already locked when we start.
    DBusScreenLock lock(bus.bus(), bus.bus());
    std::vector<bool> told;
    lock.setListener([&](bool locked) { told.push_back(locked); });
    ASSERT_TRUE(waitFor([&] { return lock.isLocked(); }));
    EXPECT_EQ(told, std::vector<bool>{true});

    ASSERT_TRUE(ok(ours.call("SetLockedHint", false)));
    ASSERT_TRUE(waitFor([&] { return !lock.isLocked(); }));
    // Another user's session locking is not ours.
    ASSERT_TRUE(ok(other.call("SetLockedHint", true)));
    waitFor([] { return false; }, 300);
    EXPECT_FALSE(lock.isLocked());
    ASSERT_TRUE(ok(ours.call("SetLockedHint", true)));
    ASSERT_TRUE(waitFor([&] { return lock.isLocked(); }));
    EXPECT_EQ(told, (std::vector<bool>{true, false, true}));
    qunsetenv("XDG_SESSION_ID");
}

TEST(ScreenLock, EitherScreenSaverBeingActiveLocks) {
    MockBus bus;
    ASSERT_TRUE(bus.startMock({"--template", "gnome_screensaver"}, "org.gnome.ScreenSaver"));
    ASSERT_TRUE(bus.startMock({"--session", "org.freedesktop.ScreenSaver",
                               "/org/freedesktop/ScreenSaver", "org.freedesktop.ScreenSaver"},
                              "org.freedesktop.ScreenSaver"));
    QDBusInterface freedesktop("org.freedesktop.ScreenSaver", "/org/freedesktop/ScreenSaver",
                               "org.freedesktop.DBus.Mock", bus.bus());
    ASSERT_TRUE(ok(freedesktop.call("AddMethod", "", "GetActive", "", "b", "ret = True")));
    QDBusInterface gnome("org.gnome.ScreenSaver", "/org/gnome/ScreenSaver", "org.gnome.ScreenSaver",
                         bus.bus());

    // No logind on the system side: it counts as unlocked, silently.
    testing::internal::CaptureStdout();
    DBusScreenLock lock(bus.bus(), QDBusConnection("none"));
    std::vector<bool> told;
    lock.setListener([&](bool locked) { told.push_back(locked); });
    ASSERT_TRUE(waitFor([&] { return lock.isLocked(); })) << "GetActive at start";

    ASSERT_TRUE(ok(gnome.call("SetActive", true)));
    ASSERT_TRUE(ok(freedesktop.call("EmitSignal", "org.freedesktop.ScreenSaver", "ActiveChanged",
                                    "b", QVariantList{false})));
    waitFor([] { return false; }, 300);
    EXPECT_TRUE(lock.isLocked()) << "the GNOME one is still active";
    ASSERT_TRUE(ok(gnome.call("SetActive", false)));
    ASSERT_TRUE(waitFor([&] { return !lock.isLocked(); }));
    EXPECT_EQ(told, (std::vector<bool>{true, false}));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}
