#include "core/settings/SettingsStore.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonParseError>

#include <cmath>

namespace velmor {

namespace {
// Long enough to fold a slider drag into one write, short enough that a crash loses little.
constexpr double writeDelaySeconds = 0.3;
} // namespace

SettingsStore::SettingsStore(QString filePath, Clock& clock)
    : file_(std::move(filePath), QCoreApplication::translate("SettingsStore", "Settings")),
      clock_(clock), writeTimer_(clock) {
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
    const FileRead read = file_.read();
    if (read.status != FileRead::read)
        return;
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(read.bytes, &error);
    if (error.error == QJsonParseError::NoError && document.isObject()) {
        values_ = document.object();
        return;
    }
    file_.markDamaged(error.error != QJsonParseError::NoError
                          ? error.errorString()
                          : QCoreApplication::translate("SettingsStore", "not a JSON object"));
}

std::optional<bool> SettingsStore::readBool(const QJsonValue& value) {
    if (value.isBool())
        return value.toBool();
    if (value.isDouble()) {
        if (value.toDouble() == 1)
            return true;
        if (value.toDouble() == 0)
            return false;
        return std::nullopt;
    }
    const QString text = value.toString().trimmed().toLower();
    if (text == QLatin1String("true") || text == QLatin1String("yes") || text == QLatin1String("1"))
        return true;
    if (text == QLatin1String("false") || text == QLatin1String("no") || text == QLatin1String("0"))
        return false;
    return std::nullopt;
}

std::optional<double> SettingsStore::readNumber(const QJsonValue& value) {
    if (value.isDouble())
        return value.toDouble();
    if (!value.isString())
        return std::nullopt;
    bool ok = false;
    const double number = value.toString().trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(number))
        return std::nullopt;
    return number;
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
    return readNumber(value(key)).value_or(0.0);
}

bool SettingsStore::boolValue(const QString& key) const {
    return readBool(value(key)).value_or(false);
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
    if (file_.path().isEmpty())
        return;
    dirty_ = true;
    if (!writeTimer_.isPending())
        writeTimer_.startAfter(writeDelaySeconds, [this] { flush(); });
}

void SettingsStore::flush() {
    writeTimer_.cancel();
    if (!dirty_)
        return;
    // A failed write keeps the change pending for the next flush (at the latest, at quit).
    dirty_ = !file_.write(QJsonDocument(values_).toJson(QJsonDocument::Indented));
}

} // namespace velmor
