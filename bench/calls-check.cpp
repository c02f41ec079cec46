// Times the in-call test as session control runs it at a scheduler fire: five .ics calendars
// of 500 events each (parsed once, then from the cache), Evolution Data Server absent, and
// the microphone through whatever sound server the environment offers.
#include "core/session/CallDetectionService.h"
#include "platform/calendar/EdsCalendar.h"
#include "platform/calendar/IcsCalendar.h"
#include "platform/clock/BootClock.h"
#include "platform/microphone/MicrophoneChain.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

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
        // Series run at night in UTC (or on another weekday), never over now.
        const QDateTime first = now.addDays(-365 - (i % 365) - 1 - (i % 6))
                                    .addSecs(-now.time().msecsSinceStartOfDay() / 1000);
        const QByteArray uid = "series-" + QByteArray::number(seed) + "-" + QByteArray::number(i);
        const bool zoned = i % 3 == 0;
        const QByteArray start =
            zoned ? "DTSTART;TZID=Europe/Berlin:" + first.toString("yyyyMMdd'T'020000").toLatin1()
                  : "DTSTART:" + first.toString("yyyyMMdd'T'010000'Z'").toLatin1();
        text += "BEGIN:VEVENT\r\nUID:" + uid + "\r\nDTSTAMP:20260101T000000Z\r\n" + start +
                "\r\nDURATION:PT45M\r\nRRULE:FREQ=WEEKLY\r\n";
        if (!zoned && i % 4 == 1)
            text +=
                "EXDATE:" + first.addDays(14).toString("yyyyMMdd'T'010000'Z'").toLatin1() + "\r\n";
        text += "END:VEVENT\r\n";
        if (!zoned && i % 5 == 2)
            text += "BEGIN:VEVENT\r\nUID:" + uid +
                    "\r\nDTSTAMP:20260101T000000Z\r\nRECURRENCE-ID:" +
                    first.addDays(7).toString("yyyyMMdd'T'010000'Z'").toLatin1() +
                    "\r\nDTSTART:" + first.addDays(8).toString("yyyyMMdd'T'010000'Z'").toLatin1() +
                    "\r\nDURATION:PT45M\r\nEND:VEVENT\r\n";
    }
    return text + "END:VCALENDAR\r\n";
}

} // namespace

int main() {
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

    auto ics = std::make_unique<IcsCalendar>([files] { return files; });
    IcsCalendar* icsCalendar = ics.get();
    std::vector<std::unique_ptr<CalendarSource>> calendars;
    calendars.push_back(std::make_unique<EdsCalendar>());
    calendars.push_back(std::move(ics));
    auto microphone = std::make_unique<MicrophoneChain>();
    const bool pulse = PulseMicrophone().query().has_value();
    BootClock clock;
    CallDetectionService service(clock, std::move(microphone), std::move(calendars));

    bool inCall = false;
    const double first = millisecondsOf([&] { inCall = service.isInCall(); });
    std::vector<double> cached;
    for (int i = 0; i < 50; ++i)
        cached.push_back(millisecondsOf([&] { inCall = service.isInCall() || inCall; }));
    std::sort(cached.begin(), cached.end());
    std::vector<double> calendarOnly;
    for (int i = 0; i < 50; ++i)
        calendarOnly.push_back(millisecondsOf([&] { inCall = service.hasMeetingNow() || inCall; }));
    std::sort(calendarOnly.begin(), calendarOnly.end());
    std::vector<double> micOnly;
    for (int i = 0; i < 50; ++i)
        micOnly.push_back(millisecondsOf([&] { inCall = service.isMicrophoneInUse() || inCall; }));
    std::sort(micOnly.begin(), micOnly.end());

    std::printf("calendars: 5 .ics files x 500 events, EDS absent; microphone: %s\n",
                pulse ? "PulseAudio server" : "no sound server (ALSA)");
    std::printf("first in-call test (parses the files): %.2f ms, files parsed: %d\n", first,
                icsCalendar->parseCount());
    std::printf("cached in-call test: median %.2f ms, worst %.2f ms (50 runs), files parsed: %d\n",
                cached[cached.size() / 2], cached.back(), icsCalendar->parseCount());
    std::printf("  of which calendars: median %.2f ms; microphone: median %.2f ms\n",
                calendarOnly[calendarOnly.size() / 2], micOnly[micOnly.size() / 2]);
    std::printf("in call: %s\n", inCall ? "yes (unexpected)" : "no");
    return inCall ? 1 : 0;
}
