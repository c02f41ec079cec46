#pragma once

#include "StateWorld.h"
#include "core/sync/SyncService.h"
#include "core/sync/SyncSettings.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QRandomGenerator>

namespace velmor::test {

// One computer: its own settings file, library file and sync state, and sync as the program
// runs it, on this thread. Several of them can share one sync folder (and one clock).
struct Computer {
    explicit Computer(const QString& home, VirtualClock* sharedClock = nullptr, bool watch = true,
                      quint32 seed = 0)
        : dataDir(home + "/data/velmor"), clock(sharedClock ? *sharedClock : ownClock),
          store(home + "/config/settings.json", clock), random(seed ? seed : qHash(home)),
          sync(settings, state, library, options(home, watch), false) {}
    ~Computer() {
        library.flush();
        sync.finish();
        store.flush();
    }

    QString dataDir;
    QString localLibrary = dataDir + "/user-library.json";
    VirtualClock ownClock;
    VirtualClock& clock;
    SettingsStore store;
    Commands notifications;
    AppState state{store, notifications, SoundPreparer::shared()};
    UserLibrary library{localLibrary, clock};
    SyncSettings settings{state};
    QRandomGenerator random;
    SyncService sync;

    FolderSyncOptions options(const QString& home, bool watch) {
        FolderSyncOptions o;
        o.dataDir = dataDir;
        o.wallMilliseconds = [this] { return clock.wallNow().toMSecsSinceEpoch(); };
        o.random = [this] { return random.generate64(); };
        o.host = QFileInfo(home).fileName();
        o.machine = home; // a copied home is another computer's
        o.watch = watch;
        return o;
    }

    // As at a launch with the folder chosen at an earlier run.
    void start() {
        sync.start();
        settle();
    }
    // As when the user chooses the folder.
    void choose(const QString& folder) {
        settings.setFolder(folder);
        settle();
    }
    // Lets the delayed save run and sync answer.
    void settle() {
        clock.advance(UserLibrary::saveDelaySeconds + 0.01);
        for (int i = 0; i < 4; ++i)
            QCoreApplication::sendPostedEvents();
    }
};

} // namespace velmor::test
