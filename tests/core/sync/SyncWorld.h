#pragma once

#include "StateWorld.h"
#include "core/sync/SyncService.h"
#include "core/sync/SyncSettings.h"

namespace velmor::test {

// One computer: its own settings, library file and resolved-conflicts folder, and sync as the
// program runs it. Several of them can share one sync folder.
struct Computer {
    explicit Computer(const QString& home)
        : localLibrary(home + "/data/velmor/user-library.json"),
          sync(settings, state, library, home + "/data/velmor/resolved-conflicts") {}

    QString localLibrary;
    VirtualClock clock;
    SettingsStore store{QString(), clock};
    Commands notifications;
    AppState state{store, notifications, SoundPreparer::shared()};
    UserLibrary library{localLibrary, clock};
    SyncSettings settings{state};
    SyncService sync;
    SyncFolder& folder = sync.folder();
    iCloudLibrarySync& librarySync = sync.librarySync();

    // As at launch with this folder chosen.
    void launch(const QString& syncFolder) {
        settings.setFolder(syncFolder);
        sync.start();
    }
    // Lets the delayed save run.
    void settle() { clock.advance(UserLibrary::saveDelaySeconds + 0.01); }
};

} // namespace velmor::test
