#include "core/content/LibraryFile.h"

#include "core/base/Files.h"
#include "core/base/Log.h"
#include "core/content/UserLibrary.h"

#include <QFile>

namespace velmor {

bool exportLibraryFile(const UserLibraryData& data, const QString& path) {
    QString error;
    if (writeFileAtomically(path, encodeLibrary(data), &error))
        return true;
    logLine(QStringLiteral("Export failed: ") + error);
    return false;
}

ImportResult importLibraryFile(const QString& path, UserLibrary& library) {
    QFile file(path);
    QString error;
    std::optional<UserLibraryData> decoded;
    if (file.open(QIODevice::ReadOnly))
        decoded = decodeLibrary(file.readAll(), &error);
    else
        error = file.errorString();
    if (!decoded) {
        logLine(QStringLiteral("Import failed: ") + error);
        return ImportResult::failed;
    }
    if (decoded->schemaVersion > UserLibraryData::currentSchemaVersion) {
        logLine(QStringLiteral("Newer schema version: ") + QString::number(decoded->schemaVersion));
        return ImportResult::newerSchema;
    }
    library.mergeLibrary(decoded->userPrompts, decoded->favoriteIds, decoded->hiddenIds);
    return ImportResult::merged;
}

} // namespace velmor
