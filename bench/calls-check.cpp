// Times the in-call test as session control runs it at a scheduler fire: five .ics calendars
// of 500 events each and one hostile file, read ahead of time, Evolution Data Server if the
// environment runs it, the microphone through whatever sound server the environment offers,
// PipeWire's screen casts and the screen saver's inhibitors.
#include "core/session/BackgroundCalendar.h"
#include "core/session/CallDetectionService.h"
#include "platform/calendar/DesktopCalendar.h"
#include "platform/calendar/IcsCalendar.h"
#include "platform/clock/BootClock.h"
#include "platform/dbus/DBusInhibitorWatch.h"
#include "platform/microphone/MicrophoneChain.h"
#include "platform/screencast/PipeWireScreenCast.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

using namespace velmor;

namespace {

double millisecondsOf(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

QByteArray utc(const QDateTime& t) {
    return t.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'")).toLatin1();
}

// 500 events: 400 single meetings over the past and the next year, 100 weekly series that
// began one or two years ago (some in a named zone, some with exceptions and moved instances).
// None is under way now, so every check asks every source.
QByteArray calendarText(int seed, const QDateTime& now) {
    const QByteArray away =
        QByteArray::number((now.time().hour() + 12) % 24).rightJustified(2, '0');
    const QByteArray utcTime = "'T'" + away + "0000'Z'";
    const QByteArray berlinTime = "'T'" + away + "0000"; // one or two hours later than UTC
    QByteArray text = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Velmor bench//EN\r\n";
    const QDateTime base = now.addDays(-365).addSecs(3 * 3600);
    for (int i = 0; i < 400; ++i) {
        QDateTime start = base.addDays((i * 7 + seed) % 730).addSecs(3600 * (i % 3));
        if (qAbs(start.secsTo(now)) < 6 * 3600)
            start = start.addDays(1);
        text += "BEGIN:VEVENT\r\nUID:single-" + QByteArray::number(seed) + "-" +
                QByteArray::number(i) + "\r\nDTSTAMP:20260101T000000Z\r\nDTSTART:" + utc(start) +
                "\r\nDTEND:" + utc(start.addSecs(1800)) + "\r\nSUMMARY:Meeting\r\nEND:VEVENT\r\n";
    }
    for (int i = 0; i < 100; ++i) {
        // Series run twelve hours away from now (on this or another weekday), never over it.
        const QDateTime first = now.addDays(-365 - (i % 365) - 1 - (i % 6))
                                    .addSecs(-now.time().msecsSinceStartOfDay() / 1000);
        const QByteArray uid = "series-" + QByteArray::number(seed) + "-" + QByteArray::number(i);
        const bool zoned = i % 3 == 0;
        const QByteArray start =
            zoned
                ? "DTSTART;TZID=Europe/Berlin:" +
                      first.toString(QString::fromLatin1("yyyyMMdd" + berlinTime)).toLatin1()
                : "DTSTART:" + first.toString(QString::fromLatin1("yyyyMMdd" + utcTime)).toLatin1();
        text += "BEGIN:VEVENT\r\nUID:" + uid + "\r\nDTSTAMP:20260101T000000Z\r\n" + start +
                "\r\nDURATION:PT45M\r\nRRULE:FREQ=WEEKLY\r\n";
        if (!zoned && i % 4 == 1)
            text +=
                "EXDATE:" +
                first.addDays(14).toString(QString::fromLatin1("yyyyMMdd" + utcTime)).toLatin1() +
                "\r\n";
        text += "END:VEVENT\r\n";
        if (!zoned && i % 5 == 2)
            text +=
                "BEGIN:VEVENT\r\nUID:" + uid + "\r\nDTSTAMP:20260101T000000Z\r\nRECURRENCE-ID:" +
                first.addDays(7).toString(QString::fromLatin1("yyyyMMdd" + utcTime)).toLatin1() +
                "\r\nDTSTART:" +
                first.addDays(8).toString(QString::fromLatin1("yyyyMMdd" + utcTime)).toLatin1() +
                "\r\nDURATION:PT45M\r\nEND:VEVENT\r\n";
    }
    return text + "END:VCALENDAR\r\n";
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir folder;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    QStringList files;
    for (int i = 0; i < 5; ++i) {
        const QString path = folder.filePath(QStringLiteral("calendar-%1.ics").arg(i));
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly))
            return 1;
        out.write(calendarText(i, now));
        files << path;
    }

