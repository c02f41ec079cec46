#include "core/sync/SyncedKeyValueStore.h"

#include "core/base/Log.h"
#include "core/sync/SyncFolder.h"

#include <QJsonDocument>
#include <QJsonParseError>

namespace velmor {

SyncedKeyValueStore::SyncedKeyValueStore(SyncFolder& folder) : folder_(folder) {
    const QString name = QLatin1String(fileName);
    folder_.track(name);
    connect(&folder_, &SyncFolder::changed, this, [this, name](const QString& changed) {
        if (changed != name)
            return;
        readFile();
        emit changedExternally();
    });
    connect(&folder_, &SyncFolder::signedInChanged, this, [this] {
        values_ = pending_;
        readFile();
        if (folder_.isSignedIn())
            emit signedIn();
    });
}

std::optional<QString> SyncedKeyValueStore::string(const QString& key) const {
    const QJsonValue value = values_.value(key);
    return value.isString() ? std::optional(value.toString()) : std::nullopt;
}

double SyncedKeyValueStore::doubleValue(const QString& key) const {
    const QJsonValue value = values_.value(key);
    return value.isDouble() ? value.toDouble() : 0.0;
}

void SyncedKeyValueStore::setString(const QString& key, const QString& value) {
    values_.insert(key, value);
    pending_.insert(key, value);
}

void SyncedKeyValueStore::setDouble(const QString& key, double value) {
    values_.insert(key, value);
    pending_.insert(key, value);
}

void SyncedKeyValueStore::synchronize() {
    if (!folder_.isSignedIn())
        return;
    if (pending_.isEmpty()) {
        readFile();
        return;
    }
    readFile(); // keeps keys this computer does not know, with its own on top
    QString error;
    if (!folder_.write(QLatin1String(fileName),
                       QJsonDocument(values_).toJson(QJsonDocument::Compact), &error)) {
        // Kept pending: the next synchronize tries again.
        logLine(QStringLiteral("Settings sync write failed: ") + error);
        return;
    }
    pending_ = {};
}

void SyncedKeyValueStore::readFile() {
    QString error;
    const auto bytes = folder_.read(QLatin1String(fileName), &error);
    if (!bytes) {
        if (!error.isEmpty())
            logLine(QStringLiteral("Settings sync read failed: ") + error);
        return;
    }
    QJsonParseError parseError{};
    const QJsonDocument document = QJsonDocument::fromJson(*bytes, &parseError);
    if (!document.isObject()) {
        logLine(QStringLiteral("Settings sync file ignored: ") +
                (parseError.error != QJsonParseError::NoError ? parseError.errorString()
                                                              : QStringLiteral("not an object")));
        return;
    }
    values_ = document.object();
    // What this computer set but could not write yet stays on top.
    for (auto it = pending_.constBegin(); it != pending_.constEnd(); ++it)
        values_.insert(it.key(), it.value());
}

} // namespace velmor
