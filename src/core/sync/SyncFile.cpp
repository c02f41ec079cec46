#include "core/sync/SyncFile.h"

#include <QJsonValue>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

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
        const MarkEntry& e = *marks.constFind(id);
        if (!first)
            out += ',';
        first = false;
        appendStampFields(out, devices, id, e.stamp);
        out += e.on ? ",\"on\":true}" : ",\"on\":false}";
    }
    out += ']';
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
        const PromptEntry& e = *s.prompts.constFind(id);
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
        const SettingEntry& e = *s.settings.constFind(key);
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
    out += '}';
    return withLocalBookkeeping ? addLocalBookkeeping(std::move(out), file) : out;
}

QByteArray addLocalBookkeeping(QByteArray shared, const SyncFile& file) {
    shared.chop(1);
    shared += ",\"clock\":";
    shared += QByteArray::number(file.clock);
    shared += ",\"lastExchange\":";
    shared += QByteArray::number(file.lastExchange);
    shared += '}';
    return shared;
}

namespace {

// Reads the JSON of these files in one pass, without building a document: a large file would
// otherwise be held twice, and its many small pieces would scatter the memory that stays.
// Strict: anything that is not JSON, or not where this format expects it, fails the read.
class Reader {
public:
    explicit Reader(const QByteArray& bytes)
        : begin_(bytes.constData()), at_(begin_), end_(begin_ + bytes.size()) {}

    QString error() const {
        return QStringLiteral("%1 at offset %2").arg(error_).arg(errorAt_ - begin_);
    }
    bool fail(const char* why) {
        if (error_.isEmpty()) {
            error_ = QString::fromLatin1(why);
            errorAt_ = at_;
        }
        at_ = end_;
        return false;
    }

    bool next(char c) {
        space();
        if (at_ < end_ && *at_ == c) {
            ++at_;
            return true;
        }
        return false;
    }
    bool expect(char c) { return next(c) || fail("unexpected character"); }
    bool atEnd() {
        space();
        return at_ == end_;
    }

    // Members of an object, one by one: false at its end (or on an error).
    bool member(bool& first, QString& key) {
        if (first) {
            first = false;
            if (next('}'))
                return false;
        } else if (next('}')) {
            return false;
        } else if (!expect(',')) {
            return false;
        }
        return string(key) && expect(':');
    }
    // Items of an array, one by one.
    bool item(bool& first) {
        if (first) {
            first = false;
            return !next(']');
        }
        if (next(']'))
            return false;
        return expect(',');
    }

    bool string(QString& out) {
        if (!expect('"'))
            return false;
        const char* start = at_;
        while (at_ < end_ && *at_ != '"' && *at_ != '\\' && uchar(*at_) >= 0x20)
            ++at_;
        if (at_ < end_ && *at_ == '"') {
            out = QString::fromUtf8(start, at_ - start);
            ++at_;
            return true;
        }
        QByteArray text(start, at_ - start);
        while (at_ < end_ && *at_ != '"') {
            const char c = *at_++;
            if (uchar(c) < 0x20)
                return fail("control character in a string");
            if (c != '\\') {
                text += c;
                continue;
            }
            if (at_ == end_)
                break;
            switch (const char e = *at_++) {
            case '"':
            case '\\':
            case '/':
                text += e;
                break;
            case 'b':
                text += '\b';
                break;
            case 'f':
                text += '\f';
                break;
            case 'n':
                text += '\n';
                break;
            case 'r':
                text += '\r';
                break;
            case 't':
                text += '\t';
                break;
            case 'u': {
                char32_t code = 0;
                if (!hex4(code))
                    return false;
                // A surrogate pair makes one character; a lone half stands for nothing.
                if (code >= 0xD800 && code < 0xDC00 && end_ - at_ >= 6 && at_[0] == '\\' &&
                    at_[1] == 'u') {
                    at_ += 2;
                    char32_t low = 0;
                    if (!hex4(low))
                        return false;
                    code = low >= 0xDC00 && low < 0xE000
                               ? 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00)
                               : 0xFFFD;
                } else if (code >= 0xD800 && code < 0xE000) {
                    code = 0xFFFD;
                }
                text += QString::fromUcs4(&code, 1).toUtf8();
                break;
            }
            default:
                return fail("unknown escape in a string");
            }
        }
        if (at_ == end_)
            return fail("unterminated string");
        ++at_;
        out = QString::fromUtf8(text);
        return true;
    }

