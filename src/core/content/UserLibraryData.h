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

// Compact JSON with the four keys.
QByteArray encodeLibrary(const UserLibraryData& data);
// All four keys are required; any bad prompt, or a schema version that is not a whole number of
// at least 0, fails the whole document.
std::optional<UserLibraryData> decodeLibrary(const QByteArray& bytes, QString* error = nullptr);

} // namespace velmor
