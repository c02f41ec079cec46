#pragma once

#include "core/content/UserLibraryData.h"

#include <QHash>
#include <QJsonValue>
#include <QString>

#include <functional>
#include <optional>

namespace velmor {

// When an entry was last written: a hybrid logical clock time (Unix milliseconds x 1000 plus a
// counter, see HybridClock) and the device that wrote it. The later time wins; equal times go to
// the greater device id.
struct Stamp {
    qint64 time = 0;
    QString device;

    friend bool operator==(const Stamp&, const Stamp&) = default;
};
bool operator<(const Stamp& a, const Stamp& b);

// One of the user's prompts: its value, or none once deleted (a tombstone), and its place in the
// list, which is the time it was added and stays when it is edited.
struct PromptEntry {
    Stamp stamp;
    std::optional<PromptItem> prompt;
    qint64 order = 0;

    friend bool operator==(const PromptEntry&, const PromptEntry&) = default;
};

// A favourite or set-aside mark; off is a tombstone.
struct MarkEntry {
    Stamp stamp;
    bool on = false;

    friend bool operator==(const MarkEntry&, const MarkEntry&) = default;
};

// A shared setting: a string or a number.
struct SettingEntry {
    Stamp stamp;
    QJsonValue value;

    friend bool operator==(const SettingEntry&, const SettingEntry&) = default;
};

// Everything the computers share, entry by entry. Merging keeps the later write of each entry
// (equal stamps, which only a copied device id can give, are settled by the values), so states
// merged in any order, any number of times, give the same state.
struct SyncState {
    QHash<QString, PromptEntry> prompts;
    QHash<QString, MarkEntry> favorites;
    QHash<QString, MarkEntry> hidden;
    QHash<QString, SettingEntry> settings;

    enum Part { libraryPart = 1, settingsPart = 2 };
    // Tombstones written before `horizon` are not taken: they have done their work. Returns the
    // parts that changed here.
    int merge(const SyncState& other, qint64 horizon = 0);
    // Forgets tombstones written before `horizon`.
    void prune(qint64 horizon);
    qint64 latestTime() const;
    // Live prompts in the order they were added, marks that are on.
    UserLibraryData library() const;
    // Takes a change as written now, at `stamp`.
    void apply(const LibraryChange& change, const Stamp& stamp);
    // Takes what another computer's file of the older layout holds: only prompts and marks this
    // state has never heard of (neither live nor deleted), added at `stamp` onwards in the
    // file's order. Returns whether anything changed.
    bool foldOlderLibrary(const UserLibraryData& data, const Stamp& stamp);

    friend bool operator==(const SyncState&, const SyncState&) = default;
};

// Hands out stamp times for this computer: each later than the last one and than every time it
// has seen, and never behind the wall clock.
class HybridClock {
public:
    explicit HybridClock(std::function<qint64()> wallMilliseconds)
        : wall_(std::move(wallMilliseconds)) {}
    qint64 next();
    void witness(qint64 time);
    qint64 last() const { return last_; }

private:
    std::function<qint64()> wall_;
    qint64 last_ = 0;
};

// Whole times fit a JSON number exactly up to 2^53, well past the year 2200.
inline constexpr qint64 maxStampTime = (qint64(1) << 53) - 1;

} // namespace velmor
