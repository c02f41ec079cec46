// Runs against a real Evolution Data Server, under the private session bus and home that
// eds_calendar.sh gives it, where the EDS services can be activated but do not run. The calendar
// must not start them; the test does, and stops them again.
#include <libecal/libecal.h>

#include "core/session/BackgroundCalendar.h"
#include "platform/calendar/DesktopCalendar.h"
#include "platform/clock/BootClock.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDateTime>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <unistd.h>

using namespace velmor;

namespace {

QByteArray icalUtc(const QDateTime& t) {
    return t.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'")).toLatin1();
}

std::optional<bool> meetingAt(DesktopCalendar& calendar, const QDateTime& now) {
    const std::time_t t = now.toSecsSinceEpoch();
    const auto busy = calendar.busyBetween(t - 1, t + 1);
    return busy ? std::optional(!busy->empty()) : std::nullopt;
}

void createEvent(ECalClient* client, const QByteArray& lines) {
    static int count = 0;
    const QByteArray text = "BEGIN:VEVENT\r\nUID:velmor-test-" + QByteArray::number(++count) +
                            "\r\nDTSTAMP:20260101T000000Z\r\n" + lines + "END:VEVENT\r\n";
    ICalComponent* event = i_cal_component_new_from_string(text.constData());
    ASSERT_NE(event, nullptr);
    GError* error = nullptr;
    gchar* uid = nullptr;
    const gboolean created = e_cal_client_create_object_sync(
        client, event, E_CAL_OPERATION_FLAG_NONE, &uid, nullptr, &error);
    EXPECT_TRUE(created) << (error ? error->message : "");
    g_clear_error(&error);
    g_free(uid);
    g_object_unref(event);
}

bool nameHasOwner(const char* name) {
    return QDBusConnection::sessionBus().interface()->isServiceRegistered(name);
}

// Runs the event loop (where the bus names' changes arrive) until `done`, at most `tries`
// times 10 ms.
bool iterateUntil(const std::function<bool()>& done, int tries = 1000) {
    for (int i = 0; i < tries && !done(); ++i) {
        QCoreApplication::processEvents();
        g_usleep(10000);
    }
    return done();
}

// Stops every program our private bus started (the registry, the calendar factory and its
// backends), by the process ids the bus knows them by.
void stopBusServices() {
    QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
    for (const QString& name : bus->registeredServiceNames().value()) {
        const uint pid = bus->servicePid(name).value();
        if (name.startsWith(':') && pid > 1 && pid_t(pid) != getpid())
            kill(pid_t(pid), SIGTERM);
    }
}

} // namespace

TEST(EdsCalendar, UnreachableOrActivatableButNotRunningIsLeftAlone) {
    DesktopCalendar nowhere(
        QStringLiteral(VELMOR_EDS_MODULE),
        QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/bus"),
                                      QStringLiteral("nowhere")));
    EXPECT_FALSE(nowhere.servicesRunning());
    EXPECT_EQ(meetingAt(nowhere, QDateTime::currentDateTimeUtc()), std::nullopt);

    if (access("/usr/libexec/evolution-source-registry", X_OK) != 0)
        GTEST_SKIP() << "Evolution Data Server is not installed";
    const QStringList activatable =
        QDBusConnection::sessionBus().interface()->activatableServiceNames().value();
    ASSERT_TRUE(activatable.contains(DesktopCalendar::registryName));
    ASSERT_TRUE(activatable.contains(DesktopCalendar::factoryName));

    DesktopCalendar eds(QStringLiteral(VELMOR_EDS_MODULE));
    // The watch's first answer, and an activation if there were one, arrive meanwhile.
    iterateUntil([] { return false; }, 150);
    EXPECT_FALSE(eds.servicesRunning());
    EXPECT_EQ(meetingAt(eds, QDateTime::currentDateTimeUtc()), std::nullopt);
    eds.reconnect();
    EXPECT_EQ(meetingAt(eds, QDateTime::currentDateTimeUtc()), std::nullopt);
    EXPECT_FALSE(eds.moduleLoaded()); // nor were its libraries loaded
    iterateUntil([] { return false; }, 150);
    EXPECT_FALSE(nameHasOwner(DesktopCalendar::registryName));
    EXPECT_FALSE(nameHasOwner(DesktopCalendar::factoryName));
}

