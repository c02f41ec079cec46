// Global shortcuts through a desktop portal on a private bus: the portal (tests/support/
// mock-portal.py) records what it was asked to bind and plays the desktop's part by
// activating the shortcut.
#include "platform/dbus/PortalHotKeys.h"
#include "platform/dbus/PortalTrigger.h"

#include "MockBus.h"
#include "StateWorld.h"
#include "core/shortcuts/GlobalShortcuts.h"
#include "core/shortcuts/HotKeyCenter.h"

#include <QDBusMessage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::shortcuts;
using test::MockBus;
using test::waitFor;

namespace {

const Shortcut ctrlShiftG(5, 768);
const Shortcut ctrlAltK(40, carbon::command | carbon::option);
const QString script = QStringLiteral(VELMOR_SOURCE_DIR "/tests/support/mock-portal.py");

QDBusMessage control(QDBusConnection& bus, const QString& method, const QVariantList& args = {}) {
    QDBusMessage call = QDBusMessage::createMethodCall("org.freedesktop.portal.Desktop",
                                                       "/org/freedesktop/portal/desktop",
                                                       "org.velmor.test.Portal", method);
    call.setArguments(args);
    return bus.call(call);
}

QJsonArray portalCalls(QDBusConnection& bus) {
    return QJsonDocument::fromJson(control(bus, "Calls").arguments().value(0).toString().toUtf8())
        .array();
}

QList<QJsonObject> binds(QDBusConnection& bus) {
    QList<QJsonObject> found;
    for (const QJsonValue& one : portalCalls(bus))
        if (one[QStringLiteral("method")] == QStringLiteral("BindShortcuts"))
            found << one.toObject();
    return found;
}

QStringList openSessions(QDBusConnection& bus) {
    return control(bus, "OpenSessions").arguments().value(0).toStringList();
}

// The program's wiring: the stored shortcut of the trigger name bound through the portal, its
// release counted.
struct PortalWorld : test::StateWorld {
    MockBus bus;
    std::unique_ptr<PortalHotKeys> portal;
    int fired = 0;

    bool start(const QStringList& options = {}) {
        if (!bus.startPython(QStringList{script} + options,
                             QStringLiteral("org.freedesktop.portal.Desktop")))
            return false;
        portal = std::make_unique<PortalHotKeys>(QStringLiteral("triggerVelmoring"),
                                                 QStringLiteral("Show a pause now"), bus.bus());
        return true;
    }
    void useForShortcuts() {
        GlobalShortcuts::initialize(store, *portal);
        GlobalShortcuts::onKeyUp(name(), [this] { ++fired; });
    }
    Name name() const { return Name(QStringLiteral("triggerVelmoring"), ctrlShiftG); }
    void activate() {
        ASSERT_EQ(control(bus.bus(), "Activate", {QStringLiteral("triggerVelmoring")}).type(),
                  QDBusMessage::ReplyMessage);
    }
};

} // namespace

TEST(PortalTrigger, WritesModifiersAndKeysymNamesThePortalWay) {
    EXPECT_EQ(portalTrigger(ctrlShiftG), QStringLiteral("CTRL+SHIFT+G"));
    EXPECT_EQ(portalTrigger(ctrlAltK), QStringLiteral("CTRL+ALT+K"));
    // Control is the logo key; keys without a letter go by their keysym names.
    EXPECT_EQ(portalTrigger(Shortcut(0x31, carbon::control | carbon::shift)),
              QStringLiteral("SHIFT+LOGO+space"));
    EXPECT_EQ(portalTrigger(Shortcut(0x60, 0)), QStringLiteral("F5"));
    EXPECT_EQ(portalTrigger(Shortcut(0x2B, carbon::command)), QStringLiteral("CTRL+comma"));
    EXPECT_EQ(portalTrigger(Shortcut(0x4C, carbon::option)), QStringLiteral("ALT+KP_Enter"));
    // Nothing the portal could read: a position without a key, the function modifier.
    EXPECT_FALSE(portalTrigger(Shortcut(0x34, carbon::command)));
    EXPECT_FALSE(portalTrigger(Shortcut(5, carbon::command | carbon::function)));
    EXPECT_EQ(portalDescription(ctrlShiftG), QStringLiteral("Ctrl+Shift+G"));
    EXPECT_EQ(portalDescription(Shortcut(0x34, carbon::command)), QStringLiteral("Ctrl+?"));
}

// A portal without the interface, as Debian 12's has without a desktop backend; the version of
// one that has it is asked below.
TEST(PortalHotKeys, APortalWithoutTheInterfaceOffersVersionZero) {
    MockBus bus;
    ASSERT_TRUE(bus.startPython({script, "--no-shortcuts"}, "org.freedesktop.portal.Desktop"));
    EXPECT_EQ(PortalHotKeys::offeredVersion(bus.bus()), 0u);
}

