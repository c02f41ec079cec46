#pragma once

#include "core/base/Files.h"
#include "core/base/Random.h"
#include "core/sync/FolderFiles.h"
#include "core/sync/SyncFile.h"
#include "core/sync/SyncStatus.h"

#include <QHash>
#include <QObject>
#include <QSet>

#include <functional>
#include <optional>

namespace velmor {

class FolderWatch;

// What sync hands back: the merged library (when it changed) and the shared settings, with how
// many of the library's and the settings' changes they hold.
struct SyncSnapshot {
    std::optional<UserLibraryData> library;
    quint64 libraryUpTo = 0;
    std::optional<QHash<QString, QJsonValue>> settings;
    quint64 settingsUpTo = 0;
};

struct FolderSyncOptions {
    QString dataDir; // user-library.json, sync-state.json and resolved-conflicts/ live here
    std::function<qint64()> wallMilliseconds;
    RandomWords random;
    QString host;
    QString machine;   // the same for every run of this computer's home, different for a copy
    bool watch = true; // off: the folder is looked at only when rescan() is called
    // Hands memory freed after large files back to the system (the program's malloc_trim).
    std::function<void()> releaseMemory;
    // Where the local files' save and read problems are told, for the window; may be null.
    FileProblems* fileProblems = nullptr;
};

// Sync through a folder that a sync program keeps equal across the user's computers. Each
// computer writes only its own file, "Velmor/device-<id>.json", holding everything it knows,
// and reads the others'; entries merge by their stamps, so no order of arrival loses anything.
// The local library file and the local state are written after every change. Everything here
// runs on one thread, the program's sync thread; results go out through the two callbacks.
class FolderSync final : public QObject {
    Q_OBJECT
public:
    static constexpr const char* markerName = "velmor-sync-folder.txt";
    static constexpr qint64 maxFileBytes = 64 * 1024 * 1024;
    // Tombstones are kept this long, so that a computer that comes back from a long absence
    // cannot bring back what was deleted meanwhile.
    static constexpr int tombstoneDays = 400;
    // Files looked at in one pass; more are left alone (a folder flooded with files).
    static constexpr int maxFiles = 500;

    explicit FolderSync(FolderSyncOptions options);
    ~FolderSync() override;

    std::function<void(SyncSnapshot)> onSnapshot;
    std::function<void(SyncStatus)> onStatus;

    // Reads the local state and library file, then takes up `folder` as chosen at an earlier
    // run: it syncs only while it holds the marker.
    void start(const std::optional<QString>& folder);
    // `chosenNow`: the user has just chosen it, so it is marked and used at once.
    void setFolder(const std::optional<QString>& folder, bool chosenNow);
    // Takes the window's changes as they are made; save() writes them.
    void record(const QList<LibraryChange>& changes, quint64 upTo);
    void save();
    void recordSetting(const QString& key, const QJsonValue& value, quint64 upTo);
    void rescan();
    // Stops watching; nothing is lost, everything was written as it came.
    void stop();

    QString deviceId() const { return self_.device; }

private:
    enum class FileKind {
        ignored,
        marker,
        own,
        device,
        deviceConflict,
        olderLibrary,
        olderSettings
    };
    struct Kept {
        QString name;
        FolderRead read;
    };

    FileKind kind(const QString& name) const;
    QString ownName() const;
    // One round: look at the folder if it is there, write what changed, tell the window.
    void pass();
    FolderHandle openFolder();
    void look(const FolderHandle& folder);
    void takeIn(const FolderHandle& folder, const QString& name, FileKind kind, QList<Kept>& kept);
    // Writes the local files and, with a folder, this computer's file; false when the local
    // files could not be written.
    bool write(const FolderHandle* folder);
    void newDeviceId();
    qint64 horizon() const;
    void publish();
    // The state changed: `stale` says what that makes out of date.
    void changed(int stale);
    const UserLibraryData& library();
    void problem(const QString& file, SyncStatus::Problem::Kind kind, const QString& detail = {});
    void updateStatus();
    void rewatch();

    FolderSyncOptions options_;
    OwnedFile libraryFile_;
    OwnedFile stateFile_;
    QString resolvedDir_;
    HybridClock clock_;
    SyncFile self_;
    std::optional<QString> folder_;
    bool chosenNow_ = false;
    SyncStatus::State state_ = SyncStatus::State::off;
    quint64 libraryUpTo_ = 0;
    quint64 settingsUpTo_ = 0;
    quint64 libraryUpToSent_ = 0;
    quint64 settingsUpToSent_ = 0;
    // What is out of date: files to write, news for the window.
    enum Stale {
        libraryFile = 1,
        stateFile = 2,
        ownFile = 4,
        windowLibrary = 8,
        windowSettings = 16,
        files = libraryFile | stateFile | ownFile,
    };
    int stale_ = 0;
    std::optional<UserLibraryData> library_; // the state's library, made once per change
    qint64 bytesMoved_ = 0;                  // read and written in this pass
    bool tooManyFilesSaid_ = false;

    QHash<QString, FileSignature> seen_; // each file as it was at its last read
    QHash<QString, SyncStatus::Problem> problems_;
    QSet<QString> keepPending_; // read and folded, not moved aside yet
    QSet<QString> peers_;       // device files read without a problem
    QSet<QString> retiredElsewhere_;
    FileSignature ownWritten_;
    SyncStatus status_;
    FolderWatch* watch_ = nullptr;
};

} // namespace velmor
