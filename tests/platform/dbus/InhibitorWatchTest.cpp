// Other programs keeping the screen saver off, on a private bus: inhibitions taken through a
// mocked org.freedesktop.ScreenSaver by other connections, and GNOME's session manager.
#include "platform/dbus/DBusInhibitorWatch.h"

#include "MockBus.h"

#include <QDBusInterface>

#include <gtest/gtest.h>

using namespace velmor;
using test::MockBus;
using test::ok;
using test::waitFor;

namespace {

// A program of its own on the bus, as a video player or the desktop's portal is.
struct Program {
    QDBusConnection bus;
    explicit Program(MockBus& mock, const QString& name)
        : bus(QDBusConnection::connectToBus(mock.address(), name)) {}
    ~Program() { QDBusConnection::disconnectFromBus(bus.name()); }
    uint inhibit(const QString& app, const QString& reason) {
        const QDBusMessage reply =
            bus.call(QDBusMessage::createMethodCall("org.freedesktop.ScreenSaver",
                                                    "/org/freedesktop/ScreenSaver",
                                                    "org.freedesktop.ScreenSaver", "Inhibit")
                     << app << reason);
        return reply.arguments().value(0).toUInt();
    }
    void uninhibit(uint cookie) {
        bus.call(QDBusMessage::createMethodCall("org.freedesktop.ScreenSaver",
                                                "/org/freedesktop/ScreenSaver",
                                                "org.freedesktop.ScreenSaver", "UnInhibit")
                 << cookie);
    }
};

} // namespace

TEST(InhibitorWatch, AnotherProgramKeepingTheScreenSaverOffCountsVelmorsOwnDoesNot) {
    MockBus bus;
    ASSERT_TRUE(bus.startMock({"--session", "org.freedesktop.ScreenSaver",
                               "/org/freedesktop/ScreenSaver", "org.freedesktop.ScreenSaver"},
                              "org.freedesktop.ScreenSaver"));
    QDBusInterface saver("org.freedesktop.ScreenSaver", "/org/freedesktop/ScreenSaver",
                         "org.freedesktop.DBus.Mock", bus.bus());
    ASSERT_TRUE(ok(saver.call("AddMethod", "", "Inhibit", "ss", "u",
                              "self.n = getattr(self, 'n', 0) + 1; ret = self.n")));
    ASSERT_TRUE(ok(saver.call("AddMethod", "", "UnInhibit", "u", "", "")));

    DBusInhibitorWatch watch(bus.bus(), bus.address());
    ASSERT_TRUE(waitFor([&] { return watch.watchesScreenSaver(); }));
    // No GNOME session manager: known at once, and nothing inhibits.
    ASSERT_TRUE(waitFor([&] { return watch.isActive() == false; }));

    // Velmor's own inhibition, passed on by a portal with its reason, does not count.
    Program portal(bus, "portal");
    const uint own = portal.inhibit("velmor", "Velmor needs accurate timer scheduling");
    EXPECT_NE(own, 0u);
    Program player(bus, "player");
    uint cookie = player.inhibit("org.example.Player", "Playing a video");
    ASSERT_TRUE(waitFor([&] { return watch.isActive() == true; }));
    player.uninhibit(cookie);
    ASSERT_TRUE(waitFor([&] { return watch.isActive() == false; }));

    // A program that leaves the bus takes its inhibition along.
    {
        Program game(bus, "game");
        game.inhibit("org.example.Game", "Game running");
        ASSERT_TRUE(waitFor([&] { return watch.isActive() == true; }));
    }
    EXPECT_TRUE(waitFor([&] { return watch.isActive() == false; }));

    // GNOME's session manager with an idle inhibitor: asked again when inhibitors change.
    ASSERT_TRUE(bus.startMock({"--session", "org.gnome.SessionManager", "/org/gnome/SessionManager",
                               "org.gnome.SessionManager"},
                              "org.gnome.SessionManager"));
    QDBusInterface session("org.gnome.SessionManager", "/org/gnome/SessionManager",
                           "org.freedesktop.DBus.Mock", bus.bus());
    ASSERT_TRUE(ok(session.call("AddMethod", "", "IsInhibited", "u", "b",
                                "ret = bool(args[0] & getattr(self, 'flags', 0))")));
    ASSERT_TRUE(ok(session.call(
        "AddMethod", "", "Inhibit", "u", "", // a test's shortcut: the flags alone
        "self.flags = args[0]; self.EmitSignal('org.gnome.SessionManager', 'InhibitorAdded', "
        "'o', ['/org/gnome/SessionManager/Inhibitor1'])")));
    QDBusInterface manager("org.gnome.SessionManager", "/org/gnome/SessionManager",
                           "org.gnome.SessionManager", bus.bus());
    ASSERT_TRUE(ok(manager.call("Inhibit", 8u))); // idle
    EXPECT_TRUE(waitFor([&] { return watch.isActive() == true; }));
}
