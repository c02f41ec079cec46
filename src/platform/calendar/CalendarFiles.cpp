#include "platform/calendar/CalendarFiles.h"

#include "core/base/Log.h"
#include "core/settings/SettingsStore.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>

namespace velmor {

std::optional<QStringList> parseCalendarFiles(const QString& json) {
    if (json.trimmed().isEmpty())
        return QStringList();
    const QJsonDocument doc = QJsonDocument::fromJson(json.toUtf8());
    if (!doc.isArray())
        return std::nullopt;
    QStringList paths;
    for (const QJsonValue& value : doc.array()) {
        if (!value.isString())
            return std::nullopt;
        QString path = value.toString();
        if (path.startsWith(QStringLiteral("~/")))
            path = QDir::homePath() + path.mid(1);
        if (!path.isEmpty())
            paths << path;
    }
    return paths;
}

QStringList listedCalendarFiles(const SettingsStore& store) {
    static QString lastRejected;
    const QString raw = store.string(QString::fromLatin1(calendarFilesKey)).value_or(QString());
    if (const auto paths = parseCalendarFiles(raw))
        return *paths;
    if (raw != lastRejected) {
        logLine(QStringLiteral("Ignoring calendarFiles: not a JSON array of paths"));
        lastRejected = raw;
    }
    return {};
}

void CalendarFileList::update() {
    QStringList paths = listedCalendarFiles(store_);
    std::lock_guard lock(mutex_);
    paths_ = std::move(paths);
}

QStringList CalendarFileList::paths() const {
    std::lock_guard lock(mutex_);
    return paths_;
}

} // namespace velmor
