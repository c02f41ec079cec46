#include "platform/calendar/IcsCalendar.h"
#include "VirtualClock.h"
#include "core/session/CallDetectionService.h"
#include "core/settings/SettingsStore.h"
#include "platform/calendar/CalendarFiles.h"

#include "TestHome.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace velmor;

namespace {

QByteArray calendar(const QByteArray& body) {
    QByteArray text = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Velmor tests//EN\r\n" + body +
                      "END:VCALENDAR\r\n";
    return text.replace("\n", "\r\n").replace("\r\r\n", "\r\n");
}

QByteArray event(const QByteArray& lines) {
    return "BEGIN:VEVENT\nDTSTAMP:20260101T000000Z\n" + lines + "END:VEVENT\n";
}

// Mondays 11:00-11:45 Berlin time (10:00 UTC in winter), named by TZID without a VTIMEZONE.
// The 14 December meeting is cancelled by EXDATE, the 21st is moved to Tuesday 15:00 UTC, the
// 28th is cancelled by its override, and the 30 November one is moved to Wednesday 9 December.
const QByteArray standup = calendar(
    event("UID:standup\nSUMMARY:Standup\nDTSTART;TZID=Europe/Berlin:20260105T110000\n"
          "DTEND;TZID=Europe/Berlin:20260105T114500\nRRULE:FREQ=WEEKLY;BYDAY=MO\n"
          "EXDATE;TZID=Europe/Berlin:20261214T110000\n") +
    event("UID:standup\nRECURRENCE-ID;TZID=Europe/Berlin:20261221T110000\n"
          "DTSTART:20261222T150000Z\nDTEND:20261222T154500Z\n") +
    event("UID:standup\nRECURRENCE-ID;TZID=Europe/Berlin:20261228T110000\n"
          "DTSTART;TZID=Europe/Berlin:20261228T110000\nDTEND;TZID=Europe/Berlin:20261228T114500\n"
          "STATUS:CANCELLED\n") +
    event("UID:standup\nRECURRENCE-ID;TZID=Europe/Berlin:20261130T110000\n"
          "DTSTART:20261209T130000Z\nDTEND:20261209T134500Z\n"));

// Thursday 10 December: only the tentative one is a meeting.
const QByteArray thursday = calendar(
    event("UID:holiday\nDTSTART;VALUE=DATE:20261210\nDTEND;VALUE=DATE:20261211\n") +
    event("UID:focus\nDTSTART:20261210T130000Z\nDTEND:20261210T140000Z\nTRANSP:TRANSPARENT\n") +
    event("UID:maybe\nDTSTART:20261210T150000Z\nDTEND:20261210T160000Z\nSTATUS:TENTATIVE\n") +
    event("UID:off\nDTSTART:20261210T170000Z\nDTEND:20261210T180000Z\nSTATUS:CANCELLED\n"));

// 9:00-10:00 in New York on 8 December is 14:00-15:00 UTC; once with its own VTIMEZONE.
const QByteArray newYorkZone = "BEGIN:VTIMEZONE\nTZID:Eastern\n"
                               "BEGIN:STANDARD\nDTSTART:19701101T020000\n"
                               "RRULE:FREQ=YEARLY;BYMONTH=11;BYDAY=1SU\n"
                               "TZOFFSETFROM:-0400\nTZOFFSETTO:-0500\nEND:STANDARD\n"
                               "BEGIN:DAYLIGHT\nDTSTART:19700308T020000\n"
                               "RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=2SU\n"
                               "TZOFFSETFROM:-0500\nTZOFFSETTO:-0400\nEND:DAYLIGHT\n"
                               "END:VTIMEZONE\n";
const QByteArray newYorkBuiltin =
    calendar(event("UID:ny1\nDTSTART;TZID=America/New_York:20261208T090000\n"
                   "DTEND;TZID=America/New_York:20261208T100000\n"));
const QByteArray newYorkDefined =
    calendar(newYorkZone + event("UID:ny2\nDTSTART;TZID=Eastern:20261211T090000\n"
                                 "DURATION:PT1H\n"));

std::optional<bool> meetingAt(IcsCalendar& calendar, const char* utc) {
    const QDateTime now = QDateTime::fromString(QString::fromLatin1(utc), Qt::ISODate);
    return calendar.hasMeetingBetween(now.addSecs(-1), now.addSecs(1));
}

struct Files {
    test::TestHome home;
    QStringList listed;
    IcsCalendar calendar{[this] { return listed; }};

