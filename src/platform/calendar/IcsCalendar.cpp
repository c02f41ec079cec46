#include "platform/calendar/IcsCalendar.h"

#include "core/base/Log.h"
#include "platform/calendar/IcsEvents.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace velmor {

namespace {

struct Stamp {
    qint64 mtimeNs = -1;
    qint64 size = -1;
    quint64 inode = 0;
    bool operator==(const Stamp&) const = default;
};

std::optional<Stamp> stampOf(const QString& path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    return Stamp{qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec,
                 qint64(info.st_size), quint64(info.st_ino)};
}

QStringList icsFilesIn(const QDir& dir) {
    QStringList files;
    for (const QString& name :
         dir.entryList({QStringLiteral("*.ics")}, QDir::Files | QDir::Readable, QDir::Name))
        files << dir.filePath(name);
    return files;
}

} // namespace

struct IcsCalendar::CachedFile {
    Stamp stamp;
    std::optional<IcsEvents> events; // absent when the file did not parse
};

IcsCalendar::IcsCalendar(std::function<QStringList()> listedPaths)
    : listedPaths_(std::move(listedPaths)) {}

IcsCalendar::~IcsCalendar() = default;

void IcsCalendar::reconnect() {
    cache_.clear();
    reportedMissing_.clear();
}

QStringList IcsCalendar::calendarFiles() {
    QStringList files;
    for (const QString& path : listedPaths_()) {
        const QFileInfo info(path);
        if (info.isDir()) {
            const QDir dir(path);
            files << icsFilesIn(dir);
            for (const QString& sub : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
                files << icsFilesIn(QDir(dir.filePath(sub)));
        } else if (info.exists()) {
            files << path;
        } else if (!reportedMissing_.contains(path)) {
            logLine(QStringLiteral("Calendar file not found: ") + path);
            reportedMissing_.insert(path);
        }
    }
    return files;
}

const IcsEvents* IcsCalendar::eventsOf(const QString& file) {
    const auto stamp = stampOf(file);
    if (!stamp) {
        cache_.erase(file);
        return nullptr;
    }
    auto& cached = cache_[file];
    if (!cached || !(cached->stamp == *stamp)) {
        cached = std::make_unique<CachedFile>();
        cached->stamp = *stamp;
        QFile in(file);
        if (in.open(QIODevice::ReadOnly))
            cached->events = IcsEvents::parse(in.readAll());
        ++parseCount_;
        if (!cached->events)
            logLine(QStringLiteral("Calendar file could not be read: ") + file);
    }
    return cached->events ? &*cached->events : nullptr;
}

std::optional<bool> IcsCalendar::hasMeetingBetween(const QDateTime& from, const QDateTime& to) {
    const QStringList files = calendarFiles();
    // Files no longer listed leave the cache.
    const QSet<QString> listed(files.begin(), files.end());
    for (auto it = cache_.begin(); it != cache_.end();)
        it = listed.contains(it->first) ? std::next(it) : cache_.erase(it);

    bool answered = false;
    for (const QString& file : files) {
        const IcsEvents* events = eventsOf(file);
        if (!events)
            continue;
        answered = true;
        if (events->hasMeetingBetween(from.toSecsSinceEpoch(), to.toSecsSinceEpoch()))
            return true;
    }
    return answered ? std::optional<bool>(false) : std::nullopt;
}

} // namespace velmor
