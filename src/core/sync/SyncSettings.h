#pragma once

#include <QObject>
#include <QString>

#include <optional>

namespace velmor {

class SettingsStore;

// The setting "syncFolder": the folder that a sync program keeps equal across the user's
// computers; absent means sync is off.
class SyncSettings final : public QObject {
    Q_OBJECT
public:
    static constexpr const char* key = "syncFolder";

    explicit SyncSettings(SettingsStore& store);

    std::optional<QString> folder() const;
    // An empty or absent path turns sync off.
    void setFolder(const std::optional<QString>& path);

signals:
    void folderChanged();

private:
    SettingsStore& store_;
};

} // namespace velmor
