#pragma once

#include <QJsonObject>
#include <QObject>
#include <QString>

#include <optional>

namespace velmor {

class SyncFolder;

// A small key-value store shared across the user's computers: "settings-sync.json" in the sync
// folder, one JSON object. Writes stay in memory until synchronize(); reads see the file as it
// was last synchronized or changed by another computer.
class SyncedKeyValueStore final : public QObject {
    Q_OBJECT
public:
    static constexpr const char* fileName = "settings-sync.json";

    explicit SyncedKeyValueStore(SyncFolder& folder);

    std::optional<QString> string(const QString& key) const;
    double doubleValue(const QString& key) const; // 0 when missing or not a number
    void setString(const QString& key, const QString& value);
    void setDouble(const QString& key, double value);

    bool isEmpty() const { return values_.isEmpty(); }

    // Writes what was set since the last call (over the keys the file holds); with nothing
    // set, reads the file again.
    void synchronize();

signals:
    // Another computer changed the file; the new values are already readable.
    void changedExternally();
    // A sync folder was chosen while running; its values are already readable.
    void signedIn();

private:
    void readFile();

    SyncFolder& folder_;
    QJsonObject values_;
    QJsonObject pending_;
};

} // namespace velmor
