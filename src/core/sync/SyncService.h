#pragma once

#include "core/sync/SyncFolder.h"
#include "core/sync/SyncedKeyValueStore.h"
#include "core/sync/iCloudLibrarySync.h"
#include "core/sync/iCloudSettingsSync.h"

#include <QObject>

namespace velmor {

class AppState;
class SyncSettings;
class UserLibrary;

// Sync as the program runs it: the chosen folder, the settings store in it and both syncs.
// Choosing a folder signs in at once, stopping signs out at once.
class SyncService final : public QObject {
    Q_OBJECT
public:
    SyncService(SyncSettings& settings, AppState& state, UserLibrary& library,
                QString resolvedDir = QString());

    // At launch: signs in to the chosen folder (a missing or unwritable one leaves sync off for
    // this run, with one line; the setting is kept), then starts the settings sync and the
    // library sync, in that order.
    void start();

    SyncFolder& folder() { return folder_; }
    iCloudSettingsSync& settingsSync() { return settingsSync_; }
    iCloudLibrarySync& librarySync() { return librarySync_; }

private:
    void folderChosen();

    SyncSettings& settings_;
    SyncFolder folder_;
    SyncedKeyValueStore keyValues_;
    iCloudSettingsSync settingsSync_;
    iCloudLibrarySync librarySync_;
};

} // namespace velmor
