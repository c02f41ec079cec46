#include "core/sync/SyncService.h"

#include "core/sync/SyncSettings.h"

namespace velmor {

SyncService::SyncService(SyncSettings& settings, AppState& state, UserLibrary& library,
                         QString resolvedDir)
    : settings_(settings), folder_(std::move(resolvedDir)), keyValues_(folder_),
      settingsSync_(state, keyValues_), librarySync_(folder_, library) {}

void SyncService::start() {
    if (const auto chosen = settings_.folder())
        folder_.signIn(*chosen);
    settingsSync_.start();
    librarySync_.start();
    connect(&settings_, &SyncSettings::folderChanged, this, &SyncService::folderChosen,
            Qt::UniqueConnection);
}

void SyncService::folderChosen() {
    if (const auto chosen = settings_.folder())
        folder_.signIn(*chosen);
    else
        folder_.signOut();
}

} // namespace velmor
