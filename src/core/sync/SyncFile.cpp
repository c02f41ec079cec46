#include "core/sync/SyncFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cmath>

namespace velmor {

namespace {

// Device ids are written once, in a table that the entries refer to by position.
class DeviceTable {
public:
    int index(const QString& device) {
        const auto it = index_.constFind(device);
        if (it != index_.constEnd())
            return it.value();
        const int i = int(names_.size());
        names_ << device;
        index_.insert(device, i);
        return i;
    }
    const QStringList& names() const { return names_; }

private:
    QStringList names_;
    QHash<QString, int> index_;
};

template <typename Entry> QStringList sortedKeys(const QHash<QString, Entry>& map) {
    QStringList keys = map.keys();
    std::sort(keys.begin(), keys.end());
    return keys;
}

void appendStampFields(QByteArray& out, DeviceTable& devices, const QString& id, const Stamp& s) {
    out += "{\"d\":";
    out += QByteArray::number(devices.index(s.device));
    out += ",\"id\":";
    appendJsonString(out, id);
    out += ",\"t\":";
    out += QByteArray::number(s.time);
}

void appendStrings(QByteArray& out, const QStringList& list) {
    out += '[';
    for (qsizetype i = 0; i < list.size(); ++i) {
        if (i > 0)
            out += ',';
        appendJsonString(out, list[i]);
    }
    out += ']';
}

void appendMarks(QByteArray& out, DeviceTable& devices, const QHash<QString, MarkEntry>& marks) {
    out += '[';
    bool first = true;
    for (const QString& id : sortedKeys(marks)) {
        const MarkEntry& e = marks[id];
        if (!first)
            out += ',';
        first = false;
        appendStampFields(out, devices, id, e.stamp);
        out += e.on ? ",\"on\":true}" : ",\"on\":false}";
    }
    out += ']';
}

bool fail(SyncFileRead& result, const QString& why) {
    result.status = SyncFileRead::damaged;
    result.error = why;
    return false;
}

bool readWhole(const QJsonValue& v, qint64 low, qint64 high, qint64& out) {
    const double d = v.toDouble(std::nan(""));
    if (!v.isDouble() || !std::isfinite(d) || d != std::floor(d) || d < double(low) ||
        d > double(high))
        return false;
    out = qint64(d);
    return true;
}

// The fields every entry has: "id", "t" (time) and "d" (device, by position in the table).
bool readStamp(const QJsonObject& o, const QStringList& devices, QString& id, Stamp& stamp) {
    qint64 device = 0;
    if (!o.value(QLatin1String("id")).isString() ||
        !readWhole(o.value(QLatin1String("t")), 0, maxStampTime, stamp.time) ||
        !readWhole(o.value(QLatin1String("d")), 0, devices.size() - 1, device))
        return false;
    id = o.value(QLatin1String("id")).toString();
    stamp.device = devices[device];
    return true;
}

bool readMarks(const QJsonValue& list, const QStringList& devices, QHash<QString, MarkEntry>& out) {
    if (!list.isArray())
        return false;
    const QJsonArray array = list.toArray();
    out.reserve(array.size());
    for (const QJsonValue& value : array) {
        const QJsonObject o = value.toObject();
        QString id;
        MarkEntry e;
        if (!readStamp(o, devices, id, e.stamp) || !o.value(QLatin1String("on")).isBool())
            return false;
        e.on = o.value(QLatin1String("on")).toBool();
        out.insert(id, e);
    }
    return true;
}

} // namespace

QByteArray encodeSyncFile(const SyncFile& file, bool withLocalBookkeeping) {
    const SyncState& s = file.state;
    DeviceTable devices;
    QByteArray entries;
    entries.reserve(64 + s.prompts.size() * 200);
    entries += "\"favorites\":";
    appendMarks(entries, devices, s.favorites);
    entries += ",\"hidden\":";
    appendMarks(entries, devices, s.hidden);
    entries += ",\"prompts\":[";
    bool first = true;
    for (const QString& id : sortedKeys(s.prompts)) {
        const PromptEntry& e = s.prompts[id];
        if (!first)
            entries += ',';
        first = false;
        appendStampFields(entries, devices, id, e.stamp);
        entries += ",\"o\":";
        entries += QByteArray::number(e.order);
        if (e.prompt) {
            entries += ",\"p\":";
            appendPromptJson(entries, *e.prompt);
        }
        entries += '}';
    }
    entries += "],\"settings\":[";
    first = true;
    for (const QString& key : sortedKeys(s.settings)) {
        const SettingEntry& e = s.settings[key];
        if (!first)
            entries += ',';
        first = false;
        appendStampFields(entries, devices, key, e.stamp);
        entries += ",\"v\":";
        if (e.value.isString())
            appendJsonString(entries, e.value.toString());
        else
            entries += QByteArray::number(e.value.toDouble(), 'g', 17);
        entries += '}';
    }
    entries += ']';

    QByteArray out;
    out.reserve(entries.size() + 512);
    out += "{\"velmorSync\":";
    out += QByteArray::number(SyncFile::currentFormat);
    out += ",\"device\":";
    appendJsonString(out, file.device);
    out += ",\"host\":";
    appendJsonString(out, file.host);
    out += ",\"machine\":";
    appendJsonString(out, file.machine);
    out += ",\"retired\":";
    appendStrings(out, file.retired);
    out += ",\"devices\":";
    appendStrings(out, devices.names());
    out += ',';
    out += entries;
    if (withLocalBookkeeping) {
        out += ",\"clock\":";
        out += QByteArray::number(file.clock);
        out += ",\"lastExchange\":";
        out += QByteArray::number(file.lastExchange);
    }
    out += '}';
    return out;
}

SyncFileRead decodeSyncFile(const QByteArray& bytes) {
    SyncFileRead result;
    QJsonParseError parseError{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        fail(result, parseError.errorString() + QStringLiteral(" at offset ") +
                         QString::number(parseError.offset));
        return result;
    }
    const QJsonObject o = document.object();
    qint64 format = 0;
    if (!readWhole(o.value(QLatin1String("velmorSync")), 1, maxStampTime, format)) {
        fail(result, QStringLiteral("not a Velmor sync file"));
        return result;
    }
    if (format > SyncFile::currentFormat) {
        result.status = SyncFileRead::newerFormat;
        result.error = QStringLiteral("format %1").arg(format);
        return result;
    }
    SyncFile& file = result.file;
    const auto string = [&](const char* key, QString& out) {
        const QJsonValue v = o.value(QLatin1String(key));
        out = v.toString();
        return v.isString();
    };
    const auto strings = [&](const char* key, QStringList& out) {
        const QJsonValue v = o.value(QLatin1String(key));
        for (const QJsonValue& item : v.toArray()) {
            if (!item.isString())
                return false;
            out << item.toString();
        }
        return v.isArray();
    };
    QStringList devices;
    if (!string("device", file.device) || !string("host", file.host) ||
        !string("machine", file.machine) || !strings("retired", file.retired) ||
        !strings("devices", devices)) {
        fail(result, QStringLiteral("the header is incomplete"));
        return result;
    }
    SyncState& s = file.state;
    const QJsonValue prompts = o.value(QLatin1String("prompts"));
    const QJsonValue settings = o.value(QLatin1String("settings"));
    if (!prompts.isArray() || !settings.isArray() ||
        !readMarks(o.value(QLatin1String("favorites")), devices, s.favorites) ||
        !readMarks(o.value(QLatin1String("hidden")), devices, s.hidden)) {
        fail(result, QStringLiteral("the entries are incomplete"));
        return result;
    }
    const QJsonArray promptArray = prompts.toArray();
    s.prompts.reserve(promptArray.size());
    for (const QJsonValue& value : promptArray) {
        const QJsonObject entry = value.toObject();
        QString id;
        PromptEntry e;
        if (!readStamp(entry, devices, id, e.stamp) ||
            !readWhole(entry.value(QLatin1String("o")), 0, maxStampTime, e.order)) {
            fail(result, QStringLiteral("a prompt entry is incomplete"));
            return result;
        }
        if (entry.contains(QLatin1String("p"))) {
            QString error;
            e.prompt = promptFromJson(entry.value(QLatin1String("p")), &error);
            if (!e.prompt || e.prompt->id != id) {
                fail(result,
                     error.isEmpty() ? QStringLiteral("a prompt's id does not match") : error);
                return result;
            }
        }
        s.prompts.insert(id, std::move(e));
    }
    for (const QJsonValue& value : settings.toArray()) {
        const QJsonObject entry = value.toObject();
        QString key;
        SettingEntry e;
        e.value = entry.value(QLatin1String("v"));
        if (!readStamp(entry, devices, key, e.stamp) ||
            !(e.value.isString() || e.value.isDouble())) {
            fail(result, QStringLiteral("a setting entry is incomplete"));
            return result;
        }
        s.settings.insert(key, e);
    }
    // The local bookkeeping is optional: other computers' files have none.
    readWhole(o.value(QLatin1String("clock")), 0, maxStampTime, file.clock);
    readWhole(o.value(QLatin1String("lastExchange")), 0, maxStampTime, file.lastExchange);
    result.status = SyncFileRead::read;
    return result;
}

} // namespace velmor
