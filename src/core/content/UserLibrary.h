#pragma once

#include "core/base/Clock.h"
#include "core/base/Files.h"
#include "core/content/UserLibraryData.h"

#include <QObject>

namespace velmor {

// A second copy of the library that is kept beside the local file (the sync folder). While it
// is available, load prefers it and every save writes it too.
class LibraryMirror {
public:
    virtual ~LibraryMirror() = default;
    virtual bool isAvailable() const = 0;
    virtual std::optional<UserLibraryData> read() = 0;
    virtual void write(const QByteArray& bytes) = 0;
};

// The user's prompts, favourites and set-aside marks. Every change is saved half a second after
// the last one; a pending save is written at once by flush() (the program calls it at quit).
class UserLibrary final : public QObject {
    Q_OBJECT
public:
    static constexpr double saveDelaySeconds = 0.5;

    UserLibrary(QString localPath, Clock& clock);

    static UserLibrary& shared();
    static QString defaultLocalPath();

    const UserLibraryData& data() const { return data_; }
    void setMirror(LibraryMirror* mirror) { mirror_ = mirror; }

    void load();

    void addPrompt(const PromptItem& prompt);
    void updatePrompt(const QString& id, const QString& text, const std::optional<QString>& source);
    void deletePrompt(const QString& id);
    void toggleFavorite(const QString& id);
    void hide(const QString& id);
    void unhide(const QString& id);
    // Adds prompts whose ids are new and unites the id sets; never removes or overwrites.
    void mergeLibrary(const QList<PromptItem>& prompts, const QSet<QString>& favorites,
                      const QSet<QString>& hidden);

    void scheduleSave();
    void save();
    void flush();
    bool hasPendingSave() const { return saveTimer_.isPending(); }
    OwnedFile& localFile() { return local_; }

signals:
    void dataChanged();

private:
    void changed();
    // Adds the other library's new prompts and unites the id sets; no signal, no save.
    void foldIn(const UserLibraryData& other);

    OwnedFile local_;
    OneShot saveTimer_;
    LibraryMirror* mirror_ = nullptr;
    UserLibraryData data_;
};

// A fresh user prompt as the editor makes it: trimmed text (empty gives nothing), trimmed
// attribution or none, a random upper-case UUID, category question.
std::optional<PromptItem> makeUserPrompt(const QString& text, const QString& attribution);

} // namespace velmor
