#include "core/sync/SyncSettings.h"

#include "core/settings/AppState.h"

#include <QDir>

namespace velmor {

SyncSettings::SyncSettings(AppState& state) : state_(state) {}

std::optional<QString> SyncSettings::folder() const {
    const std::optional<QString> stored = state_.syncFolder();
    if (!stored || stored->isEmpty())
        return std::nullopt;
    return stored;
}

void SyncSettings::setFolder(const std::optional<QString>& path) {
    std::optional<QString> cleaned;
    if (path && !path->isEmpty())
        cleaned = QDir::cleanPath(*path);
    // Choosing the same folder again is a request to try it again (it may have been missing at
    // launch), so only turning off an already-off setting is silent.
    if (!cleaned && !folder())
        return;
    state_.setSyncFolder(cleaned);
    emit folderChanged();
}

} // namespace velmor
