#include "core/sync/iCloudLibrarySync.h"

#include "core/base/Log.h"
#include "core/sync/SyncFolder.h"

#include <QFile>
#include <QFileInfo>

namespace velmor {

void LibraryFold::add(UserLibraryData version) {
    if (!merged_ || merged_->schemaVersion < version.schemaVersion) {
        merged_ = std::move(version);
        ids_.clear();
        ids_.reserve(merged_->userPrompts.size());
        for (const PromptItem& item : std::as_const(merged_->userPrompts))
            ids_.insert(item.id);
        return;
    }
    if (merged_->schemaVersion > version.schemaVersion)
        return;
    // Ids are added only after the pass: a version that repeats an id adds it each time.
    QList<QString> added;
    for (PromptItem& item : version.userPrompts)
        if (!ids_.contains(item.id)) {
            added << item.id;
            merged_->userPrompts.append(std::move(item));
        }
    for (const QString& id : std::as_const(added))
        ids_.insert(id);
    merged_->favoriteIds.unite(version.favoriteIds);
    merged_->hiddenIds.unite(version.hiddenIds);
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
    // The folded library is what the file now holds: no need to read it back.
    if (auto folded = resolve(path))
        return folded;
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

std::optional<UserLibraryData> iCloudLibrarySync::resolve(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    const QStringList versions = folder_.conflictCopies(name);
    if (versions.isEmpty())
        return std::nullopt;
    LibraryFold fold;
    if (const auto current = folder_.read(name))
        if (auto decoded = decodeLibrary(*current))
            fold.add(std::move(*decoded));
    for (const QString& version : versions) {
        QFile file(version);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        if (auto decoded = decodeLibrary(file.readAll()))
            fold.add(std::move(*decoded));
    }
    // Copies stay put until their folded result is safely in the folder.
    if (fold.result() && !writeCopy(path, encodeLibrary(*fold.result())))
        return std::nullopt;
    // Resolved or not, every copy leaves the folder, so that it is not folded in again; what
    // it held is kept in the resolved-conflicts folder.
    for (const QString& version : versions) {
        QString error;
        if (!folder_.moveAside(version, &error))
            logLine(QStringLiteral("Conflict copy %1 could not be moved aside: %2")
                        .arg(version, error));
    }
    return fold.take();
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
