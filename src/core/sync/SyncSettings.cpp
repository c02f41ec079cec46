#include "core/sync/SyncSettings.h"

#include "core/settings/SettingsStore.h"

#include <QDir>

namespace velmor {

SyncSettings::SyncSettings(SettingsStore& store) : store_(store) {}

std::optional<QString> SyncSettings::folder() const {
    const auto stored = store_.string(QLatin1String(key));
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
    if (cleaned)
        store_.setValue(QLatin1String(key), *cleaned);
    else
        store_.remove(QLatin1String(key));
    emit folderChanged();
}

} // namespace velmor
