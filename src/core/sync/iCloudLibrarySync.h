#pragma once

#include "core/content/UserLibrary.h"

#include <QObject>

namespace velmor {

class SyncFolder;

// Folds one version of the library into the merged result: nothing yet takes the version, a
// higher schema version replaces the result, an equal one adds its new prompts (in its order)
// and its marks, a lower one is dropped.
void foldLibrary(std::optional<UserLibraryData>& merged, const UserLibraryData& version);

// The library's copy in the sync folder, "Velmor/user-library.json": read (after folding in
// the conflict copies sync programs left beside it) and written for the user library, and
// watched so that a change made on another computer reloads the library.
class iCloudLibrarySync final : public QObject, public LibraryMirror {
    Q_OBJECT
public:
    static constexpr const char* fileName = "user-library.json";

    iCloudLibrarySync(SyncFolder& folder, UserLibrary& library);

    bool isStarted() const { return isStarted_; }
    // Hands the copy to the library and reloads it from the copy; a second call does nothing.
    void start();

    // The copy's path, or empty while no sync folder is in use.
    QString iCloudFileURL() const;
    std::optional<UserLibraryData> readICloudCopy(const QString& path);
    void resolveConflicts(const QString& path);
    void writeICloudCopy(const QString& path, const QByteArray& bytes);

    // LibraryMirror
    bool isAvailable() const override;
    std::optional<UserLibraryData> read() override;
    void write(const QByteArray& bytes) override;

private:
    void signedInChanged();
    bool writeCopy(const QString& path, const QByteArray& bytes);

    SyncFolder& folder_;
    UserLibrary& library_;
    bool isStarted_ = false;
};

} // namespace velmor
