#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <utility>

namespace velmor {

// A folder held open, whose files are read and written by name and never through a link: a
// shared folder is written by other people's computers too, and a link planted there must not
// lead Velmor's reads or writes anywhere else.
class FolderHandle {
public:
    FolderHandle() = default;
    ~FolderHandle();
    FolderHandle(FolderHandle&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    FolderHandle& operator=(FolderHandle&& other) noexcept;
    FolderHandle(const FolderHandle&) = delete;
    FolderHandle& operator=(const FolderHandle&) = delete;

    // A path the user chose: links on the way are theirs and followed.
    static FolderHandle open(const QString& path, QString* error = nullptr);
    // A folder inside this one, not through a link. `missing` tells a folder that is not there
    // from one that cannot be opened.
    FolderHandle sub(const QString& name, bool* missing = nullptr, QString* error = nullptr) const;
    bool makeSub(const QString& name, QString* error = nullptr) const;

    bool isOpen() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    QStringList names() const;
    bool remove(const QString& name) const;

private:
    explicit FolderHandle(int fd) : fd_(fd) {}
    int fd_ = -1;
};

// Enough of a file's status to tell whether it changed since it was last read.
struct FileSignature {
    bool exists = false;
    bool regular = false;
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modified = 0; // nanoseconds
    qint64 changed = 0;

    friend bool operator==(const FileSignature&, const FileSignature&) = default;
};
FileSignature signatureOf(const FolderHandle& folder, const QString& name);

struct FolderRead {
    enum Status { read, missing, notRegular, tooLarge, failed };
    Status status = missing;
    QByteArray bytes;
    FileSignature signature;
    QString error;
};
// Opened without following a link and without waiting on a pipe, checked to be a regular file
// of at most `maxBytes`, then read.
FolderRead readInFolder(const FolderHandle& folder, const QString& name, qint64 maxBytes);

// Writes a temporary file beside `name`, syncs it and renames it over `name`: readers see the
// old file or the new one. A link at `name` is replaced, never written through.
bool writeInFolder(const FolderHandle& folder, const QString& name, const QByteArray& bytes,
                   QString* error = nullptr, FileSignature* written = nullptr);
// Temporary files that writes of `name` killed before their rename left behind.
void removeUnfinishedWrites(const FolderHandle& folder, const QString& name);

// Keeps what was read of `name` in `keepDir` (under a free name), synced to disk, and only then
// removes `name`, if it is still the file that was read (else it stays, to be read in its turn).
// Anything that fails leaves `name` where it was; a half-written kept copy is removed again.
enum class MoveAside { moved, changedMeanwhile, failed };
MoveAside moveAside(const FolderHandle& folder, const QString& name, const FolderRead& read,
                    const QString& keepDir, QString* keptAs = nullptr, QString* error = nullptr);

// Whether `fileName` is a conflict copy of "<base>.json" as the sync programs name them:
// Syncthing "<base>.sync-conflict-YYYYMMDD-HHMMSS-<device>.json", Nextcloud and ownCloud
// "<base> (conflicted copy [<user> ]YYYY-MM-DD hhmmss).json" (older clients "<base>_conflict-..."),
// Dropbox "<base> (<name>'s conflicted copy <date>).json".
bool isConflictCopyName(const QString& fileName, const QString& baseName);

} // namespace velmor
