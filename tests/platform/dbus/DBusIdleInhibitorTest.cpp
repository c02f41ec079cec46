// The idle inhibition against mocked desktop services on a private bus: the portal where it
// answers, logind's "idle" block lock where it does not, and nothing at all without a bus.
#include "platform/dbus/DBusIdleInhibitor.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusInterface>

#include "MockBus.h"
#include "TestApp.h"

#include <gtest/gtest.h>

using namespace velmor;
using test::MockBus;
using test::ok;
using test::waitFor;

namespace {

// logind's locks, each as "what mode why".
QStringList logindInhibitors(QDBusConnection& bus) {
    const QDBusMessage reply = bus.call(
        QDBusMessage::createMethodCall("org.freedesktop.login1", "/org/freedesktop/login1",
                                       "org.freedesktop.login1.Manager", "ListInhibitors"));
    if (reply.type() != QDBusMessage::ReplyMessage)
        return {"no answer"};
    QStringList locks;
    const QDBusArgument list = reply.arguments().value(0).value<QDBusArgument>();
    list.beginArray();
    while (!list.atEnd()) {
        QString what, who, why, mode;
        uint uid = 0, pid = 0;
        list.beginStructure();
        list >> what >> who >> why >> mode >> uid >> pid;
        list.endStructure();
        locks << what + " " + mode + " " + why;
    }
    list.endArray();
    return locks;
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
    MockBus bus;
    ASSERT_TRUE(bus.startMock({"--template", "logind"}, "org.freedesktop.login1"));

    // No portal on the session side: the request falls through to logind.
    DBusIdleInhibitor inhibitor(bus.bus(), bus.bus());
    inhibitor.acquire("Velmor needs accurate timer scheduling");
    ASSERT_TRUE(waitFor([&] { return inhibitor.holdsLogindLock(); }));
    // It blocks idle suspend only, never one the user asks for.
    EXPECT_EQ(logindInhibitors(bus.bus()),
              QStringList{"idle block Velmor needs accurate timer scheduling"});

    inhibitor.release();
    EXPECT_FALSE(inhibitor.holdsLogindLock());
    EXPECT_TRUE(waitFor([&] { return logindInhibitors(bus.bus()).isEmpty(); }));

    // Acquiring twice leaves one lock, not two.
    inhibitor.acquire("again");
    inhibitor.acquire("again");
    ASSERT_TRUE(waitFor([&] { return inhibitor.holdsLogindLock(); }));
    waitFor([] { return false; }, 200);
    EXPECT_EQ(logindInhibitors(bus.bus()), QStringList{"idle block again"});
}

TEST(IdleInhibitor, PrefersThePortalAndClosesItsRequest) {
    MockBus bus;
    ASSERT_TRUE(bus.startMock({"--session", "org.freedesktop.portal.Desktop",
                               "/org/freedesktop/portal/desktop", "org.freedesktop.portal.Inhibit"},
                              "org.freedesktop.portal.Desktop"));
    const QString requestPath = "/org/freedesktop/portal/desktop/request/1_1/velmor";
    QDBusInterface mock("org.freedesktop.portal.Desktop", "/org/freedesktop/portal/desktop",
                        "org.freedesktop.DBus.Mock", bus.bus());
    ASSERT_TRUE(ok(mock.call("AddMethod", "", "Inhibit", "sua{sv}", "o",
                             "ret = dbus.ObjectPath('" + requestPath + "')")));
    ASSERT_TRUE(ok(mock.call("AddObject", requestPath, "org.freedesktop.portal.Request",
                             QVariantMap(), QVariant::fromValue(QList<QVariant>()))));
    QDBusInterface request("org.freedesktop.portal.Desktop", requestPath,
                           "org.freedesktop.DBus.Mock", bus.bus());
    ASSERT_TRUE(
        ok(request.call("AddMethod", "org.freedesktop.portal.Request", "Close", "", "", "")));

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