    QString write(const QString& name, const QByteArray& text) {
        const QString path = home.path() + "/" + name;
        test::writeFile(path, text);
        return path;
    }
};

} // namespace

TEST(IcsCalendar, WeeklyMeetingWithExceptionsAndMovedInstances) {
    Files f;
    f.listed << f.write("work.ics", standup);
    EXPECT_EQ(meetingAt(f.calendar, "2026-12-07T10:15:00Z"), true);
    EXPECT_EQ(meetingAt(f.calendar, "2026-12-07T11:00:00Z"), false); // after it ended
    EXPECT_EQ(meetingAt(f.calendar, "2026-12-14T10:15:00Z"), false); // EXDATE
    EXPECT_EQ(meetingAt(f.calendar, "2026-12-21T10:15:00Z"), false); // moved away
    EXPECT_EQ(meetingAt(f.calendar, "2026-12-22T15:15:00Z"), true);  // ... to here
    EXPECT_EQ(meetingAt(f.calendar, "2026-12-28T10:15:00Z"), false); // override cancels it
    EXPECT_EQ(meetingAt(f.calendar, "2026-11-30T10:15:00Z"), false); // moved away
    EXPECT_EQ(meetingAt(f.calendar, "2026-12-09T13:15:00Z"), true);  // ... onto now
    EXPECT_EQ(meetingAt(f.calendar, "2026-07-06T09:15:00Z"), true);  // summer time: 09:00 UTC
    EXPECT_EQ(meetingAt(f.calendar, "2026-07-06T10:15:00Z"), false);
    EXPECT_EQ(meetingAt(f.calendar, "2025-12-29T10:15:00Z"), false); // before the series
}

TEST(IcsCalendar, AllDayFreeAndCancelledEventsDoNotCountTentativeDoes) {
    Files f;
    f.listed << f.write("thursday.ics", thursday);
    EXPECT_EQ(meetingAt(f.calendar, "2026-12-10T12:00:00Z"), false);
    EXPECT_EQ(meetingAt(f.calendar, "2026-12-10T13:30:00Z"), false);
    EXPECT_EQ(meetingAt(f.calendar, "2026-12-10T15:30:00Z"), true);
    EXPECT_EQ(meetingAt(f.calendar, "2026-12-10T17:30:00Z"), false);
}

TEST(IcsCalendar, TimeZonesByNameAndByDefinition) {
    Files f;
    f.listed << f.write("ny.ics", newYorkBuiltin) << f.write("ny2.ics", newYorkDefined);
    EXPECT_EQ(meetingAt(f.calendar, "2026-12-08T14:30:00Z"), true);
    EXPECT_EQ(meetingAt(f.calendar, "2026-12-08T09:30:00Z"), false);
    EXPECT_EQ(meetingAt(f.calendar, "2026-12-11T14:30:00Z"), true);
    EXPECT_EQ(meetingAt(f.calendar, "2026-12-11T09:30:00Z"), false);
}

TEST(IcsCalendar, FloatingTimesAreTheUsersLocalTime) {
    const QByteArray oldTz = qgetenv("TZ");
    qputenv("TZ", "Asia/Tokyo"); // UTC+9, no summer time
    tzset();
    Files f;
    f.listed << f.write("floating.ics",
                        calendar(event("UID:f1\nDTSTART:20261208T090000\nDTEND:20261208T100000\n") +
                                 event("UID:f2\nDTSTART:20261201T200000\nDURATION:PT1H\n"
                                       "RRULE:FREQ=DAILY\nEXDATE:20261204T200000\n")));
    EXPECT_EQ(meetingAt(f.calendar, "2026-12-08T00:30:00Z"), true);
    EXPECT_EQ(meetingAt(f.calendar, "2026-12-08T09:30:00Z"), false);
    EXPECT_EQ(meetingAt(f.calendar, "2026-12-03T11:30:00Z"), true);
    EXPECT_EQ(meetingAt(f.calendar, "2026-12-03T20:30:00Z"), false);
    EXPECT_EQ(meetingAt(f.calendar, "2026-12-04T11:30:00Z"), false); // EXDATE
    if (oldTz.isNull())
        qunsetenv("TZ");
    else
        qputenv("TZ", oldTz);
    tzset();
}

