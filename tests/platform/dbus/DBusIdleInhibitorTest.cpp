// The idle inhibition against mocked desktop services on a private bus: the portal where it
// answers, logind's "idle" block lock where it does not, and nothing at all without a bus.
#include "platform/dbus/DBusIdleInhibitor.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusReply>
#include <QDeadlineTimer>
#include <QProcess>
#include <QThread>

#include "MockBus.h"
#include "TestApp.h"

#include <gtest/gtest.h>

using namespace velmor;
using test::MockBus;
using test::waitFor;

namespace {

int logindInhibitorCount(QDBusConnection& bus, QString* what = nullptr, QString* why = nullptr,
                         QString* mode = nullptr) {
    QDBusMessage reply = bus.call(
        QDBusMessage::createMethodCall("org.freedesktop.login1", "/org/freedesktop/login1",
                                       "org.freedesktop.login1.Manager", "ListInhibitors"));
    if (reply.type() != QDBusMessage::ReplyMessage)
        return -1;
    const QDBusArgument list = reply.arguments().value(0).value<QDBusArgument>();
    int count = 0;
    list.beginArray();
    while (!list.atEnd()) {
        QString w, who, y, m;
        uint uid = 0, pid = 0;
        list.beginStructure();
        list >> w >> who >> y >> m >> uid >> pid;
        list.endStructure();
        if (what)
            *what = w;
        if (why)
            *why = y;
        if (mode)
            *mode = m;
        ++count;
    }
    list.endArray();
    return count;
}

// The arguments of each call of `method` that a dbusmock object recorded.
QList<QVariantList> recordedCalls(QDBusInterface& mock, const QString& method) {
    QList<QVariantList> calls;
    const QDBusMessage reply = mock.call("GetMethodCalls", method);
    const QDBusArgument list = reply.arguments().value(0).value<QDBusArgument>();
    if (reply.type() != QDBusMessage::ReplyMessage)
        return calls;
    list.beginArray();
    while (!list.atEnd()) {
        quint64 timestamp = 0;
        QVariantList args;
        list.beginStructure();
        list >> timestamp >> args;
        list.endStructure();
        calls << args;
    }
    list.endArray();
    return calls;
}

} // namespace

TEST(IdleInhibitor, FallsBackToALogindIdleBlockAndDropsIt) {
    test::coreApplication();
    MockBus bus;
    if (!bus.ok())
        GTEST_SKIP() << "dbus-daemon could not start";
    ASSERT_TRUE(bus.startMock({"--template", "logind"}, "org.freedesktop.login1"));

    // No portal on the session side: the request falls through to logind.
    DBusIdleInhibitor inhibitor(bus.bus(), bus.bus());
    inhibitor.acquire("Velmor needs accurate timer scheduling");
    ASSERT_TRUE(waitFor([&] { return inhibitor.holdsLogindLock(); }));
    QString what, why, mode;
    EXPECT_EQ(logindInhibitorCount(bus.bus(), &what, &why, &mode), 1);
    EXPECT_EQ(what, "idle");
    EXPECT_EQ(mode, "block"); // blocks idle suspend only, never one the user asks for
    EXPECT_EQ(why, "Velmor needs accurate timer scheduling");

    inhibitor.release();
    EXPECT_FALSE(inhibitor.holdsLogindLock());
    EXPECT_TRUE(waitFor([&] { return logindInhibitorCount(bus.bus()) == 0; }));

    // Acquiring twice leaves one lock, not two.
    inhibitor.acquire("again");
    inhibitor.acquire("again");
    ASSERT_TRUE(waitFor([&] { return inhibitor.holdsLogindLock(); }));
    waitFor([] { return false; }, 200);
    EXPECT_EQ(logindInhibitorCount(bus.bus()), 1);
}

TEST(IdleInhibitor, PrefersThePortalAndClosesItsRequest) {
    test::coreApplication();
    MockBus bus;
    if (!bus.ok())
        GTEST_SKIP() << "dbus-daemon could not start";
    ASSERT_TRUE(bus.startMock({"--session", "org.freedesktop.portal.Desktop",
                               "/org/freedesktop/portal/desktop", "org.freedesktop.portal.Inhibit"},
                              "org.freedesktop.portal.Desktop"));
    const QString requestPath = "/org/freedesktop/portal/desktop/request/1_1/velmor";
    QDBusInterface mock("org.freedesktop.portal.Desktop", "/org/freedesktop/portal/desktop",
                        "org.freedesktop.DBus.Mock", bus.bus());
    ASSERT_TRUE(mock.call("AddMethod", "", "Inhibit", "sua{sv}", "o",
                          "ret = dbus.ObjectPath('" + requestPath + "')")
                    .errorMessage()
                    .isEmpty());
    ASSERT_TRUE(mock.call("AddObject", requestPath, "org.freedesktop.portal.Request", QVariantMap(),
                          QVariant::fromValue(QList<QVariant>()))
                    .errorMessage()
                    .isEmpty());
    QDBusInterface request("org.freedesktop.portal.Desktop", requestPath,
                           "org.freedesktop.DBus.Mock", bus.bus());
    ASSERT_TRUE(request.call("AddMethod", "org.freedesktop.portal.Request", "Close", "", "", "")
                    .errorMessage()
                    .isEmpty());

    DBusIdleInhibitor inhibitor(bus.bus(), QDBusConnection("none"));
    inhibitor.acquire("Velmor needs accurate timer scheduling");
    ASSERT_TRUE(waitFor([&] { return inhibitor.holdsPortalRequest(); }));
    QList<QVariantList> inhibits = recordedCalls(mock, "Inhibit");
    ASSERT_EQ(inhibits.size(), 1);
    EXPECT_EQ(inhibits[0].value(1).toUInt(), 4u); // suspend

    inhibitor.release();
    EXPECT_TRUE(waitFor([&] { return recordedCalls(request, "Close").size() == 1; }));
}

TEST(IdleInhibitor, WithoutABusDoesNothingAndSaysNothing) {
    test::coreApplication();
    testing::internal::CaptureStdout();
    {
        DBusIdleInhibitor inhibitor(QDBusConnection("none"), QDBusConnection("none"));
        inhibitor.acquire("x");
        QCoreApplication::processEvents();
        EXPECT_FALSE(inhibitor.holdsPortalRequest() || inhibitor.holdsLogindLock());
        inhibitor.release();
    }
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}
