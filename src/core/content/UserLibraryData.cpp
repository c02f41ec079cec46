#include "core/content/UserLibraryData.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cmath>
#include <limits>

namespace velmor {

namespace {
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

// The JSON writer's string form: short escapes, other control characters as \u00xx, the rest as
// UTF-8. Written straight from UTF-16, without a temporary UTF-8 copy of each string.
void appendJsonString(QByteArray& out, const QString& text) {
    static const char hex[] = "0123456789abcdef";
    out += '"';
    const char16_t* p = reinterpret_cast<const char16_t*>(text.utf16());
    const char16_t* end = p + text.size();
    while (p < end) {
        char32_t c = *p++;
        switch (c) {
        case u'"':
            out += "\\\"";
            continue;
        case u'\\':
            out += "\\\\";
            continue;
        case u'\b':
            out += "\\b";
            continue;
        case u'\f':
            out += "\\f";
            continue;
        case u'\n':
            out += "\\n";
            continue;
        case u'\r':
            out += "\\r";
            continue;
        case u'\t':
            out += "\\t";
            continue;
        default:
            break;
        }
        if (c < 0x20) {
            out += "\\u00";
            out += hex[c >> 4];
            out += hex[c & 0xF];
        } else if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        } else {
            if (c >= 0xD800 && c < 0xDC00 && p < end && *p >= 0xDC00 && *p < 0xE000)
                c = 0x10000 + ((c - 0xD800) << 10) + (char32_t(*p++) - 0xDC00);
            else if (c >= 0xD800 && c < 0xE000) {
                out += '?'; // a lone surrogate, as Qt's UTF-8 encoder writes it
                continue;
            }
            if (c < 0x10000) {
                out += char(0xE0 | (c >> 12));
            } else {
                out += char(0xF0 | (c >> 18));
                out += char(0x80 | ((c >> 12) & 0x3F));
            }
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
    out += '"';
}

namespace {
void appendString(QByteArray& out, const QString& text) {
    appendJsonString(out, text);
}

void appendMember(QByteArray& out, const char* key, const QString& value) {
    out += '"';
    out += key;
    out += "\":";
    appendString(out, value);
}

void appendIds(QByteArray& out, const QSet<QString>& ids) {
    // Sorted so that the same library always writes the same bytes.
    QStringList sorted(ids.begin(), ids.end());
    std::sort(sorted.begin(), sorted.end());
    out += '[';
    for (qsizetype i = 0; i < sorted.size(); ++i) {
        if (i > 0)
            out += ',';
        appendString(out, sorted[i]);
    }
    out += ']';
}
} // namespace

// Written directly rather than through a JSON document: a large library (thousands of prompts)
// is written several times faster. The bytes are those of the compact JSON writer, keys sorted.
QByteArray encodeLibrary(const UserLibraryData& data) {
    QByteArray out;
    out.reserve(64 + data.userPrompts.size() * 160);
    out += "{\"favoriteIds\":";
    appendIds(out, data.favoriteIds);
    out += ",\"hiddenIds\":";
    appendIds(out, data.hiddenIds);
    out += ",\"schemaVersion\":";
    out += QByteArray::number(data.schemaVersion);
    out += ",\"userPrompts\":[";
    for (qsizetype i = 0; i < data.userPrompts.size(); ++i) {
        if (i > 0)
            out += ',';
        appendPromptJson(out, data.userPrompts[i]);
    }
    out += "]}";
    return out;
}

void appendPromptJson(QByteArray& out, const PromptItem& item) {
    out += '{';
    appendMember(out, "category", rawValue(item.category));
    out += ',';
    appendMember(out, "id", item.id);
    out += ',';
    appendMember(out, "packSource", rawValue(item.packSource));
    if (item.source) {
        out += ',';
        appendMember(out, "source", *item.source);
    }
    if (item.sourceWork) {
        out += ',';
        appendMember(out, "sourceWork", *item.sourceWork);
    }
    out += ',';
    appendMember(out, "text", item.text);
    out += '}';
}

void applyChange(UserLibraryData& data, const LibraryChange& change) {
    switch (change.kind) {
    case LibraryChange::Kind::prompt: {
        auto& prompts = data.userPrompts;
        const auto it = std::find_if(prompts.begin(), prompts.end(),
                                     [&](const PromptItem& p) { return p.id == change.id; });
        if (!change.prompt) {
            prompts.removeIf([&](const PromptItem& p) { return p.id == change.id; });
        } else if (it != prompts.end()) {
            *it = *change.prompt;
        } else {
            prompts.append(*change.prompt);
        }
        break;
    }
    case LibraryChange::Kind::favorite:
        change.on ? void(data.favoriteIds.insert(change.id))
                  : void(data.favoriteIds.remove(change.id));
        break;
    case LibraryChange::Kind::hidden:
        change.on ? void(data.hiddenIds.insert(change.id)) : void(data.hiddenIds.remove(change.id));
        break;
    }
}

QList<LibraryChange> changesBetween(const UserLibraryData& from, const UserLibraryData& to) {
    using Kind = LibraryChange::Kind;
    QList<LibraryChange> changes;
    QHash<QString, const PromptItem*> before;
    before.reserve(from.userPrompts.size());
    for (const PromptItem& item : from.userPrompts)
        before.insert(item.id, &item);
    QSet<QString> after;
    after.reserve(to.userPrompts.size());
    for (const PromptItem& item : to.userPrompts) {
        after.insert(item.id);
        const PromptItem* old = before.value(item.id);
        if (!old || *old != item)
            changes.append({Kind::prompt, item.id, item, false});
    }
    for (const PromptItem& item : from.userPrompts)
        if (!after.contains(item.id))
            changes.append({Kind::prompt, item.id, std::nullopt, false});
    const auto marks = [&](Kind kind, const QSet<QString>& was, const QSet<QString>& is) {
        for (const QString& id : is)
            if (!was.contains(id))
                changes.append({kind, id, std::nullopt, true});
        for (const QString& id : was)
            if (!is.contains(id))
                changes.append({kind, id, std::nullopt, false});
    };
    marks(Kind::favorite, from.favoriteIds, to.favoriteIds);
    marks(Kind::hidden, from.hiddenIds, to.hiddenIds);
    return changes;
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