TEST(IcsCalendar, VdirFolderAndCacheFollowFileChanges) {
    Files f;
    f.write("vdir/personal/thursday.ics", thursday);
    const QString standupFile = f.write("vdir/personal/standup.ics", standup);
    f.listed << f.home.path() + "/vdir";
    EXPECT_EQ(meetingAt(f.calendar, "2026-12-10T15:30:00Z"), true);
    EXPECT_EQ(meetingAt(f.calendar, "2026-12-07T10:15:00Z"), true);
    EXPECT_EQ(f.calendar.parseCount(), 2);
    EXPECT_EQ(meetingAt(f.calendar, "2026-12-07T10:16:00Z"), true);
    EXPECT_EQ(f.calendar.parseCount(), 2); // unchanged files are not read again

    // The standup is removed from the item (same size would not fool the cache: inode, mtime).
    f.write("vdir/personal/standup.ics", calendar(event("UID:other\nDTSTART:20200101T100000Z\n"
                                                        "DTEND:20200101T110000Z\n")));
    EXPECT_EQ(meetingAt(f.calendar, "2026-12-07T10:15:00Z"), false);
    EXPECT_EQ(f.calendar.parseCount(), 3);
    QFile::remove(standupFile);
    EXPECT_EQ(meetingAt(f.calendar, "2026-12-10T15:30:00Z"), true);
}

TEST(IcsCalendar, UnreadableFilesAnswerNothingAndDoNotHideGoodOnes) {
    Files f;
    EXPECT_EQ(meetingAt(f.calendar, "2026-12-07T10:15:00Z"), std::nullopt); // nothing listed
    f.listed << f.home.path() + "/missing.ics" << f.write("broken.ics", "not a calendar\n\x01");
    EXPECT_EQ(meetingAt(f.calendar, "2026-12-07T10:15:00Z"), std::nullopt);
    f.listed << f.write("work.ics", standup);
    EXPECT_EQ(meetingAt(f.calendar, "2026-12-07T10:15:00Z"), true);
}

TEST(CalendarFiles, SettingIsAJsonArrayOfPaths) {
    test::TestHome home;
    EXPECT_EQ(parseCalendarFiles(""), QStringList());
    EXPECT_EQ(parseCalendarFiles(R"(["/a/b.ics", "~/cal"])"),
              QStringList({"/a/b.ics", QDir::homePath() + "/cal"}));
    EXPECT_EQ(parseCalendarFiles(R"("/a/b.ics")"), std::nullopt);
    EXPECT_EQ(parseCalendarFiles(R"(["/a.ics", 3])"), std::nullopt);
    EXPECT_EQ(parseCalendarFiles("[not json"), std::nullopt);
}

// The service reads its .ics files from the settings and asks about the clock's now.
TEST(CallDetectionService, ServiceReadsListedCalendarFiles) {
    test::TestHome home;
    test::VirtualClock clock; // 5 December 2026, 09:00 UTC
    SettingsStore settings(QString(), clock);
    const QString file = home.path() + "/meetings.ics";
    test::writeFile(file, "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//t//EN\r\n"
                          "BEGIN:VEVENT\r\nUID:a\r\nDTSTAMP:20260101T000000Z\r\n"
                          "DTSTART:20261205T083000Z\r\nDTEND:20261205T093000Z\r\n"
                          "END:VEVENT\r\nEND:VCALENDAR\r\n");
    std::vector<std::unique_ptr<CalendarSource>> calendars;
    calendars.push_back(
        std::make_unique<IcsCalendar>([&settings] { return listedCalendarFiles(settings); }));
    auto service = std::make_unique<CallDetectionService>(clock, nullptr, std::move(calendars));
    EXPECT_FALSE(service->hasMeetingNow());
    EXPECT_FALSE(service->requestCalendarAccess());

    settings.setValue("calendarFiles", QString("[\"%1\"]").arg(file));
    EXPECT_TRUE(service->hasMeetingNow());
    EXPECT_TRUE(service->requestCalendarAccess());
    clock.advance(3600);
    EXPECT_FALSE(service->hasMeetingNow());
}