    // A calendar whose time zone libical would expand for ever, listed with the others.
    const QString hostilePath = folder.filePath(QStringLiteral("hostile.ics"));
    QFile hostile(hostilePath);
    if (!hostile.open(QIODevice::WriteOnly))
        return 1;
    hostile.write("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Velmor bench//EN\r\n"
                  "BEGIN:VTIMEZONE\r\nTZID:Hostile\r\nBEGIN:STANDARD\r\n"
                  "DTSTART:16010101T000000\r\nRRULE:FREQ=SECONDLY\r\nTZOFFSETFROM:+0100\r\n"
                  "TZOFFSETTO:+0100\r\nEND:STANDARD\r\nEND:VTIMEZONE\r\nBEGIN:VEVENT\r\n"
                  "UID:h\r\nDTSTAMP:20260101T000000Z\r\nDTSTART;TZID=Hostile:20200101T100000\r\n"
                  "DURATION:PT1H\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n");
    hostile.close();
    QStringList withHostile = files;
    withHostile << hostilePath;

    // Evolution Data Server's local calendar with 500 more events, where calls-check.sh gives
    // the bench a bus and a home of its own; started here, as a desktop would have it running.
    const QString edsFile = qEnvironmentVariable("VELMOR_BENCH_EDS_CALENDAR");
    if (!edsFile.isEmpty()) {
        QDir().mkpath(QFileInfo(edsFile).absolutePath());
        QFile eds(edsFile);
        if (!eds.open(QIODevice::WriteOnly))
            return 1;
        eds.write(calendarText(5, now));
        eds.close();
        for (const char* name : {DesktopCalendar::registryName, DesktopCalendar::factoryName})
            QDBusConnection::sessionBus().interface()->startService(QString::fromLatin1(name));
    }

    BootClock clock;
    auto ics = std::make_unique<IcsCalendar>([withHostile] { return withHostile; });
    IcsCalendar* icsCalendar = ics.get();
    CallDetectionService::Sources sources;
    sources.calendars.push_back(std::make_unique<BackgroundCalendar>(
        clock, std::make_unique<DesktopCalendar>(DesktopCalendar::defaultModulePath())));
    sources.calendars.push_back(std::make_unique<BackgroundCalendar>(clock, std::move(ics)));
    BackgroundCalendar* filesCalendar = sources.calendars.back().get();
    BackgroundCalendar* desktopCalendar = sources.calendars.front().get();
    sources.microphone = std::make_unique<MicrophoneChain>();
    sources.screenCast = std::make_unique<PipeWireScreenCast>();
    sources.fullScreen = std::make_unique<DBusInhibitorWatch>();
    const bool pulse = PulseMicrophone({}, 2000).query().has_value();
    CallDetectionService service(clock, std::move(sources));
    const CallDetector::Wanted wanted;
    using Outcome = CallDetector::Check::Outcome;

    // Right after the start: a lookup, which cannot know yet.
    CallDetector::Check check;
    const double first = millisecondsOf([&] { check = service.check(wanted); });
    const bool firstUnknown = check.outcome == Outcome::unknown;
    // What the session's bounded wait sees: the time until every source has answered.
    const double answered = millisecondsOf([&] {
        filesCalendar->waitUntilIdle();
        // EDS is seen on the bus by the event loop, then read.
        for (int i = 0; i < 1000 && !edsFile.isEmpty() && desktopCalendar->readings() < 2; ++i) {
            QCoreApplication::processEvents();
            QThread::msleep(10);
        }
        desktopCalendar->waitUntilIdle();
        for (int i = 0; i < 300 && service.check(wanted).outcome == Outcome::unknown; ++i) {
            QCoreApplication::processEvents();
            QThread::msleep(10);
        }
    });
    std::vector<double> times;
    bool inCall = false;
    for (int i = 0; i < 1000; ++i)
        times.push_back(millisecondsOf(
            [&] { inCall = service.check(wanted).outcome != Outcome::free || inCall; }));
    std::sort(times.begin(), times.end());

    std::printf("calendars: 5 .ics files x 500 events and one hostile file, EDS %s; "
                "microphone: %s\n",
                QDBusConnection::sessionBus().interface()->isServiceRegistered(
                    QString::fromLatin1(DesktopCalendar::factoryName))
                    ? "running with 500 events"
                    : "absent",
                pulse ? "PulseAudio server" : "no sound server (ALSA)");
    std::printf("first check, right after the start: %.3f ms, %s; every source answered %.0f ms "
                "later, files parsed: %d\n",
                first, firstUnknown ? "unknown (the overlay waits)" : "known", answered,
                icsCalendar->parseCount());
    std::printf("check at a due overlay: median %.4f ms, 99th percentile %.4f ms, worst %.4f ms "
                "(1000 runs), files parsed: %d\n",
                times[times.size() / 2], times[times.size() * 99 / 100], times.back(),
                icsCalendar->parseCount());
    std::printf("in call: %s\n", inCall ? "yes (unexpected)" : "no");
    return inCall ? 1 : 0;
}
