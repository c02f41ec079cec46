#include "core/sync/SyncFolder.h"

#include "core/base/Files.h"
#include "core/base/Log.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace velmor {

namespace {

const QString subfolder = QStringLiteral("Velmor");

QByteArray digest(const QByteArray& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1);
}

} // namespace

bool isConflictCopyName(const QString& fileName, const QString& baseName) {
    const QString extension = QStringLiteral(".json");
    if (!fileName.startsWith(baseName) || !fileName.endsWith(extension) ||
        fileName.size() <= baseName.size() + extension.size())
        return false;
    const QString middle =
        fileName.mid(baseName.size(), fileName.size() - baseName.size() - extension.size());
    if (middle.startsWith(QStringLiteral(".sync-conflict-")) ||
        middle.startsWith(QStringLiteral("_conflict-")))
        return true;
    return middle.startsWith(QStringLiteral(" (")) && middle.endsWith(QLatin1Char(')')) &&
           middle.contains(QStringLiteral("conflicted copy"), Qt::CaseInsensitive);
}

SyncFolder::SyncFolder(QString resolvedDir)
    : resolvedDir_(resolvedDir.isEmpty() ? velmorDataDir() + QStringLiteral("/resolved-conflicts")
                                         : std::move(resolvedDir)) {
    settle_.setSingleShot(true);
    settle_.setInterval(settleMilliseconds);
    connect(&settle_, &QTimer::timeout, this, &SyncFolder::scan);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &SyncFolder::somethingMoved);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &SyncFolder::somethingMoved);
}

bool SyncFolder::signIn(const QString& root) {
    const QString cleaned = QDir::cleanPath(root);
    const QFileInfo info(cleaned);
    const QString velmor = cleaned + QLatin1Char('/') + subfolder;
    QString problem;
    if (!info.isDir())
        problem = QStringLiteral("is missing");
    else if (!info.isWritable())
        problem = QStringLiteral("is not writable");
    else if (!QDir().mkpath(velmor))
        problem = QStringLiteral("has no room for a Velmor folder");
    if (!problem.isEmpty()) {
        logLine(QStringLiteral("Sync folder %1 %2; sync stays off").arg(cleaned, problem));
        signOut();
        return false;
    }
    if (root_ == cleaned)
        return true;
    signOut();
    root_ = cleaned;
    knownDigest_.clear();
    seenConflicts_.clear();
    watch();
    emit signedInChanged();
    return true;
}

void SyncFolder::signOut() {
    if (!root_)
        return;
    root_.reset();
    settle_.stop();
    if (!watcher_.files().isEmpty())
        watcher_.removePaths(watcher_.files());
    if (!watcher_.directories().isEmpty())
        watcher_.removePaths(watcher_.directories());
    emit signedInChanged();
}

QString SyncFolder::velmorDir() const {
    return root_ ? *root_ + QLatin1Char('/') + subfolder : QString();
}

QString SyncFolder::filePath(const QString& name) const {
    return root_ ? velmorDir() + QLatin1Char('/') + name : QString();
}

void SyncFolder::track(const QString& name) {
    if (!tracked_.contains(name))
        tracked_ << name;
    watch();
}

std::optional<QByteArray> SyncFolder::read(const QString& name, QString* error) {
    if (!root_)
        return std::nullopt;
    QFile file(filePath(name));
    if (!file.exists())
        return std::nullopt;
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return std::nullopt;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = file.errorString();
        return std::nullopt;
    }
    knownDigest_.insert(name, digest(bytes));
    return bytes;
}

bool SyncFolder::write(const QString& name, const QByteArray& bytes, QString* error) {
    if (!root_) {
        if (error)
            *error = QStringLiteral("no sync folder");
        return false;
    }
    if (!QFileInfo(*root_).isDir()) {
        if (error)
            *error = QStringLiteral("sync folder %1 is missing").arg(*root_);
        return false;
    }
    if (!writeFileAtomically(filePath(name), bytes, error))
        return false;
    knownDigest_.insert(name, digest(bytes));
    watch(); // the folder may have come back after it was gone
    return true;
}

QStringList SyncFolder::conflictCopies(const QString& name) const {
    if (!root_)
        return {};
    const QString base = QFileInfo(name).completeBaseName();
    QStringList copies;
    const QDir dir(velmorDir());
    for (const QString& entry : dir.entryList(QDir::Files | QDir::Hidden, QDir::Name))
        if (isConflictCopyName(entry, base))
            copies << dir.filePath(entry);
    return copies;
}

bool SyncFolder::moveAside(const QString& path, QString* error) {
    if (!QDir().mkpath(resolvedDir_)) {
        if (error)
            *error = QStringLiteral("cannot create folder ") + resolvedDir_;
        return false;
    }
    const QFileInfo info(path);
    QString target = resolvedDir_ + QLatin1Char('/') + info.fileName();
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = QStringLiteral("%1/%2-%3.%4")
                     .arg(resolvedDir_, info.completeBaseName(), QString::number(n), info.suffix());
    QFile file(path);
    // rename() copies and then removes when the two folders are on different drives.
    if (!file.rename(target)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

void SyncFolder::somethingMoved() {
    // Fold a burst into one look, measured from its first event, so a steady stream of events
    // cannot hold the look back.
    if (!settle_.isActive())
        settle_.start();
}

void SyncFolder::watch() {
    if (!root_)
        return;
    const QString dir = velmorDir();
    if (QFileInfo(dir).isDir() && !watcher_.directories().contains(dir))
        watcher_.addPath(dir);
    for (const QString& name : std::as_const(tracked_)) {
        const QString path = filePath(name);
        if (QFileInfo::exists(path) && !watcher_.files().contains(path))
            watcher_.addPath(path);
    }
}

void SyncFolder::scan() {
    if (!root_)
        return;
    watch(); // a file replaced by rename left the watch; take it back
    QSet<QString> conflictsNow;
    for (const QString& name : std::as_const(tracked_)) {
        bool report = false;
        QFile file(filePath(name));
        if (file.open(QIODevice::ReadOnly)) {
            const QByteArray now = digest(file.readAll());
            if (knownDigest_.value(name) != now) {
                knownDigest_.insert(name, now);
                report = true;
            }
        }
        for (const QString& copy : conflictCopies(name)) {
            conflictsNow.insert(copy);
            if (!seenConflicts_.contains(copy))
                report = true;
        }
        if (report)
            emit changed(name);
    }
    seenConflicts_ = conflictsNow;
}

} // namespace velmor
