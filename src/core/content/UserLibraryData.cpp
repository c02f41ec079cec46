#include "core/content/UserLibraryData.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cmath>
#include <limits>

namespace velmor {

namespace {
QJsonArray idArray(const QSet<QString>& ids) {
    // Sorted so that the same library always writes the same bytes.
    QStringList sorted(ids.begin(), ids.end());
    std::sort(sorted.begin(), sorted.end());
    return QJsonArray::fromStringList(sorted);
}

bool readIds(const QJsonObject& object, const char* key, QSet<QString>& out, QString* error) {
    const QJsonValue value = object.value(QLatin1String(key));
    if (!value.isArray()) {
        if (error)
            *error =
                QStringLiteral("key \"%1\" is %2")
                    .arg(QLatin1String(key), value.isUndefined() ? QStringLiteral("missing")
                                                                 : QStringLiteral("not an array"));
        return false;
    }
    for (const QJsonValue& id : value.toArray()) {
        if (!id.isString()) {
            if (error)
                *error = QStringLiteral("key \"%1\" holds a value that is not a string")
                             .arg(QLatin1String(key));
            return false;
        }
        out.insert(id.toString());
    }
    return true;
}
} // namespace

QByteArray encodeLibrary(const UserLibraryData& data) {
    QJsonArray prompts;
    for (const PromptItem& item : data.userPrompts)
        prompts.append(toJson(item));
    const QJsonObject object{{QStringLiteral("userPrompts"), prompts},
                             {QStringLiteral("favoriteIds"), idArray(data.favoriteIds)},
                             {QStringLiteral("hiddenIds"), idArray(data.hiddenIds)},
                             {QStringLiteral("schemaVersion"), data.schemaVersion}};
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

std::optional<UserLibraryData> decodeLibrary(const QByteArray& bytes, QString* error) {
    QJsonParseError parseError{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        if (error)
            *error = parseError.errorString() + QStringLiteral(" at offset ") +
                     QString::number(parseError.offset);
        return std::nullopt;
    }
    if (!document.isObject()) {
        if (error)
            *error = QStringLiteral("the library is not a JSON object");
        return std::nullopt;
    }
    const QJsonObject object = document.object();
    UserLibraryData data;

    const QJsonValue prompts = object.value(QLatin1String("userPrompts"));
    if (!prompts.isArray()) {
        if (error)
            *error = QStringLiteral("key \"userPrompts\" is %1")
                         .arg(prompts.isUndefined() ? QStringLiteral("missing")
                                                    : QStringLiteral("not an array"));
        return std::nullopt;
    }
    for (const QJsonValue& value : prompts.toArray()) {
        auto item = promptFromJson(value, error);
        if (!item)
            return std::nullopt;
        data.userPrompts.append(*item);
    }
    if (!readIds(object, "favoriteIds", data.favoriteIds, error) ||
        !readIds(object, "hiddenIds", data.hiddenIds, error))
        return std::nullopt;

    const QJsonValue version = object.value(QLatin1String("schemaVersion"));
    const double number = version.toDouble(std::nan(""));
    if (!version.isDouble() || !std::isfinite(number) || number != std::floor(number)) {
        if (error)
            *error = QStringLiteral("key \"schemaVersion\" is %1")
                         .arg(version.isUndefined() ? QStringLiteral("missing")
                                                    : QStringLiteral("not an integer"));
        return std::nullopt;
    }
    if (number < 0) {
        if (error)
            *error = QStringLiteral("key \"schemaVersion\" is negative");
        return std::nullopt;
    }
    // Versions beyond what 64 bits hold are only ever "newer".
    data.schemaVersion = number >= 0x1p63 ? std::numeric_limits<qint64>::max() : qint64(number);
    return data;
}

} // namespace velmor
