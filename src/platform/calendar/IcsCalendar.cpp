#include "platform/calendar/IcsCalendar.h"

#include "core/base/Log.h"
#include "platform/calendar/IcsEvents.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

enum class Read { ok, unreadable, notRegular, tooLarge };

// Only regular files, and no more than `maxBytes`: a FIFO or a link to /dev/zero in the list
// must neither block nor fill the memory.
Read readRegularFile(const QString& path, qint64 maxBytes, QByteArray& text) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno == ENXIO ? Read::notRegular : Read::unreadable; // ENXIO: a FIFO, no writer
    struct stat info {};
    Read result = Read::ok;
    if (::fstat(fd, &info) != 0)
        result = Read::unreadable;
    else if (!S_ISREG(info.st_mode))
        result = Read::notRegular;
    else if (info.st_size > maxBytes)
        result = Read::tooLarge;
    if (result == Read::ok) {
        // One more byte than allowed tells a file that grew meanwhile.
        text.resize(qsizetype(std::min<qint64>(info.st_size, maxBytes) + 1));
        qsizetype filled = 0;
        while (filled < text.size()) {
            const ssize_t got = ::read(fd, text.data() + filled, size_t(text.size() - filled));
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                break;
            filled += got;
        }
        if (filled > maxBytes)
            result = Read::tooLarge;
        text.truncate(filled);
    }
    ::close(fd);
    return result;
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

IcsCalendar::IcsCalendar(std::function<QStringList()> listedPaths, Budget budget)
    : listedPaths_(std::move(listedPaths)), budget_(budget), watcher_(new QFileSystemWatcher) {}

IcsCalendar::~IcsCalendar() {
    watcher_->deleteLater(); // on its own thread
}

// The files, the folders they sit in (a sync tool replaces a file by renaming another over it)
// and the listed folders with their collections (items come and go).
void IcsCalendar::watch(const QStringList& files) {
    QStringList wanted;
    for (const QString& path : listedPaths_()) {
        const QFileInfo info(path);
        if (info.isDir()) {
            wanted << path;
            const QDir dir(path);
            for (const QString& sub : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
                wanted << dir.filePath(sub);
        } else {
            wanted << info.absolutePath();
        }
    }
    wanted << files;
    wanted.removeDuplicates();
    // Sent every time: the watcher drops a file that was replaced, and takes it up again here.
    QMetaObject::invokeMethod(
        watcher_,
        [watcher = watcher_, wanted, notify = changeNotifier()] {
            if (watcher->property("velmorConnected").isNull()) {
                watcher->setProperty("velmorConnected", true);
                QObject::connect(watcher, &QFileSystemWatcher::fileChanged, watcher, notify);
                QObject::connect(watcher, &QFileSystemWatcher::directoryChanged, watcher, notify);
            }
            const QStringList old = watcher->files() + watcher->directories();
            QStringList gone;
            for (const QString& path : old)
                if (!wanted.contains(path))
                    gone << path;
            if (!gone.isEmpty())
                watcher->removePaths(gone);
            QStringList added;
            for (const QString& path : wanted)
                if (!old.contains(path) && QFileInfo::exists(path))
                    added << path;
            if (!added.isEmpty())
                watcher->addPaths(added);
        },
        Qt::QueuedConnection);
}

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
        // The verdict, good or bad, holds until the file changes.
        cached = std::make_unique<CachedFile>();
        cached->stamp = *stamp;
        ++parseCount_;
        const auto deadline = std::chrono::steady_clock::now() +
                              std::chrono::milliseconds(qint64(budget_.seconds * 1000));
        QByteArray text;
        IcsEvents::Failure failure = IcsEvents::Failure::notCalendar;
        switch (readRegularFile(file, budget_.maxBytes, text)) {
        case Read::ok:
            cached->events = IcsEvents::parse(text, deadline, &failure);
            break;
        case Read::notRegular:
            logLine(QStringLiteral("Calendar file skipped, not a regular file: ") + file);
            return nullptr;
        case Read::tooLarge:
            logLine(QStringLiteral("Calendar file skipped, larger than %1 MB: %2")
                        .arg(budget_.maxBytes >> 20)
                        .arg(file));
            return nullptr;
        case Read::unreadable:
            break;
        }
        if (!cached->events && failure == IcsEvents::Failure::overBudget)
            logLine(QStringLiteral("Calendar file skipped, too slow to read: ") + file);
        else if (!cached->events)
            logLine(QStringLiteral("Calendar file could not be read: ") + file);
    }
    return cached->events ? &*cached->events : nullptr;
}

std::optional<std::vector<BusySpan>> IcsCalendar::busyBetween(std::time_t from, std::time_t to) {
    const QStringList files = calendarFiles();
    // Files no longer listed leave the cache.
    const QSet<QString> listed(files.begin(), files.end());
    for (auto it = cache_.begin(); it != cache_.end();)
        it = listed.contains(it->first) ? std::next(it) : cache_.erase(it);

    bool answered = false;
    std::vector<BusySpan> busy;
    for (const QString& file : files) {
        if (const IcsEvents* events = eventsOf(file)) {
            answered = true;
            events->busyBetween(from, to, busy);
        }
    }
    watch(files);
    return answered ? std::optional(std::move(busy)) : std::nullopt;
}

} // namespace velmor
