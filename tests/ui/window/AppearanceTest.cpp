#include "platform/desktop/Appearance.h"
#include "MockBus.h"
#include "StateWorld.h"
#include "TestApp.h"
#include "ui/window/MainWindow.h"

#include <QApplication>
#include <QDBusMessage>
#include <QSignalSpy>
#include <QTest>

#include <cstdio>

#include <gtest/gtest.h>

using namespace velmor;

namespace {

const QString portal = "org.freedesktop.portal.Desktop";
const QString path = "/org/freedesktop/portal/desktop";

// The desktop portal's settings as python-dbusmock serves them on a private bus, which becomes
// the session bus: dark to begin with; the mock's Flip() turns the desktop light and announces it.
class FakePortal {
public:
    FakePortal() {
        qputenv("DBUS_SESSION_BUS_ADDRESS", mock_.address().toUtf8());
        ready_ = mock_.startMock({portal, path, "org.freedesktop.portal.Settings"}, portal);
        if (!ready_)
            return;
        call("AddMethod", {"org.freedesktop.portal.Settings", "Read", "ss", "v",
                           "ret = dbus.UInt32(getattr(self, 'scheme', 1), variant_level=1)"});
        call("AddMethod",
             {"org.freedesktop.portal.Settings", "Flip", "", "",
              "self.scheme = 2; self.EmitSignal('org.freedesktop.portal.Settings', "
              "'SettingChanged', 'ssv', ['org.freedesktop.appearance', 'color-scheme', "
              "dbus.UInt32(2, variant_level=1)])"});
    }
    bool ready() const { return ready_; }
    void flip() { call("Flip", {}, "org.freedesktop.portal.Settings"); }

private:
    void call(const QString& method, const QVariantList& args,
              const QString& interface = "org.freedesktop.DBus.Mock") {
        QDBusMessage message = QDBusMessage::createMethodCall(portal, path, interface, method);
        message.setArguments(args);
        if (!test::ok(mock_.bus().call(message)))
            std::printf("portal mock: %s failed\n", qPrintable(method));
    }

    test::MockBus mock_;
    bool ready_ = false;
};

bool isDark(const QWidget& widget) {
    return widget.palette().color(QPalette::Window).lightnessF() < 0.5;
}

} // namespace

TEST(Appearance, SystemModeFollowsTheDesktopPortal) {
    if (!test::guiApplication())
        GTEST_SKIP() << "no display";
    FakePortal fake;
    if (!fake.ready())
        GTEST_SKIP() << "python3-dbusmock is not available";

    SystemAppearance& system = SystemAppearance::shared();

    test::StateWorld world;
    MainWindow window({world.state, world.notifications});
    EXPECT_TRUE(isDark(window)) << "System: the desktop prefers dark";

    world.state.setAppearanceMode(AppearanceMode::light);
    EXPECT_FALSE(isDark(window));
    world.state.setAppearanceMode(AppearanceMode::system);
    EXPECT_TRUE(isDark(window));

    QSignalSpy changed(&system, &SystemAppearance::changed);
    fake.flip();
    ASSERT_TRUE(changed.wait(5000));
    EXPECT_FALSE(isDark(window)) << "the window follows the desktop while set to System";
}
