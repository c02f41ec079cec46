#pragma once

#include "core/content/UserLibrary.h"
#include "core/sync/FolderSync.h"

#include <QObject>

#include <memory>

class QThread;

namespace velmor {

class AppState;
class SyncSettings;

// Sync as the program runs it: the library's changes and the three shared settings go to the
// folder sync on a thread of its own, and the merged library and settings come back. Choosing a
// folder starts syncing through it at once, stopping stops at once.
class SyncService final : public QObject, public LibraryJournal {
    Q_OBJECT
public:
    // How long quitting waits for the last changes to be written.
    static constexpr int quitWaitMilliseconds = 5000;

    // `ownThread` false keeps the folder sync on this thread (tests): its work then runs when
    // the event loop does.
    SyncService(SyncSettings& settings, AppState& state, UserLibrary& library,
                FolderSyncOptions options, bool ownThread = true);
    ~SyncService() override;

    // This computer's folders, clock, host name and identity.
    static FolderSyncOptions thisComputer();

    void start();
    // Returns once everything handed over is written (or after quitWaitMilliseconds); nothing
    // is handed over after it.
    void finish();
    // Looks at the folder now rather than at its next reported change.
    void rescanNow();
    const SyncStatus& status() const { return status_; }

signals:
    void statusChanged();

private:
    void record(const QList<LibraryChange>& changes, quint64 upTo) override;
    void save() override;
    void settingChanged(const QString& key, const QJsonValue& value);
    void take(SyncSnapshot snapshot);
    template <typename Work> void toSync(Work work);

    SyncSettings& settings_;
    AppState& state_;
    UserLibrary& library_;
    std::unique_ptr<FolderSync> sync_;
    QThread* thread_ = nullptr;
    bool finished_ = false;
    SyncStatus status_;
    // Settings changed here that the folder sync has not sent back yet: they stay as set.
    QHash<QString, quint64> unmergedSettings_;
    quint64 lastSettingNumber_ = 0;
    bool applying_ = false;
};

} // namespace velmor