TEST(EdsCalendar, MeetingsOfTheLocalCalendarWhileEdsRuns) {
    if (access("/usr/libexec/evolution-source-registry", X_OK) != 0)
        GTEST_SKIP() << "Evolution Data Server is not installed";
    // Followed from before the services start; the second one as the program keeps it, read
    // ahead by itself when EDS comes and when its events change.
    DesktopCalendar eds(QStringLiteral(VELMOR_EDS_MODULE));
    BootClock clock;
    BackgroundCalendar ahead(clock,
                             std::make_unique<DesktopCalendar>(QStringLiteral(VELMOR_EDS_MODULE)));
    GError* error = nullptr;
    ESourceRegistry* registry = e_source_registry_new_sync(nullptr, &error);
    ASSERT_NE(registry, nullptr) << (error ? error->message : "");
    ESource* source = e_source_registry_ref_builtin_calendar(registry);
    ASSERT_NE(source, nullptr);
    EClient* client = e_cal_client_connect_sync(source, E_CAL_CLIENT_SOURCE_TYPE_EVENTS,
                                                guint32(-1), nullptr, &error);
    ASSERT_NE(client, nullptr) << (error ? error->message : "");
    auto* calendar = E_CAL_CLIENT(client);

    const QDateTime now = QDateTime::currentDateTimeUtc();
    const auto at = [&](int minutes) { return icalUtc(now.addSecs(minutes * 60)); };
    const QByteArray inTwoDays = now.addDays(2).toString(QStringLiteral("yyyyMMdd")).toLatin1();
    createEvent(calendar, "DTSTART:" + at(-30) + "\r\nDTEND:" + at(30) + "\r\n");
    createEvent(calendar,
                "DTSTART:" + at(120) + "\r\nDTEND:" + at(180) + "\r\nTRANSP:TRANSPARENT\r\n");
    createEvent(calendar, "DTSTART;VALUE=DATE:" + inTwoDays + "\r\n");
    // Weekly since last week, so today's instance comes from the recurrence rule.
    createEvent(calendar, "DTSTART:" + icalUtc(now.addDays(-7).addSecs(300 * 60)) +
                              "\r\nDURATION:PT1H\r\nRRULE:FREQ=WEEKLY\r\n");
    createEvent(calendar,
                "DTSTART:" + at(480) + "\r\nDTEND:" + at(540) + "\r\nSTATUS:CANCELLED\r\n");
    createEvent(calendar,
                "DTSTART:" + at(600) + "\r\nDTEND:" + at(660) + "\r\nSTATUS:TENTATIVE\r\n");

    ASSERT_TRUE(iterateUntil([&] { return eds.servicesRunning(); }));
    EXPECT_EQ(meetingAt(eds, now), true);
    EXPECT_TRUE(eds.moduleLoaded());
    EXPECT_EQ(meetingAt(eds, now.addSecs(150 * 60)), false); // free
    EXPECT_EQ(meetingAt(eds, now.addSecs(240 * 60)), false); // nothing
    EXPECT_EQ(meetingAt(eds, now.addSecs(330 * 60)), true);  // weekly
    EXPECT_EQ(meetingAt(eds, now.addSecs(510 * 60)), false); // cancelled
    EXPECT_EQ(meetingAt(eds, now.addSecs(630 * 60)), true);  // tentative
    // At least 36 h away from the timed events above.
    EXPECT_EQ(meetingAt(eds, QDateTime(now.addDays(2).date(), QTime(12, 0), Qt::UTC)), false);

    // Read ahead without being asked, and again when a meeting is added.
    using State = BackgroundCalendar::Answer::State;
    const auto stateIn = [&](int minutes) {
        return ahead.meetingAt(now.addSecs(minutes * 60)).state;
    };
    EXPECT_TRUE(iterateUntil([&] { return stateIn(0) == State::busy; }));
    EXPECT_EQ(ahead.meetingAt(now).until.toSecsSinceEpoch(),
              now.addSecs(30 * 60).toSecsSinceEpoch());
    EXPECT_EQ(stateIn(750), State::free);
    createEvent(calendar, "DTSTART:" + at(720) + "\r\nDTEND:" + at(780) + "\r\n");
    EXPECT_TRUE(iterateUntil([&] { return stateIn(750) == State::busy; }))
        << "the new meeting was not read";

    g_object_unref(client);
    g_object_unref(source);
    g_object_unref(registry);

    // The services leave: the calendar lets go of them and answers nothing.
    stopBusServices();
    ASSERT_TRUE(iterateUntil([&] { return !eds.servicesRunning(); }));
    EXPECT_EQ(meetingAt(eds, now), std::nullopt);
}

int main(int argc, char** argv) {
    // It stops every program on its bus when done: never on a desktop's own.
    if (!std::getenv("VELMOR_EDS_TEST_BUS")) {
        std::fprintf(stderr, "run through eds_calendar.sh, on a bus of its own\n");
        return 1;
    }
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    stopBusServices();
    return result;
}
