#pragma once

#include <QObject>
#include <QString>

#include <optional>

namespace velmor {

class AppState;

// The setting "syncFolder" as sync sees it: the folder that a sync program keeps equal across
// the user's computers; absent means sync is off. Choosing the same folder again is announced
// too, as a request to try it again.
class SyncSettings final : public QObject {
    Q_OBJECT
public:
    explicit SyncSettings(AppState& state);

    std::optional<QString> folder() const;
    // An empty or absent path turns sync off.
    void setFolder(const std::optional<QString>& path);

signals:
    void folderChanged();

private:
    AppState& state_;
};

} // namespace velmor
