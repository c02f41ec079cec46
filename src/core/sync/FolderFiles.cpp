#include "core/sync/FolderFiles.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmor {

namespace {

QByteArray native(const QString& name) {
    return QFile::encodeName(name);
}

QString errnoText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

bool fail(QString* error, const QString& why) {
    if (error)
        *error = why;
    return false;
}

FileSignature signatureFrom(const struct stat& st) {
    FileSignature s;
    s.exists = true;
    s.regular = S_ISREG(st.st_mode);
    s.device = st.st_dev;
    s.inode = st.st_ino;
    s.size = st.st_size;
    s.modified = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    s.changed = qint64(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    return s;
}

bool writeAll(int fd, const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

// "<name>.<random>.velmor-tmp", hidden so that sync programs that skip hidden files leave it.
QString tempName(const QString& name) {
    return QStringLiteral(".%1.%2.velmor-tmp")
        .arg(name)
        .arg(QRandomGenerator::global()->generate64(), 16, 16, QLatin1Char('0'));
}

// Writes `bytes` to a fresh temporary file in `dirFd`, synced; returns its name, or empty.
QString writeTemp(int dirFd, const QString& name, const QByteArray& bytes, QString* error) {
    const QString temp = tempName(name);
    const int fd = ::openat(dirFd, native(temp).constData(),
                            O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) {
        fail(error, errnoText(errno));
        return {};
    }
    const bool ok = writeAll(fd, bytes) && ::fsync(fd) == 0;
    const int writeError = errno;
    ::close(fd);
    if (!ok) {
        ::unlinkat(dirFd, native(temp).constData(), 0);
        fail(error, errnoText(writeError));
        return {};
    }
    return temp;
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

FolderHandle::~FolderHandle() {
    if (fd_ >= 0)
        ::close(fd_);
}

FolderHandle& FolderHandle::operator=(FolderHandle&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

FolderHandle FolderHandle::open(const QString& path, QString* error) {
    const int fd = ::open(native(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        fail(error, errnoText(errno));
    return FolderHandle(fd);
}

FolderHandle FolderHandle::sub(const QString& name, bool* missing, QString* error) const {
    const int fd =
        ::openat(fd_, native(name).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (missing)
        *missing = fd < 0 && errno == ENOENT;
    if (fd < 0)
        fail(error, errno == ELOOP || errno == ENOTDIR ? QStringLiteral("not a folder")
                                                       : errnoText(errno));
    return FolderHandle(fd);
}

bool FolderHandle::makeSub(const QString& name, QString* error) const {
    if (::mkdirat(fd_, native(name).constData(), 0755) == 0 || errno == EEXIST)
        return true;
    return fail(error, errnoText(errno));
}

QStringList FolderHandle::names() const {
    QStringList names;
    const int copy = ::dup(fd_);
    if (copy < 0)
        return names;
    DIR* dir = ::fdopendir(copy);
    if (!dir) {
        ::close(copy);
        return names;
    }
    ::rewinddir(dir);
    while (const dirent* entry = ::readdir(dir)) {
        const QString name = QFile::decodeName(entry->d_name);
        if (name != QLatin1String(".") && name != QLatin1String(".."))
            names << name;
    }
    ::closedir(dir);
    return names;
}

bool FolderHandle::remove(const QString& name) const {
    return ::unlinkat(fd_, native(name).constData(), 0) == 0;
}

FileSignature signatureOf(const FolderHandle& folder, const QString& name) {
    struct stat st {};
    if (::fstatat(folder.fd(), native(name).constData(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return {};
    return signatureFrom(st);
}

FolderRead readInFolder(const FolderHandle& folder, const QString& name, qint64 maxBytes) {
    FolderRead result;
    // O_NONBLOCK: opening a pipe for reading must not wait for a writer.
    const int fd = ::openat(folder.fd(), native(name).constData(),
                            O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        const int error = errno;
        result.status = error == ENOENT  ? FolderRead::missing
                        : error == ELOOP ? FolderRead::notRegular
                                         : FolderRead::failed;
        result.error = error == ELOOP ? QStringLiteral("a link") : errnoText(error);
        return result;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        result.status = FolderRead::failed;
        result.error = errnoText(errno);
    } else if (!S_ISREG(st.st_mode)) {
        result.status = FolderRead::notRegular;
        result.error = QStringLiteral("not a regular file");
    } else if (st.st_size > maxBytes) {
        result.status = FolderRead::tooLarge;
        result.error = QStringLiteral("larger than %1 bytes").arg(maxBytes);
    } else {
        result.signature = signatureFrom(st);
        result.bytes.resize(qsizetype(st.st_size));
        qsizetype done = 0;
        // A file that grows while it is read is read up to the cap and no further.
        while (done <= maxBytes) {
            if (done == result.bytes.size())
                result.bytes.resize(std::min<qsizetype>(done * 2 + 4096, maxBytes + 1));
            const ssize_t n =
                ::read(fd, result.bytes.data() + done, size_t(result.bytes.size() - done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0) {
                result.status = FolderRead::failed;
                result.error = errnoText(errno);
                break;
            }
            if (n == 0) {
                result.status = FolderRead::read;
                break;
            }
            done += n;
        }
        result.bytes.resize(done);
        if (done > maxBytes) {
            result.status = FolderRead::tooLarge;
            result.error = QStringLiteral("larger than %1 bytes").arg(maxBytes);
        }
        if (result.status != FolderRead::read)
            result.bytes.clear();
    }
    ::close(fd);
    return result;
}

bool writeInFolder(const FolderHandle& folder, const QString& name, const QByteArray& bytes,
                   QString* error, FileSignature* written) {
    const QString temp = writeTemp(folder.fd(), name, bytes, error);
    if (temp.isEmpty())
        return false;
    // rename() replaces a link at `name` itself rather than what it points to.
    if (::renameat(folder.fd(), native(temp).constData(), folder.fd(), native(name).constData()) !=
        0) {
        const int renameError = errno;
        folder.remove(temp);
        return fail(error, errnoText(renameError));
    }
    ::fsync(folder.fd());
    if (written)
        *written = signatureOf(folder, name);
    return true;
}

void removeUnfinishedWrites(const FolderHandle& folder, const QString& name) {
    const QString prefix = QLatin1Char('.') + name + QLatin1Char('.');
    for (const QString& entry : folder.names())
        if (entry.startsWith(prefix) && entry.endsWith(QLatin1String(".velmor-tmp")))
            folder.remove(entry);
}

MoveAside moveAside(const FolderHandle& folder, const QString& name, const FolderRead& read,
                    const QString& keepDir, QString* keptAs, QString* error) {
    if (!QDir().mkpath(keepDir)) {
        fail(error, QStringLiteral("cannot create %1").arg(keepDir));
        return MoveAside::failed;
    }
    const FolderHandle keep = FolderHandle::open(keepDir, error);
    if (!keep.isOpen())
        return MoveAside::failed;
    const QString temp = writeTemp(keep.fd(), name, read.bytes, error);
    if (temp.isEmpty())
        return MoveAside::failed;
    // Under its own name, or the first free "<base>-2.<ext>", "<base>-3.<ext>", ...
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    const QString base = dot > 0 ? name.left(dot) : name;
    const QString extension = dot > 0 ? name.mid(dot) : QString();
    QString target;
    int renameError = 0;
    for (int n = 1; n < 1000; ++n) {
        const QString candidate =
            n == 1 ? name : QStringLiteral("%1-%2%3").arg(base).arg(n).arg(extension);
        if (::renameat2(keep.fd(), native(temp).constData(), keep.fd(),
                        native(candidate).constData(), RENAME_NOREPLACE) == 0) {
            target = candidate;
            break;
        }
        renameError = errno;
        if (renameError != EEXIST)
            break;
    }
    if (target.isEmpty()) {
        keep.remove(temp);
        fail(error, errnoText(renameError));
        return MoveAside::failed;
    }
    ::fsync(keep.fd());
    if (keptAs)
        *keptAs = keepDir + QLatin1Char('/') + target;
    if (!(signatureOf(folder, name) == read.signature))
        return MoveAside::changedMeanwhile;
    if (!folder.remove(name)) {
        fail(error, errnoText(errno));
        return MoveAside::failed;
    }
    return MoveAside::moved;
}

} // namespace velmor
