#include "platform/calendar/IcsCalendar.h"
#include "StateWorld.h"
#include "TestApp.h"
#include "core/session/BackgroundCalendar.h"
#include "platform/calendar/CalendarFiles.h"
#include "platform/clock/BootClock.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>

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

// 9:00-10:00 in New York on 11 December is 14:00-15:00 UTC, under a zone name of the file's own.
const QByteArray newYorkDefined =
    calendar("BEGIN:VTIMEZONE\nTZID:Eastern\n"
             "BEGIN:STANDARD\nDTSTART:19701101T020000\nRRULE:FREQ=YEARLY;BYMONTH=11;BYDAY=1SU\n"
             "TZOFFSETFROM:-0400\nTZOFFSETTO:-0500\nEND:STANDARD\n"
             "BEGIN:DAYLIGHT\nDTSTART:19700308T020000\nRRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=2SU\n"
             "TZOFFSETFROM:-0500\nTZOFFSETTO:-0400\nEND:DAYLIGHT\nEND:VTIMEZONE\n" +
             event("UID:ny2\nDTSTART;TZID=Eastern:20261211T090000\nDURATION:PT1H\n"));

std::optional<bool> meetingAt(IcsCalendar& calendar, const char* utc) {
    const std::time_t now =
        QDateTime::fromString(QString::fromLatin1(utc), Qt::ISODate).toSecsSinceEpoch();
    const auto busy = calendar.busyBetween(now - 1, now + 1);
    return busy ? std::optional(!busy->empty()) : std::nullopt;
}

