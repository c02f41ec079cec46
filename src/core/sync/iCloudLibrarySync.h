#pragma once

#include "core/content/UserLibrary.h"

#include <QObject>

namespace velmor {

class SyncFolder;

// Folds versions of the library into one: the first version is taken, a higher schema version
// replaces the result, an equal one adds its new prompts (in its order) and its marks, a lower
// one is dropped.
class LibraryFold {
public:
    void add(UserLibraryData version);
    const std::optional<UserLibraryData>& result() const { return merged_; }
    std::optional<UserLibraryData> take() { return std::move(merged_); }

private:
    std::optional<UserLibraryData> merged_;
    QSet<QString> ids_; // of merged_'s prompts, kept across versions
};

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
    void resolveConflicts(const QString& path) { resolve(path); }
    void writeICloudCopy(const QString& path, const QByteArray& bytes);

    // LibraryMirror
    bool isAvailable() const override;
    std::optional<UserLibraryData> read() override;
    void write(const QByteArray& bytes) override;

private:
    void signedInChanged();
    // The folded library once it is written to the copy, else nothing.
    std::optional<UserLibraryData> resolve(const QString& path);
    bool writeCopy(const QString& path, const QByteArray& bytes);

    SyncFolder& folder_;
    UserLibrary& library_;
    bool isStarted_ = false;
};

} // namespace velmor
