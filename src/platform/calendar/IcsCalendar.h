#pragma once

#include "core/session/CalendarSource.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <memory>

class QFileSystemWatcher;

namespace velmor {

class IcsEvents;

// What one calendar file may cost to read.
struct IcsBudget {
    qint64 maxBytes = 32 << 20;
    double seconds = 2.0;
};

// Meetings from the .ics files and vdir folders (a folder of .ics items, and the collections
// one level below it) that the user lists. A file is parsed again only when its modification
// time, size or inode changes, so a reading normally reads nothing but the file metadata. The
// files and their folders are watched (a file replaced by rename included): a change is told
// through changed().
//
// Only regular files are read, each within a budget of size and time; a file that exceeds it
// is skipped with one line, and not tried again until it changes. Reading takes up to the time
// budget per changed file: ask through a BackgroundCalendar.
class IcsCalendar final : public CalendarSource {
public:
    using Budget = IcsBudget;

    explicit IcsCalendar(std::function<QStringList()> listedPaths, Budget budget = {});
    ~IcsCalendar() override;

    // nullopt when no listed file could be read.
    std::optional<std::vector<BusySpan>> busyBetween(std::time_t from, std::time_t to) override;
    void reconnect() override;

    // Files parsed since construction: a check that hits the cache parses nothing.
    int parseCount() const { return parseCount_; }

private:
    struct CachedFile;
    QStringList calendarFiles();
    const IcsEvents* eventsOf(const QString& file);
    void watch(const QStringList& files);

    std::function<QStringList()> listedPaths_;
    Budget budget_;
    std::map<QString, std::unique_ptr<CachedFile>> cache_;
    QSet<QString> reportedMissing_;
    int parseCount_ = 0;
    // Lives on the thread that made the calendar; told what to watch through queued calls.
    QFileSystemWatcher* watcher_;
};

} // namespace velmor
