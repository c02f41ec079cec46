#pragma once

#include "core/model/PromptItem.h"

#include <QByteArray>
#include <QList>
#include <QSet>

#include <optional>

namespace velmor {

// The user's own prompts, favourites and set-aside ids: the form of "user-library.json" and of
// exported library files.
struct UserLibraryData {
    static constexpr int currentSchemaVersion = 1;

    QList<PromptItem> userPrompts;
    QSet<QString> favoriteIds;
    QSet<QString> hiddenIds;
    // Wide enough to name any version a newer program could write.
    qint64 schemaVersion = currentSchemaVersion;

    friend bool operator==(const UserLibraryData&, const UserLibraryData&) = default;
};

// One change of the library, as the user made it: a prompt written (added or edited) or deleted,
// a favourite or set-aside mark put on or taken off. Sync keeps the library as such changes.
struct LibraryChange {
    enum class Kind { prompt, favorite, hidden };
    Kind kind = Kind::prompt;
    QString id;
    std::optional<PromptItem> prompt; // a prompt change: the new value, or none when deleted
    bool on = false;                  // a mark change

    friend bool operator==(const LibraryChange&, const LibraryChange&) = default;
};

// A written prompt replaces the one with its id where it stands, or is appended.
void applyChange(UserLibraryData& data, const LibraryChange& change);
// The changes that turn `from` into `to`: prompts written or deleted, marks put on or off. Written
// prompts come in `to`'s order.
QList<LibraryChange> changesBetween(const UserLibraryData& from, const UserLibraryData& to);

// Compact JSON with the four keys.
QByteArray encodeLibrary(const UserLibraryData& data);
// All four keys are required; any bad prompt, or a schema version that is not a whole number of
// at least 0, fails the whole document.
std::optional<UserLibraryData> decodeLibrary(const QByteArray& bytes, QString* error = nullptr);

// Pieces of the fast JSON writer, for other files that hold prompts: a string with the JSON
// writer's escapes, and a prompt object with sorted keys.
void appendJsonString(QByteArray& out, const QString& text);
void appendPromptJson(QByteArray& out, const PromptItem& item);

} // namespace velmor
