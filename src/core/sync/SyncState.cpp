#include "core/sync/SyncState.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>
#include <vector>

namespace velmor {

bool operator<(const Stamp& a, const Stamp& b) {
    if (a.time != b.time)
        return a.time < b.time;
    return a.device < b.device;
}

namespace {

// A total order of values, for the equal stamps of a copied device id.
int compareValues(const PromptEntry& a, const PromptEntry& b) {
    if (a.prompt.has_value() != b.prompt.has_value())
        return a.prompt ? 1 : -1;
    if (a.order != b.order)
        return a.order < b.order ? -1 : 1;
    if (!a.prompt)
        return 0;
    const auto text = [](const PromptItem& p) {
        return QStringList{p.text,
                           p.source.value_or(QString()),
                           p.sourceWork.value_or(QString()),
                           rawValue(p.category),
                           rawValue(p.packSource),
                           p.id}
            .join(QChar(0));
    };
    return text(*a.prompt).compare(text(*b.prompt));
}
int compareValues(const MarkEntry& a, const MarkEntry& b) {
    return int(a.on) - int(b.on);
}
int compareValues(const SettingEntry& a, const SettingEntry& b) {
    const auto text = [](const QJsonValue& v) {
        return QString::fromUtf8(QJsonDocument(QJsonArray{v}).toJson(QJsonDocument::Compact));
    };
    return text(a.value).compare(text(b.value));
}

template <typename Entry> bool wins(const Entry& incoming, const Entry& current) {
    if (current.stamp < incoming.stamp)
        return true;
    if (incoming.stamp < current.stamp)
        return false;
    return compareValues(current, incoming) < 0;
}

bool isTombstone(const PromptEntry& e) {
    return !e.prompt;
}
bool isTombstone(const MarkEntry& e) {
    return !e.on;
}
bool isTombstone(const SettingEntry&) {
    return false;
}

template <typename Entry>
bool mergeMap(QHash<QString, Entry>& mine, const QHash<QString, Entry>& theirs, qint64 horizon) {
    bool changed = false;
    for (auto it = theirs.constBegin(); it != theirs.constEnd(); ++it) {
        if (isTombstone(it.value()) && it.value().stamp.time < horizon)
            continue;
        auto here = mine.find(it.key());
        if (here == mine.end()) {
            mine.insert(it.key(), it.value());
            changed = true;
        } else if (wins(it.value(), here.value())) {
            here.value() = it.value();
            changed = true;
        }
    }
    return changed;
}

template <typename Entry> void pruneMap(QHash<QString, Entry>& map, qint64 horizon) {
    map.removeIf([horizon](const auto& it) {
        return isTombstone(it.value()) && it.value().stamp.time < horizon;
    });
}

template <typename Entry> qint64 latest(const QHash<QString, Entry>& map) {
    qint64 time = 0;
    for (const Entry& e : map)
        time = std::max(time, e.stamp.time);
    return time;
}

} // namespace

int SyncState::merge(const SyncState& other, qint64 horizon) {
    bool library = mergeMap(prompts, other.prompts, horizon);
    library |= mergeMap(favorites, other.favorites, horizon);
    library |= mergeMap(hidden, other.hidden, horizon);
    const bool shared = mergeMap(settings, other.settings, horizon);
    return (library ? libraryPart : 0) | (shared ? settingsPart : 0);
}

void SyncState::prune(qint64 horizon) {
    pruneMap(prompts, horizon);
    pruneMap(favorites, horizon);
    pruneMap(hidden, horizon);
}

qint64 SyncState::latestTime() const {
    return std::max({latest(prompts), latest(favorites), latest(hidden), latest(settings)});
}

UserLibraryData SyncState::library() const {
    std::vector<const PromptEntry*> live;
    live.reserve(size_t(prompts.size()));
    for (const PromptEntry& e : prompts)
        if (e.prompt)
            live.push_back(&e);
    std::sort(live.begin(), live.end(), [](const PromptEntry* a, const PromptEntry* b) {
        if (a->order != b->order)
            return a->order < b->order;
        return a->prompt->id < b->prompt->id;
    });
    UserLibraryData data;
    // Room for the prompts the user adds next, so that adding one never moves a large list.
    data.userPrompts.reserve(qsizetype(live.size()) + 256);
    for (const PromptEntry* e : live)
        data.userPrompts.append(*e->prompt);
    for (auto it = favorites.constBegin(); it != favorites.constEnd(); ++it)
        if (it.value().on)
            data.favoriteIds.insert(it.key());
    for (auto it = hidden.constBegin(); it != hidden.constEnd(); ++it)
        if (it.value().on)
            data.hiddenIds.insert(it.key());
    return data;
}

void SyncState::apply(const LibraryChange& change, const Stamp& stamp) {
    switch (change.kind) {
    case LibraryChange::Kind::prompt: {
        PromptEntry& entry = prompts[change.id];
        // A prompt keeps its place when edited; a new or restored one goes to the end.
        if (change.prompt && !entry.prompt)
            entry.order = stamp.time;
        entry.stamp = stamp;
        entry.prompt = change.prompt;
        if (entry.prompt)
            entry.prompt->id = change.id;
        break;
    }
    case LibraryChange::Kind::favorite:
        favorites[change.id] = {stamp, change.on};
        break;
    case LibraryChange::Kind::hidden:
        hidden[change.id] = {stamp, change.on};
        break;
    }
}

bool SyncState::foldOlderLibrary(const UserLibraryData& data, const Stamp& stamp) {
    bool changed = false;
    qint64 order = stamp.time;
    for (const PromptItem& item : data.userPrompts) {
        if (prompts.contains(item.id))
            continue;
        prompts.insert(item.id, {{order, stamp.device}, item, order});
        ++order;
        changed = true;
    }
    const auto fold = [&](QHash<QString, MarkEntry>& marks, const QSet<QString>& ids) {
        for (const QString& id : ids)
            if (!marks.contains(id)) {
                marks.insert(id, {stamp, true});
                changed = true;
            }
    };
    fold(favorites, data.favoriteIds);
    fold(hidden, data.hiddenIds);
    return changed;
}

qint64 HybridClock::next() {
    last_ = std::max(last_ + 1, wall_() * 1000);
    return last_;
}

void HybridClock::witness(qint64 time) {
    last_ = std::max(last_, time);
}

} // namespace velmor
