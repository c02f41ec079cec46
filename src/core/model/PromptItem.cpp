#include "core/model/PromptItem.h"

#include <QCryptographicHash>
#include <QHash>
#include <QUuid>

namespace velmor {

QString rawValue(PromptCategory category) {
    switch (category) {
    case PromptCategory::question:
        return QStringLiteral("question");
    case PromptCategory::beauty:
        return QStringLiteral("beauty");
    case PromptCategory::body:
        return QStringLiteral("body");
    }
    return {};
}

std::optional<PromptCategory> categoryFromRawValue(const QString& raw) {
    for (PromptCategory c : allCategories)
        if (rawValue(c) == raw)
            return c;
    return std::nullopt;
}

QString displayName(PromptCategory category) {
    switch (category) {
    case PromptCategory::question:
        return QStringLiteral("Questions");
    case PromptCategory::beauty:
        return QStringLiteral("Poems");
    case PromptCategory::body:
        return QStringLiteral("Body");
    }
    return {};
}

QString rawValue(PackSource source) {
    return source == PackSource::starter ? QStringLiteral("starter") : QStringLiteral("user");
}

std::optional<PackSource> packSourceFromRawValue(const QString& raw) {
    if (raw == QLatin1String("starter"))
        return PackSource::starter;
    if (raw == QLatin1String("user"))
        return PackSource::user;
    return std::nullopt;
}

size_t qHash(const PromptItem& item, size_t seed) {
    return qHashMulti(seed, item.id, item.text, int(item.category), item.source.value_or(QString()),
                      item.source.has_value(), item.sourceWork.value_or(QString()),
                      item.sourceWork.has_value(), int(item.packSource));
}

std::optional<QString> attribution(const PromptItem& item) {
    const QString dash = QStringLiteral("\u2014 ");
    if (item.source && item.sourceWork)
        return dash + *item.source + QStringLiteral(", ") + *item.sourceWork;
    if (item.source)
        return dash + *item.source;
    if (item.sourceWork)
        return dash + *item.sourceWork;
    return std::nullopt;
}

QJsonObject toJson(const PromptItem& item) {
    QJsonObject object{{QStringLiteral("id"), item.id},
                       {QStringLiteral("text"), item.text},
                       {QStringLiteral("category"), rawValue(item.category)},
                       {QStringLiteral("packSource"), rawValue(item.packSource)}};
    if (item.source)
        object.insert(QStringLiteral("source"), *item.source);
    if (item.sourceWork)
        object.insert(QStringLiteral("sourceWork"), *item.sourceWork);
    return object;
}

namespace {
bool fail(QString* error, const QString& reason) {
    if (error)
        *error = reason;
    return false;
}

bool readString(const QJsonObject& object, const char* key, QString& out, QString* error) {
    const QJsonValue v = object.value(QLatin1String(key));
    if (!v.isString())
        return fail(error,
                    QStringLiteral("key \"%1\" is %2")
                        .arg(QLatin1String(key), v.isUndefined() ? QStringLiteral("missing")
                                                                 : QStringLiteral("not a string")));
    out = v.toString();
    return true;
}

bool readOptionalString(const QJsonObject& object, const char* key, std::optional<QString>& out,
                        QString* error) {
    const QJsonValue v = object.value(QLatin1String(key));
    if (v.isUndefined() || v.isNull())
        return true;
    if (!v.isString())
        return fail(error, QStringLiteral("key \"%1\" is not a string").arg(QLatin1String(key)));
    out = v.toString();
    return true;
}
} // namespace

std::optional<PromptItem> promptFromJson(const QJsonValue& value, QString* error) {
    if (!value.isObject()) {
        fail(error, QStringLiteral("a prompt is not a JSON object"));
        return std::nullopt;
    }
    const QJsonObject object = value.toObject();
    PromptItem item;
    QString category, packSource;
    if (!readString(object, "id", item.id, error) ||
        !readString(object, "text", item.text, error) ||
        !readString(object, "category", category, error) ||
        !readString(object, "packSource", packSource, error) ||
        !readOptionalString(object, "source", item.source, error) ||
        !readOptionalString(object, "sourceWork", item.sourceWork, error))
        return std::nullopt;
    const auto parsedCategory = categoryFromRawValue(category);
    if (!parsedCategory) {
        fail(error, QStringLiteral("unknown category \"%1\"").arg(category));
        return std::nullopt;
    }
    const auto parsedSource = packSourceFromRawValue(packSource);
    if (!parsedSource) {
        fail(error, QStringLiteral("unknown pack source \"%1\"").arg(packSource));
        return std::nullopt;
    }
    item.category = *parsedCategory;
    item.packSource = *parsedSource;
    return item;
}

QString starterPromptId(const QString& text, const std::optional<QString>& source) {
    static const QByteArray namespaceBytes =
        QUuid(QStringLiteral("3C9E5A71-84B2-4D0F-9A6E-2B7D1F08C4E5")).toRfc4122();
    const QByteArray name = (text + QLatin1Char('|') + source.value_or(QString())).toUtf8();
    QByteArray digest =
        QCryptographicHash::hash(namespaceBytes + name, QCryptographicHash::Sha1).left(16);
    digest[6] = char((uchar(digest[6]) & 0x0F) | 0x50);
    digest[8] = char((uchar(digest[8]) & 0x3F) | 0x80);
    return QUuid::fromRfc4122(digest).toString(QUuid::WithoutBraces).toUpper();
}

} // namespace velmor