    bool number(double& out) {
        space();
        const char* start = at_;
        if (at_ < end_ && *at_ == '-')
            ++at_;
        if (at_ < end_ && *at_ == '0')
            ++at_;
        else if (!digits())
            return fail("not a number");
        if (at_ < end_ && *at_ == '.' && (++at_, !digits()))
            return fail("not a number");
        if (at_ < end_ && (*at_ == 'e' || *at_ == 'E')) {
            ++at_;
            if (at_ < end_ && (*at_ == '+' || *at_ == '-'))
                ++at_;
            if (!digits())
                return fail("not a number");
        }
        const auto [end, ec] = std::from_chars(start, at_, out);
        return (ec == std::errc() && end == at_) || fail("not a number");
    }
    // A whole number in [low, high].
    bool whole(qint64 low, qint64 high, qint64& out) {
        double d = 0;
        if (!number(d))
            return false;
        if (d != std::floor(d) || d < double(low) || d > double(high))
            return fail("a number out of range");
        out = qint64(d);
        return true;
    }
    bool boolean(bool& out) {
        space();
        if (end_ - at_ >= 4 && std::memcmp(at_, "true", 4) == 0) {
            at_ += 4;
            return out = true;
        }
        if (end_ - at_ >= 5 && std::memcmp(at_, "false", 5) == 0) {
            at_ += 5;
            out = false;
            return true;
        }
        return fail("not true or false");
    }
    bool strings(QStringList& out) {
        if (!expect('['))
            return false;
        for (bool first = true; item(first);) {
            QString text;
            if (!string(text))
                return false;
            out << text;
        }
        return error_.isEmpty();
    }
    // A value this version does not read, passed over.
    bool skip(int depth = 0) {
        space();
        if (at_ == end_ || depth > 32)
            return fail("unexpected end or nesting");
        QString text;
        double number = 0;
        bool flag = false;
        switch (*at_) {
        case '"':
            return string(text);
        case '{':
            ++at_;
            for (bool first = true; member(first, text);)
                if (!skip(depth + 1))
                    return false;
            return error_.isEmpty();
        case '[':
            ++at_;
            for (bool first = true; item(first);)
                if (!skip(depth + 1))
                    return false;
            return error_.isEmpty();
        case 't':
        case 'f':
            return boolean(flag);
        case 'n':
            if (end_ - at_ >= 4 && std::memcmp(at_, "null", 4) == 0) {
                at_ += 4;
                return true;
            }
            return fail("unexpected value");
        default:
            return this->number(number);
        }
    }

    bool stringOrNumber(QJsonValue& out) {
        space();
        if (at_ < end_ && *at_ == '"') {
            QString text;
            if (!string(text))
                return false;
            out = text;
            return true;
        }
        double d = 0;
        if (!number(d))
            return false;
        out = d;
        return true;
    }

    bool ok() const { return error_.isEmpty(); }

private:
    void space() {
        while (at_ < end_ && (*at_ == ' ' || *at_ == '\n' || *at_ == '\r' || *at_ == '\t'))
            ++at_;
    }
    bool digits() {
        const char* start = at_;
        while (at_ < end_ && *at_ >= '0' && *at_ <= '9')
            ++at_;
        return at_ > start;
    }
    bool hex4(char32_t& out) {
        if (end_ - at_ < 4)
            return fail("short escape");
        for (int i = 0; i < 4; ++i) {
            const char c = *at_++;
            const int v = c >= '0' && c <= '9'   ? c - '0'
                          : c >= 'a' && c <= 'f' ? c - 'a' + 10
                          : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                 : -1;
            if (v < 0)
                return fail("bad escape");
            out = out * 16 + char32_t(v);
        }
        return true;
    }

