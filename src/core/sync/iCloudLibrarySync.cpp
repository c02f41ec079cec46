#include "core/sync/iCloudLibrarySync.h"

#include "core/base/Log.h"
#include "core/sync/SyncFolder.h"

#include <QFile>
#include <QFileInfo>

namespace velmor {

void foldLibrary(std::optional<UserLibraryData>& merged, const UserLibraryData& version) {
    if (!merged || merged->schemaVersion < version.schemaVersion) {
        merged = version;
        return;
    }
    if (merged->schemaVersion > version.schemaVersion)
        return;
    QSet<QString> known;
    known.reserve(merged->userPrompts.size());
    for (const PromptItem& item : std::as_const(merged->userPrompts))
        known.insert(item.id);
    for (const PromptItem& item : version.userPrompts)
        if (!known.contains(item.id))
            merged->userPrompts.append(item);
    merged->favoriteIds.unite(version.favoriteIds);
    merged->hiddenIds.unite(version.hiddenIds);
}

iCloudLibrarySync::iCloudLibrarySync(SyncFolder& folder, UserLibrary& library)
    : folder_(folder), library_(library) {
    folder_.track(QLatin1String(fileName));
}

void iCloudLibrarySync::start() {
    if (isStarted_)
        return;
    isStarted_ = true;
    library_.setMirror(this);
    connect(&folder_, &SyncFolder::changed, this, [this](const QString& name) {
        if (name == QLatin1String(fileName))
            QMetaObject::invokeMethod(&library_, &UserLibrary::load, Qt::QueuedConnection);
    });
    connect(&folder_, &SyncFolder::signedInChanged, this, &iCloudLibrarySync::signedInChanged);
    if (isAvailable())
        library_.load();
}

// A folder chosen while running joins this computer's library with the copy it holds, so
// neither side loses anything, and writes the result to both.
void iCloudLibrarySync::signedInChanged() {
    if (!isAvailable())
        return;
    const auto copy = readICloudCopy(iCloudFileURL());
    if (copy)
        library_.mergeLibrary(copy->userPrompts, copy->favoriteIds, copy->hiddenIds);
    else
        library_.scheduleSave();
}

QString iCloudLibrarySync::iCloudFileURL() const {
    return folder_.filePath(QLatin1String(fileName));
}

bool iCloudLibrarySync::isAvailable() const {
    return folder_.isSignedIn();
}

std::optional<UserLibraryData> iCloudLibrarySync::read() {
    return readICloudCopy(iCloudFileURL());
}

void iCloudLibrarySync::write(const QByteArray& bytes) {
    writeICloudCopy(iCloudFileURL(), bytes);
}

std::optional<UserLibraryData> iCloudLibrarySync::readICloudCopy(const QString& path) {
    if (path.isEmpty())
        return std::nullopt;
    resolveConflicts(path);
    if (!QFileInfo::exists(path))
        return std::nullopt;
    QString error;
    const auto bytes = folder_.read(QFileInfo(path).fileName(), &error);
    if (!bytes) {
        if (!error.isEmpty())
            logLine(QStringLiteral("UserLibrary iCloud read failed: ") + error);
        return std::nullopt;
    }
    auto decoded = decodeLibrary(*bytes, &error);
    if (!decoded)
        logLine(QStringLiteral("UserLibrary iCloud read failed: ") + error);
    return decoded;
}

void iCloudLibrarySync::resolveConflicts(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    const QStringList versions = folder_.conflictCopies(name);
    if (versions.isEmpty())
        return;
    std::optional<UserLibraryData> merged;
    if (const auto current = folder_.read(name))
        merged = decodeLibrary(*current);
    for (const QString& version : versions) {
        QFile file(version);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        if (const auto decoded = decodeLibrary(file.readAll()))
            foldLibrary(merged, *decoded);
    }
    // Copies stay put until their merged result is safely in the folder.
    if (merged && !writeCopy(path, encodeLibrary(*merged)))
        return;
    // Resolved or not, every copy leaves the folder, so that it is not folded in again; what
    // it held is kept in the resolved-conflicts folder.
    for (const QString& version : versions) {
        QString error;
        if (!folder_.moveAside(version, &error))
            logLine(QStringLiteral("Conflict copy %1 could not be moved aside: %2")
                        .arg(version, error));
    }
}

void iCloudLibrarySync::writeICloudCopy(const QString& path, const QByteArray& bytes) {
    writeCopy(path, bytes);
}

bool iCloudLibrarySync::writeCopy(const QString& path, const QByteArray& bytes) {
    QString error;
    if (folder_.write(QFileInfo(path).fileName(), bytes, &error))
        return true;
    logLine(QStringLiteral("UserLibrary iCloud write failed: ") + error);
    return false;
}

} // namespace velmor
