#include "core/settings/SettingsStore.h"

#include "core/base/Files.h"
#include "core/base/Log.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonParseError>

namespace velmor {

namespace {
// Long enough to fold a slider drag into one write, short enough that a crash loses little.
constexpr double writeDelaySeconds = 0.3;
} // namespace

SettingsStore::SettingsStore(QString filePath, Clock& clock)
    : path_(std::move(filePath)), clock_(clock), writeTimer_(clock) {
    load();
}

SettingsStore::~SettingsStore() {
    flush();
}

SettingsStore& SettingsStore::shared() {
    static SettingsStore store(defaultPath(), Clock::shared());
    return store;
}

QString SettingsStore::defaultPath() {
    return velmorConfigDir() + QStringLiteral("/settings.json");
}

void SettingsStore::load() {
    if (path_.isEmpty())
        return;
    QFile file(path_);
    if (!file.exists())
        return;
    if (!file.open(QIODevice::ReadOnly)) {
        logLine(QStringLiteral("Settings could not be read, using defaults: ") +
                file.errorString());
        return;
    }
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error == QJsonParseError::NoError && document.isObject()) {
        values_ = document.object();
        return;
    }
    const QString reason = error.error != QJsonParseError::NoError
                               ? error.errorString()
                               : QStringLiteral("not a JSON object");
    const QString aside = keepAside(path_);
    logLine(QStringLiteral("Settings file is damaged (%1), using defaults; kept aside as %2")
                .arg(reason, aside.isEmpty() ? QStringLiteral("(copy failed)") : aside));
}

QJsonValue SettingsStore::value(const QString& key) const {
    const auto it = values_.constFind(key);
    if (it != values_.constEnd())
        return *it;
    return defaults_.value(key);
}

std::optional<QString> SettingsStore::string(const QString& key) const {
    const QJsonValue v = value(key);
    if (!v.isString())
        return std::nullopt;
    return v.toString();
}

double SettingsStore::doubleValue(const QString& key) const {
    const QJsonValue v = value(key);
    return v.isDouble() ? v.toDouble() : 0.0;
}

bool SettingsStore::boolValue(const QString& key) const {
    const QJsonValue v = value(key);
    return v.isBool() && v.toBool();
}

void SettingsStore::registerDefault(const QString& key, const QJsonValue& value) {
    defaults_.insert(key, value);
}

void SettingsStore::setValue(const QString& key, const QJsonValue& value) {
    values_.insert(key, value);
    scheduleWrite();
}

void SettingsStore::remove(const QString& key) {
    values_.remove(key);
    scheduleWrite();
}

void SettingsStore::scheduleWrite() {
    if (path_.isEmpty())
        return;
    dirty_ = true;
    if (!writeTimer_.isPending())
        writeTimer_.startAfter(writeDelaySeconds, [this] { flush(); });
}

void SettingsStore::flush() {
    writeTimer_.cancel();
    if (!dirty_ || path_.isEmpty())
        return;
    dirty_ = false;
    QString error;
    if (!writeFileAtomically(path_, QJsonDocument(values_).toJson(QJsonDocument::Indented), &error))
        logLine(QStringLiteral("Settings could not be saved: ") + error);
}

} // namespace velmor