TEST(PortalHotKeys, BindsTheStoredShortcutRunsItOnActivationAndRebindsANewOne) {
    PortalWorld world;
    ASSERT_TRUE(world.start());
    world.useForShortcuts();
    QDBusConnection& bus = world.bus.bus();
    EXPECT_EQ(PortalHotKeys::offeredVersion(bus), 1u);

    ASSERT_TRUE(waitFor([&] { return !world.portal->triggerDescription().isEmpty(); }));
    const QJsonArray calls = portalCalls(bus);
    ASSERT_EQ(calls.size(), 2);
    EXPECT_EQ(calls[0][QStringLiteral("method")], QStringLiteral("CreateSession"));
    const QJsonObject bind = binds(bus).first();
    const QString session = bind[QStringLiteral("session")].toString();
    EXPECT_EQ(session, calls[0][QStringLiteral("session")].toString());
    const QJsonArray bound = bind[QStringLiteral("shortcuts")].toArray();
    ASSERT_EQ(bound.size(), 1);
    EXPECT_EQ(bound[0][QStringLiteral("id")], QStringLiteral("triggerVelmoring"));
    EXPECT_EQ(bound[0][QStringLiteral("preferred_trigger")], QStringLiteral("CTRL+SHIFT+G"));
    EXPECT_EQ(bound[0][QStringLiteral("description")], QStringLiteral("Show a pause now"));
    EXPECT_EQ(world.portal->triggerDescription(), QStringLiteral("Press CTRL+SHIFT+G"));

    // Activated and Deactivated together are one use of the shortcut.
    world.activate();
    ASSERT_TRUE(waitFor([&] { return world.fired >= 1; }));
    waitFor([] { return false; }, 200);
    EXPECT_EQ(world.fired, 1);

    // A recorded shortcut binds again in the same session, and is the one that runs.
    GlobalShortcuts::setShortcut(ctrlAltK, world.name());
    ASSERT_TRUE(waitFor([&] { return binds(bus).size() == 2; }));
    const QJsonObject rebind = binds(bus).last();
    EXPECT_EQ(rebind[QStringLiteral("session")].toString(), session);
    EXPECT_EQ(rebind[QStringLiteral("shortcuts")][0][QStringLiteral("preferred_trigger")],
              QStringLiteral("CTRL+ALT+K"));
    ASSERT_TRUE(waitFor([&] { return world.portal->triggerDescription().endsWith("K"); }));
    world.activate();
    ASSERT_TRUE(waitFor([&] { return world.fired == 2; }));

    // A desktop that binds once per session gets a fresh session for the next shortcut.
    control(bus, "RefuseRebind", {true});
    GlobalShortcuts::setShortcut(ctrlShiftG, world.name());
    ASSERT_TRUE(waitFor([&] {
        return binds(bus).size() == 4 && world.portal->triggerDescription().endsWith("G");
    }));
    const QString fresh = world.portal->sessionHandle();
    EXPECT_NE(fresh, session);
    EXPECT_EQ(binds(bus).last()[QStringLiteral("session")].toString(), fresh);
    world.activate();
    ASSERT_TRUE(waitFor([&] { return world.fired == 3; }));

    // Stopping closes the session: the desktop forgets the shortcut.
    EXPECT_EQ(openSessions(bus), QStringList{fresh});
    world.portal->release();
    EXPECT_TRUE(openSessions(bus).isEmpty());
    EXPECT_EQ(binds(bus).size(), 4); // nothing bound behind our back
}

TEST(PortalHotKeys, AnOpenMenuStillLetsTheShortcutThroughButDisablingDoesNot) {
    PortalWorld world;
    ASSERT_TRUE(world.start());
    HotKeyCenter center(*world.portal);
    int pressed = 0;
    int released = 0;
    center.registerHotKey(
        ctrlShiftG, [&](const Shortcut&) { ++pressed; }, [&](const Shortcut&) { ++released; });
    ASSERT_TRUE(waitFor([&] { return !world.portal->triggerDescription().isEmpty(); }));

    center.setMenuOpen(true);
    world.activate();
    ASSERT_TRUE(waitFor([&] { return released == 1; }));
    EXPECT_EQ(pressed, 1);
    center.setMenuOpen(false);
    // Closing the menu grabs the same shortcut again: the binding stands, nothing is asked.
    waitFor([] { return false; }, 200);
    EXPECT_EQ(binds(world.bus.bus()).size(), 1);

    center.setEnabled(false);
    world.activate();
    waitFor([] { return false; }, 300);
    EXPECT_EQ(released, 1);
    center.setEnabled(true);
    world.activate();
    EXPECT_TRUE(waitFor([&] { return released == 2; }));
}