    const char* begin_;
    const char* at_;
    const char* end_;
    QString error_;
    const char* errorAt_ = nullptr;
};

// The prompt object of an entry (whose id must be the entry's, checked by the caller).
bool readPrompt(Reader& in, PromptItem& out, QHash<QString, QString>& names) {
    if (!in.expect('{'))
        return false;
    bool hasText = false, hasCategory = false, hasSource = false;
    QString key, value;
    for (bool first = true; in.member(first, key);) {
        if (!in.string(value))
            return false;
        if (key == QLatin1String("text")) {
            out.text = value;
            hasText = true;
        } else if (key == QLatin1String("id")) {
            out.id = value;
        } else if (key == QLatin1String("category")) {
            const auto category = categoryFromRawValue(value);
            if (!category)
                return in.fail("unknown category");
            out.category = *category;
            hasCategory = true;
        } else if (key == QLatin1String("packSource")) {
            const auto source = packSourceFromRawValue(value);
            if (!source)
                return in.fail("unknown pack source");
            out.packSource = *source;
            hasSource = true;
        } else if (key == QLatin1String("source") || key == QLatin1String("sourceWork")) {
            // Attributions repeat across prompts: one copy of each.
            auto known = names.constFind(value);
            if (known == names.constEnd())
                known = names.insert(value, value);
            (key == QLatin1String("source") ? out.source : out.sourceWork) = *known;
        }
    }
    return in.ok() && ((hasText && hasCategory && hasSource) || in.fail("a prompt is incomplete"));
}

// One entry: {"d": device, "id": key, "t": time, ...the kind's own fields}. `field` reads
// those: it is given the key and returns false on an error.
template <typename Field>
bool readEntry(Reader& in, const QStringList& devices, QString& id, Stamp& stamp, Field field) {
    if (!in.expect('{'))
        return false;
    qint64 device = -1;
    bool hasId = false, hasTime = false;
    QString key;
    for (bool first = true; in.member(first, key);) {
        if (key == QLatin1String("id")) {
            if (!in.string(id))
                return false;
            hasId = true;
        } else if (key == QLatin1String("t")) {
            if (!in.whole(0, maxStampTime, stamp.time))
                return false;
            hasTime = true;
        } else if (key == QLatin1String("d")) {
            if (!in.whole(0, devices.size() - 1, device))
                return false;
        } else if (!field(key)) {
            return false;
        }
    }
    if (!in.ok())
        return false;
    if (!hasId || !hasTime || device < 0)
        return in.fail("an entry is incomplete");
    stamp.device = devices[device];
    return true;
}

bool readMarks(Reader& in, const QStringList& devices, QHash<QString, MarkEntry>& out) {
    if (!in.expect('['))
        return false;
    for (bool first = true; in.item(first);) {
        QString id;
        MarkEntry e;
        bool hasOn = false;
        if (!readEntry(in, devices, id, e.stamp, [&](const QString& key) {
                if (key != QLatin1String("on"))
                    return in.skip();
                hasOn = true;
                return in.boolean(e.on);
            }))
            return false;
        if (!hasOn)
            return in.fail("a mark is incomplete");
        out.insert(id, e);
    }
    return in.ok();
}

} // namespace

