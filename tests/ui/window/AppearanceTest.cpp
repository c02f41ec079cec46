#include "platform/desktop/Appearance.h"
#include "StateWorld.h"
#include "TestApp.h"
#include "ui/window/MainWindow.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include <cstdio>

#include <gtest/gtest.h>

using namespace velmor;

namespace {

const QString portal = "org.freedesktop.portal.Desktop";
const QString path = "/org/freedesktop/portal/desktop";

// The desktop portal's settings as python-dbusmock serves them on a private session bus: dark
// to begin with; the mock's Flip() turns the desktop light and announces it.
class FakePortal {
public:
    FakePortal() {
        daemon_.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        if (!daemon_.waitForStarted() || !daemon_.waitForReadyRead(5000))
            return;
        qputenv("DBUS_SESSION_BUS_ADDRESS", daemon_.readLine().trimmed());
        mock_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        mock_.start("/usr/bin/python3",
                    {"-m", "dbusmock", portal, path, "org.freedesktop.portal.Settings"});
        QDBusConnection bus = QDBusConnection::sessionBus();
        for (int i = 0; i < 100 && !bus.interface()->isServiceRegistered(portal).value(); ++i)
            QTest::qWait(50);
        ready_ = bus.interface()->isServiceRegistered(portal).value();
        call("AddMethod", {"org.freedesktop.portal.Settings", "Read", "ss", "v",
                           "ret = dbus.UInt32(getattr(self, 'scheme', 1), variant_level=1)"});
        call("AddMethod",
             {"org.freedesktop.portal.Settings", "Flip", "", "",
              "self.scheme = 2; self.EmitSignal('org.freedesktop.portal.Settings', "
              "'SettingChanged', 'ssv', ['org.freedesktop.appearance', 'color-scheme', "
              "dbus.UInt32(2, variant_level=1)])"});
    }
    ~FakePortal() {
        mock_.kill();
        mock_.waitForFinished();
        daemon_.kill();
        daemon_.waitForFinished();
    }
    bool ready() const { return ready_; }
    void flip() { call("Flip", {}, "org.freedesktop.portal.Settings"); }

private:
    void call(const QString& method, const QVariantList& args,
              const QString& interface = "org.freedesktop.DBus.Mock") {
        QDBusMessage message = QDBusMessage::createMethodCall(portal, path, interface, method);
        message.setArguments(args);
        const QDBusMessage reply = QDBusConnection::sessionBus().call(message);
        if (reply.type() == QDBusMessage::ErrorMessage)
            std::printf("portal mock: %s\n", qPrintable(reply.errorMessage()));
    }

    QProcess daemon_, mock_;
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
    EXPECT_EQ(system.colorScheme(), 1u);
    EXPECT_TRUE(system.prefersDark());

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
    EXPECT_FALSE(system.prefersDark());
    EXPECT_FALSE(isDark(window)) << "the window follows the desktop while set to System";

    // Forced dark stays dark whatever the desktop does.
    world.state.setAppearanceMode(AppearanceMode::dark);
    EXPECT_TRUE(isDark(window));
    EXPECT_EQ(paletteFor(AppearanceMode::dark, Qt::red).color(QPalette::Highlight),
              QColor(Qt::red));
}
