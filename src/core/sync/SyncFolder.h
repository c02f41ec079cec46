#pragma once

#include <QFileSystemWatcher>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <optional>

namespace velmor {

// The folder that a sync program (Syncthing, Nextcloud, Dropbox, ...) keeps equal across the
// user's computers. Velmor's files live in its "Velmor" subfolder. Being signed in means a
// folder is chosen and was usable when it was chosen or at launch.
//
// The folder is watched rather than its files, since sync programs replace a file by renaming a
// new one over it, which drops the file from a watch. Everything Velmor reads or writes here is
// remembered by content, so its own writes are never reported back as changes.
class SyncFolder final : public QObject {
    Q_OBJECT
public:
    // Long enough to fold a sync program's temporary file and rename into one look, short
    // enough that another computer's change shows at once.
    static constexpr int settleMilliseconds = 120;

    // `resolvedDir` receives conflict copies once they are folded in; empty means
    // $XDG_DATA_HOME/velmor/resolved-conflicts.
    explicit SyncFolder(QString resolvedDir = QString());

    // Starts syncing through `root`. A missing or unwritable folder leaves sync off and writes
    // one line to standard output.
    bool signIn(const QString& root);
    void signOut();
    bool isSignedIn() const { return root_.has_value(); }
    std::optional<QString> root() const { return root_; }
    QString velmorDir() const;
    // "<root>/Velmor/<name>", or empty when signed out.
    QString filePath(const QString& name) const;

    // The files whose changes are reported.
    void track(const QString& name);

    // The file's bytes; nothing when it is missing (error left empty) or unreadable (error set).
    std::optional<QByteArray> read(const QString& name, QString* error = nullptr);
    // Atomic write; creates the Velmor subfolder but never the sync folder itself, which may be
    // an unmounted drive.
    bool write(const QString& name, const QByteArray& bytes, QString* error = nullptr);

    // Conflict copies of `name` that sync programs left beside it, in name order.
    QStringList conflictCopies(const QString& name) const;
    // Moves a conflict copy into the resolved-conflicts folder under a free name; never deletes.
    bool moveAside(const QString& path, QString* error = nullptr);
    QString resolvedDir() const { return resolvedDir_; }

signals:
    void signedInChanged();
    // A tracked file now holds content Velmor neither wrote nor read, or a conflict copy of it
    // appeared.
    void changed(const QString& name);

private:
    void somethingMoved();
    void scan();
    void watch();

    QString resolvedDir_;
    std::optional<QString> root_;
    QFileSystemWatcher watcher_;
    QTimer settle_;
    QStringList tracked_;
    QHash<QString, QByteArray> knownDigest_;
    QSet<QString> seenConflicts_;
};

// Whether `fileName` is a conflict copy of "<base>.json" as the sync programs name them:
// Syncthing "<base>.sync-conflict-YYYYMMDD-HHMMSS-<device>.json", Nextcloud and ownCloud
// "<base> (conflicted copy [<user> ]YYYY-MM-DD hhmmss).json" (older clients "<base>_conflict-..."),
// Dropbox "<base> (<name>'s conflicted copy <date>).json".
bool isConflictCopyName(const QString& fileName, const QString& baseName);

} // namespace velmor