SyncFileRead decodeSyncFile(const QByteArray& bytes) {
    SyncFileRead result;
    SyncFile& file = result.file;
    SyncState& s = file.state;
    Reader in(bytes);
    QString key;
    bool first = true;
    // The format's version comes first, so that a newer layout is known before it is read.
    qint64 format = 0;
    if (!in.expect('{') || !in.member(first, key) || key != QLatin1String("velmorSync") ||
        !in.whole(1, maxStampTime, format)) {
        result.error = QStringLiteral("not a Velmor sync file");
        return result;
    }
    if (format > SyncFile::currentFormat) {
        result.status = SyncFileRead::newerFormat;
        result.error = QStringLiteral("format %1").arg(format);
        return result;
    }
    QStringList devices;
    bool hasDevices = false;
    QHash<QString, QString> names;
    int seen = 0;
    enum {
        device = 1,
        host = 2,
        machine = 4,
        retired = 8,
        favorites = 16,
        hidden = 32,
        prompts = 64,
        settings = 128,
        all = 255
    };
    while (in.member(first, key)) {
        const bool entries = key == QLatin1String("favorites") || key == QLatin1String("hidden") ||
                             key == QLatin1String("prompts") || key == QLatin1String("settings");
        if (entries && !hasDevices) {
            in.fail("entries before the device table");
            break;
        }
        if (key == QLatin1String("device")) {
            seen |= device;
            in.string(file.device);
        } else if (key == QLatin1String("host")) {
            seen |= host;
            in.string(file.host);
        } else if (key == QLatin1String("machine")) {
            seen |= machine;
            in.string(file.machine);
        } else if (key == QLatin1String("retired")) {
            seen |= retired;
            in.strings(file.retired);
        } else if (key == QLatin1String("devices")) {
            hasDevices = in.strings(devices);
        } else if (key == QLatin1String("favorites")) {
            seen |= favorites;
            readMarks(in, devices, s.favorites);
        } else if (key == QLatin1String("hidden")) {
            seen |= hidden;
            readMarks(in, devices, s.hidden);
        } else if (key == QLatin1String("prompts")) {
            seen |= prompts;
            if (!in.expect('['))
                break;
            for (bool firstItem = true; in.item(firstItem);) {
                QString id;
                PromptEntry e;
                bool hasOrder = false;
                if (!readEntry(in, devices, id, e.stamp, [&](const QString& field) {
                        if (field == QLatin1String("o"))
                            return hasOrder = in.whole(0, maxStampTime, e.order);
                        if (field != QLatin1String("p"))
                            return in.skip();
                        e.prompt.emplace();
                        return readPrompt(in, *e.prompt, names);
                    }))
                    break;
                if (!hasOrder) {
                    in.fail("a prompt entry has no order");
                    break;
                }
                if (e.prompt && e.prompt->id != id) {
                    in.fail("a prompt's id is not its entry's");
                    break;
                }
                // The entry's id and its prompt's share one string.
                if (e.prompt)
                    e.prompt->id = id;
                s.prompts.insert(id, std::move(e));
            }
        } else if (key == QLatin1String("settings")) {
            seen |= settings;
            if (!in.expect('['))
                break;
            for (bool firstItem = true; in.item(firstItem);) {
                QString id;
                SettingEntry e;
                if (!readEntry(in, devices, id, e.stamp, [&](const QString& field) {
                        if (field != QLatin1String("v"))
                            return in.skip();
                        return in.stringOrNumber(e.value);
                    }))
                    break;
                if (!(e.value.isString() || e.value.isDouble())) {
                    in.fail("a setting has no value");
                    break;
                }
                s.settings.insert(id, e);
            }
        } else if (key == QLatin1String("clock")) {
            in.whole(0, maxStampTime, file.clock);
        } else if (key == QLatin1String("lastExchange")) {
            in.whole(0, maxStampTime, file.lastExchange);
        } else {
            in.skip(); // written by a later version of the same format
        }
    }
    if (in.ok() && !in.atEnd())
        in.fail("more after the end");
    if (in.ok() && seen != all)
        in.fail("a part is missing");
    if (!in.ok()) {
        result.error = in.error();
        return result;
    }
    result.status = SyncFileRead::read;
    return result;
}

} // namespace velmor
