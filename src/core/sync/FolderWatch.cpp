#include "core/sync/FolderWatch.h"

#include <QFileInfo>
#include <QSet>
#include <QSocketNotifier>

#include <fcntl.h>
#include <unistd.h>

namespace velmor {

namespace {
// Reading the table to its end is what rearms the kernel's change notice.
void drain(int fd) {
    char buffer[4096];
    ::lseek(fd, 0, SEEK_SET);
    while (::read(fd, buffer, sizeof buffer) > 0) {
    }
}
} // namespace

FolderWatch::FolderWatch(QObject* parent) : QObject(parent) {
    settle_.setSingleShot(true);
    settle_.setInterval(settleMilliseconds);
    connect(&settle_, &QTimer::timeout, this, &FolderWatch::changed);
    // A burst is folded into one look, measured from its first event, so that a steady stream
    // of events cannot hold the look back.
    const auto somethingMoved = [this] {
        if (!settle_.isActive())
            settle_.start();
    };
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, somethingMoved);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, somethingMoved);
    poll_.setInterval(pollSeconds * 1000);
    connect(&poll_, &QTimer::timeout, this, &FolderWatch::changed);
    poll_.start();
    mountsFd_ = ::open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC);
    if (mountsFd_ >= 0) {
        drain(mountsFd_);
        // The kernel flags a change of the mount table as an exceptional condition (POLLPRI).
        mounts_ = new QSocketNotifier(mountsFd_, QSocketNotifier::Exception, this);
        connect(mounts_, &QSocketNotifier::activated, this, &FolderWatch::mountsChanged);
    }
}

FolderWatch::~FolderWatch() {
    delete mounts_;
    if (mountsFd_ >= 0)
        ::close(mountsFd_);
}

void FolderWatch::watch(const QStringList& paths) {
    QSet<QString> wanted;
    for (const QString& path : paths)
        if (QFileInfo::exists(path))
            wanted.insert(path);
    QStringList gone;
    for (const QString& path : watcher_.files() + watcher_.directories())
        if (!wanted.remove(path))
            gone << path;
    if (!gone.isEmpty())
        watcher_.removePaths(gone);
    if (!wanted.isEmpty())
        watcher_.addPaths(QStringList(wanted.begin(), wanted.end()));
}

void FolderWatch::mountsChanged() {
    drain(mountsFd_);
    // Watches set up before a mount still look at the folder it now covers.
    const QStringList all = watcher_.files() + watcher_.directories();
    if (!all.isEmpty())
        watcher_.removePaths(all);
    if (!settle_.isActive())
        settle_.start();
}

} // namespace velmor