struct Files {
    Files() { test::coreApplication(); }
    test::TestHome home;
    QStringList listed;
    IcsCalendar calendar{[this] { return listed; }, {1 << 20, 1.0}};

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

TEST(IcsCalendar, VdirFolderAndCacheFollowFileChanges) {
    Files f;
    f.write("vdir/personal/thursday.ics", thursday);
    const QString standupFile = f.write("vdir/personal/standup.ics", standup);
    f.listed << f.home.path() + "/vdir";
    EXPECT_EQ(meetingAt(f.calendar, "2026-12-10T12:00:00Z"), false); // all day
    EXPECT_EQ(meetingAt(f.calendar, "2026-12-10T13:30:00Z"), false); // free
    EXPECT_EQ(meetingAt(f.calendar, "2026-12-10T15:30:00Z"), true);  // tentative
    EXPECT_EQ(meetingAt(f.calendar, "2026-12-10T17:30:00Z"), false); // cancelled
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

// A zone whose rule changes every second since 1601, and a series stepping through every second
// since then: libical would expand either for ever.
const QByteArray hostile = calendar(
    "BEGIN:VTIMEZONE\nTZID:Hostile\nBEGIN:STANDARD\nDTSTART:16010101T000000\n"
    "RRULE:FREQ=SECONDLY\nTZOFFSETFROM:+0100\nTZOFFSETTO:+0100\nEND:STANDARD\n"
    "END:VTIMEZONE\n" +
    event("UID:h1\nDTSTART;TZID=Hostile:20261207T100000\nDTEND;TZID=Hostile:20261207T110000\n"));
const QByteArray everySecond = calendar(event(
    "UID:h2\nDTSTART:16010101T000000Z\nDURATION:PT1S\nRRULE:FREQ=SECONDLY;COUNT=2000000000\n"));

TEST(IcsCalendar, UnreadableAndHostileFilesAreSkippedOnceUntilTheyChange) {
    Files f;
    EXPECT_EQ(meetingAt(f.calendar, "2026-12-07T10:15:00Z"), std::nullopt); // nothing listed
    const QString zoneFile = f.write("zone.ics", hostile);
    f.listed << zoneFile << f.write("seconds.ics", everySecond)
             << f.write("big.ics", QByteArray(2 << 20, ' ')) << f.home.path() + "/missing.ics"
             << f.write("broken.ics", "not a calendar\n\x01");
    // Not regular files: they must neither block nor fill the memory.
    const QString fifo = f.home.path() + "/fifo.ics";
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link("/dev/zero", f.home.path() + "/zero.ics"));
    f.listed << fifo << f.home.path() + "/zero.ics";
    testing::internal::CaptureStdout();
    EXPECT_EQ(meetingAt(f.calendar, "2026-12-07T10:15:00Z"), std::nullopt); // none can answer

    f.write("vdir/cal/standup.ics", standup);
    ASSERT_EQ(mkfifo(QFile::encodeName(f.home.path() + "/vdir/cal/pipe.ics").constData(), 0600), 0);
    ASSERT_TRUE(QFile::link("/dev/zero", f.home.path() + "/vdir/cal/null.ics"));
    f.listed << f.home.path() + "/vdir";
    EXPECT_EQ(meetingAt(f.calendar, "2026-12-07T10:15:00Z"), true); // the good file still counts
    EXPECT_EQ(meetingAt(f.calendar, "2026-12-07T09:15:00Z"), false);
    const int parsed = f.calendar.parseCount();
    EXPECT_EQ(meetingAt(f.calendar, "2026-12-07T09:16:00Z"), false);
    EXPECT_EQ(f.calendar.parseCount(), parsed); // verdicts are kept
    const QStringList lines = QString::fromStdString(testing::internal::GetCapturedStdout())
                                  .split('\n', Qt::SkipEmptyParts);
    for (const char* name : {"zone.ics", "seconds.ics", "big.ics", "missing.ics", "broken.ics",
                             "fifo.ics", "zero.ics", "null.ics"})
        EXPECT_EQ(lines.filter(QString::fromLatin1(name)).size(), 1) << name;
    EXPECT_EQ(lines.size(), 8) << lines.join('|').toStdString();

    // Mended, the file is read again.
    f.write("zone.ics",
            calendar(event("UID:h1\nDTSTART:20261207T090000Z\nDTEND:20261207T093000Z\n")));
    EXPECT_EQ(meetingAt(f.calendar, "2026-12-07T09:15:00Z"), true);
}

// Files as Outlook, Google Calendar and Nextcloud export them, read in two local time zones.
TEST(IcsCalendar, RealProgramExportsInTwoLocalZones) {
    const QByteArray laZone =
        "BEGIN:VTIMEZONE\nTZID:America/Los_Angeles\nX-LIC-LOCATION:America/Los_Angeles\n"
        "BEGIN:DAYLIGHT\nTZOFFSETFROM:-0800\nTZOFFSETTO:-0700\nTZNAME:PDT\n"
        "DTSTART:19700308T020000\nRRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=2SU\nEND:DAYLIGHT\n"
        "BEGIN:STANDARD\nTZOFFSETFROM:-0700\nTZOFFSETTO:-0800\nTZNAME:PST\n"
        "DTSTART:19701101T020000\nRRULE:FREQ=YEARLY;BYMONTH=11;BYDAY=1SU\nEND:STANDARD\n"
        "END:VTIMEZONE\n";
    // Outlook: a Windows zone name and no VTIMEZONE; Mondays 9:00 Berlin, 8:00 UTC in winter.
    const QByteArray outlook =
        calendar("METHOD:PUBLISH\nX-WR-CALNAME:Calendar\n" +
                 event("UID:040000008200E00074C5B7101A82E00800000000\nSUMMARY:Weekly sync\n"
                       "DTSTART;TZID=W. Europe Standard Time:20261102T090000\n"
                       "DTEND;TZID=W. Europe Standard Time:20261102T093000\n"
                       "RRULE:FREQ=WEEKLY;BYDAY=MO;INTERVAL=1\nTRANSP:OPAQUE\n"
                       "X-MICROSOFT-CDO-BUSYSTATUS:BUSY\n"));
    // Google: Mondays 18:00 in Los Angeles, which is Tuesday 02:00 UTC.
    const QByteArray google = calendar(
        "CALSCALE:GREGORIAN\nMETHOD:PUBLISH\nX-WR-TIMEZONE:America/Los_Angeles\n" + laZone +
        event("UID:abc123@google.com\nDTSTART;TZID=America/Los_Angeles:20261102T180000\n"
              "DTEND;TZID=America/Los_Angeles:20261102T190000\nRRULE:FREQ=WEEKLY;BYDAY=MO\n"
              "STATUS:CONFIRMED\nTRANSP:OPAQUE\n"));
    // Nextcloud: daily 9:00 Berlin, from 9 December on moved to 14:00 by one override (its
    // VTIMEZONE left out: the Google file has one for its zone).
    const QByteArray nextcloud = calendar(
        "CALSCALE:GREGORIAN\n" +
        event("UID:nc-daily\nDTSTART;TZID=Europe/Berlin:20261201T090000\n"
              "DTEND;TZID=Europe/Berlin:20261201T094500\nRRULE:FREQ=DAILY\n") +
        event("UID:nc-daily\nRECURRENCE-ID;RANGE=THISANDFUTURE;TZID=Europe/Berlin:20261209T090000\n"
              "DTSTART;TZID=Europe/Berlin:20261209T140000\nDTEND;TZID=Europe/"
              "Berlin:20261209T150000\n"));
    // khal: floating Mondays 23:30 and daily 20:00 but 4 December, the user's own local time.
    const QByteArray floating = calendar(
        event("UID:late\nDTSTART:20261102T233000\nDURATION:PT20M\nRRULE:FREQ=WEEKLY;BYDAY=MO\n") +
        event("UID:f2\nDTSTART:20261201T200000\nDURATION:PT1H\nRRULE:FREQ=DAILY\n"
              "EXDATE:20261204T200000\n"));

    // The machine's own zone comes back however the test ends.
    const auto restoreZone = qScopeGuard([old = qgetenv("TZ")] {
        old.isNull() ? qunsetenv("TZ") : qputenv("TZ", old);
        tzset();
    });
    for (const char* zone : {"Asia/Tokyo", "America/Los_Angeles"}) {
        SCOPED_TRACE(zone);
        qputenv("TZ", zone); // the local time zone
        tzset();
        Files f;
        f.listed << f.write("outlook.ics", outlook) << f.write("google.ics", google)
                 << f.write("nextcloud.ics", nextcloud) << f.write("khal.ics", floating)
                 << f.write("ny.ics", newYorkDefined);
        EXPECT_EQ(meetingAt(f.calendar, "2026-12-07T08:15:00Z"), true);  // Outlook
        EXPECT_EQ(meetingAt(f.calendar, "2026-12-08T02:30:00Z"), true);  // Google, next UTC day
        EXPECT_EQ(meetingAt(f.calendar, "2026-12-07T02:30:00Z"), false); // not Sunday evening
        EXPECT_EQ(meetingAt(f.calendar, "2026-12-08T08:15:00Z"), true);  // Nextcloud, before
        EXPECT_EQ(meetingAt(f.calendar, "2026-12-09T08:15:00Z"), false); // moved away ...
        EXPECT_EQ(meetingAt(f.calendar, "2026-12-09T13:15:00Z"), true);  // ... to 14:00 Berlin
        EXPECT_EQ(meetingAt(f.calendar, "2026-12-11T13:15:00Z"), true);  // and so on after
        EXPECT_EQ(meetingAt(f.calendar, "2026-12-11T08:15:00Z"), false);
        EXPECT_EQ(meetingAt(f.calendar, "2026-12-11T14:30:00Z"), true); // New York, own zone
        EXPECT_EQ(meetingAt(f.calendar, "2026-12-11T09:30:00Z"), false);
        // Monday 23:30 local: Monday 14:30 UTC in Tokyo, Tuesday 07:30 UTC in Los Angeles.
        const bool tokyo = std::string(zone) == "Asia/Tokyo";
        EXPECT_EQ(meetingAt(f.calendar, "2026-12-07T14:40:00Z"), tokyo);
        EXPECT_EQ(meetingAt(f.calendar, "2026-12-08T07:40:00Z"), !tokyo);
        // 3 December 20:30 local, then the EXDATE on the 4th.
        EXPECT_EQ(meetingAt(f.calendar, tokyo ? "2026-12-03T11:30:00Z" : "2026-12-04T04:30:00Z"),
                  true);
        EXPECT_EQ(meetingAt(f.calendar, tokyo ? "2026-12-04T11:30:00Z" : "2026-12-05T04:30:00Z"),
                  false);
    }
}

// The setting holds a JSON array of paths; a malformed one lists nothing.
TEST(CalendarFiles, SettingIsAJsonArrayOfPaths) {
    test::StateWorld world;
    EXPECT_EQ(parseCalendarFiles(""), QStringList());
    EXPECT_EQ(parseCalendarFiles(R"(["/a/b.ics", "~/cal"])"),
              QStringList({"/a/b.ics", QDir::homePath() + "/cal"}));
    EXPECT_EQ(parseCalendarFiles(R"("/a/b.ics")"), std::nullopt);
    EXPECT_EQ(parseCalendarFiles(R"(["/a.ics", 3])"), std::nullopt);

    world.store.setValue("calendarFiles", R"(["/a.ics"])");
    EXPECT_EQ(listedCalendarFiles(world.store), QStringList{"/a.ics"});
    testing::internal::CaptureStdout();
    world.store.setValue("calendarFiles", "[not json");
    EXPECT_EQ(listedCalendarFiles(world.store), QStringList());
    EXPECT_EQ(listedCalendarFiles(world.store), QStringList());
    EXPECT_EQ(QString::fromStdString(testing::internal::GetCapturedStdout()).count('\n'), 1);
}

// Forms real programs write, each in a minimal file: when the meeting is (busy) and when it is
// not (free), as its author meant it.
TEST(IcsCalendar, FormsReadAsTheirAuthorsMeantThem) {
    struct Form {
        const char* name;
        QByteArray events;
        std::vector<const char*> busy;
        std::vector<const char*> free;
    };
    const Form forms[] = {
        {"extra date in a zone (DAVx5), one of them moved",
         event("UID:r\nDTSTART;TZID=Europe/Berlin:20261201T100000\nDURATION:PT1H\n"
               "RDATE;TZID=Europe/Berlin:20261207T150000,20261209T150000\n") +
             event("UID:r\nRECURRENCE-ID;TZID=Europe/Berlin:20261209T150000\n"
                   "DTSTART:20261210T080000Z\nDURATION:PT1H\n"),
         {"2026-12-07T14:30:00Z", "2026-12-10T08:30:00Z"},
         {"2026-12-07T15:30:00Z", "2026-12-09T14:30:00Z", "2026-12-09T15:30:00Z"}},
        {"extra dates as periods (khal, Lotus Notes)",
         event("UID:p\nDTSTART:20261201T100000Z\nDURATION:PT30M\n"
               "RDATE;VALUE=PERIOD:20261207T130000Z/20261207T150000Z,20261208T130000Z/PT2H\n"),
         {"2026-12-07T14:30:00Z", "2026-12-08T14:30:00Z"},
         {"2026-12-07T15:30:00Z", "2026-12-08T15:30:00Z"}},
        {"this-and-future invitation without its series",
         event("UID:f\nRECURRENCE-ID;RANGE=THISANDFUTURE:20261207T100000Z\n"
               "DTSTART:20261207T110000Z\nDTEND:20261207T120000Z\n") +
             event("UID:o\nRECURRENCE-ID:20261208T100000Z\nDTSTART:20261208T110000Z\n"
                   "DTEND:20261208T120000Z\n"),
         {"2026-12-07T11:30:00Z", "2026-12-08T11:30:00Z"},
         {"2026-12-07T10:30:00Z"}},
        {"DTEND beside DURATION:PT0S (Mozilla)",
         event("UID:m\nDTSTART:20261207T100000Z\nDTEND:20261207T110000Z\nDURATION:PT0S\n"),
         {"2026-12-07T10:30:00Z"},
         {"2026-12-07T11:30:00Z"}},
        {"DTEND before DTSTART (SabreDAV)",
         event("UID:s\nDTSTART:20261207T110000Z\nDTEND:20261207T100000Z\n"),
         {"2026-12-07T10:30:00Z"},
         {"2026-12-07T11:30:00Z"}},
        {"zone name with a vendor prefix and no VTIMEZONE",
         event("UID:z\nDTSTART;TZID=/mozilla.org/20070129_1/America/New_York:20261207T090000\n"
               "DURATION:PT1H\n"),
         {"2026-12-07T14:30:00Z"},
         {"2026-12-07T09:30:00Z"}},
        {"corrupt DURATION of billions of weeks",
         event("UID:d\nDTSTART:20261207T100000Z\nDURATION:P2000000000W\n"),
         {"2026-12-07T10:30:00Z"},
         {"2026-12-09T10:30:00Z", "2027-06-01T10:30:00Z"}},
    };
    for (const Form& form : forms) {
        SCOPED_TRACE(form.name);
        Files f;
        f.listed << f.write("form.ics", calendar(form.events));
        for (const char* at : form.busy)
            EXPECT_EQ(meetingAt(f.calendar, at), true) << at;
        for (const char* at : form.free)
            EXPECT_EQ(meetingAt(f.calendar, at), false) << at;
    }
}

namespace {

// A calendar as large as a busy work account's export, so its first reading takes a while;
// the one meeting under way now lasts until `until`.
QByteArray largeCalendar(const QDateTime& until) {
    QByteArray body;
    const QDateTime past = until.addDays(-400);
    for (int i = 0; i < 4000; ++i) {
        const QDateTime start = past.addSecs(qint64(i) * 5 * 3600);
        if (start > until.addDays(-2))
            break;
        body += event("UID:old-" + QByteArray::number(i) +
                      "\nDTSTART:" + start.toString("yyyyMMdd'T'HHmmss'Z'").toLatin1() +
                      "\nDURATION:PT30M\nSUMMARY:A meeting of the past\n");
    }
    body += event(
        "UID:now\nDTSTART:" + until.addSecs(-4 * 3600).toString("yyyyMMdd'T'HHmmss'Z'").toLatin1() +
        "\nDTEND:" + until.toString("yyyyMMdd'T'HHmmss'Z'").toLatin1() + "\n");
    return calendar(body);
}

// Runs the event loop (where file changes arrive) until `done`, without asking the calendar.
bool settles(const std::function<bool()>& done) {
    return QTest::qWaitFor(done, 20000);
}

} // namespace

// A large calendar holding a meeting now, read from the start, and again when a sync tool
// replaces it by renaming a new copy over it (the meeting made longer), each time before
// anyone asks. Before the first reading a check is unknown: never free.
TEST(IcsCalendar, ReadAheadAtStartAndWhenTheFileIsReplacedByRename) {
    Files f;
    BootClock clock;
    const QDateTime now =
        QDateTime::fromSecsSinceEpoch(clock.wallNow().toSecsSinceEpoch(), Qt::UTC);
    const QString path = f.write("work.ics", largeCalendar(now.addSecs(1800)));
    f.listed << path;
    BackgroundCalendar background(clock, std::make_unique<IcsCalendar>([&f] { return f.listed; }));
    using State = BackgroundCalendar::Answer::State;
    EXPECT_NE(background.meetingAt(now).state, State::free);
    const auto endsAt = [&](const QDateTime& until) {
        const auto answer = background.meetingAt(clock.wallNow());
        return answer.state == State::busy && answer.until == until;
    };
    EXPECT_TRUE(settles([&] { return endsAt(now.addSecs(1800)); }));

    f.write("work.ics.part", largeCalendar(now.addSecs(5400)));
    ASSERT_EQ(std::rename(QFile::encodeName(path + ".part").constData(),
                          QFile::encodeName(path).constData()),
              0);
    EXPECT_TRUE(settles([&] { return endsAt(now.addSecs(5400)); }))
        << "the replaced file was not read again";
}
