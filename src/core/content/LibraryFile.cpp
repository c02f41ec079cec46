#include "core/content/LibraryFile.h"

#include "core/base/Files.h"
#include "core/base/Log.h"
#include "core/content/UserLibrary.h"

#include <QCoreApplication>

namespace velmor {

namespace {
// Drops prompts that cannot stand in a library: an empty id, an empty text, or an id that an
// earlier prompt of the same file already has (the first one stays). Returns how many.
int dropUnusablePrompts(UserLibraryData& data) {
    QSet<QString> seen;
    const qsizetype before = data.userPrompts.size();
    data.userPrompts.removeIf([&](const PromptItem& item) {
        if (item.id.isEmpty() || item.text.trimmed().isEmpty() || seen.contains(item.id))
            return true;
        seen.insert(item.id);
        return false;
    });
    data.favoriteIds.remove(QString());
    data.hiddenIds.remove(QString());
    return int(before - data.userPrompts.size());
}
} // namespace

bool exportLibraryFile(const UserLibraryData& data, const QString& path) {
    QString error;
    if (writeFileAtomically(path, encodeLibrary(data), &error))
        return true;
    logLine(QStringLiteral("Export failed: ") + error);
    return false;
}

ImportResult importLibraryFile(const QString& path, UserLibrary& library) {
    // Read like the library itself: a FIFO or a huge file chosen by mistake is refused.
    const FileRead read = readRegularFile(path, OwnedFile::defaultMaxBytes);
    QString error;
    std::optional<UserLibraryData> decoded;
    if (read.status == FileRead::read)
        decoded = decodeLibrary(read.bytes, &error);
    else if (read.status == FileRead::missing)
        error = QCoreApplication::translate("LibraryFile", "no such file");
    else
        error = read.reason;
    if (!decoded) {
        logLine(QStringLiteral("Import failed: ") + error);
        return ImportResult::failed;
    }
    if (decoded->schemaVersion > UserLibraryData::currentSchemaVersion) {
        logLine(QStringLiteral("Newer schema version: ") + QString::number(decoded->schemaVersion));
        return ImportResult::newerSchema;
    }
    if (const int dropped = dropUnusablePrompts(*decoded))
        logLine(QCoreApplication::translate(
            "LibraryFile",
            "Import skipped %n prompt(s) with an empty id, an empty text "
            "or an id used earlier in the file",
            nullptr, dropped));
    library.mergeLibrary(decoded->userPrompts, decoded->favoriteIds, decoded->hiddenIds);
    return ImportResult::merged;
}

} // namespace velmor
