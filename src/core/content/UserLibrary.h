#pragma once

#include "core/base/Clock.h"
#include "core/base/Files.h"
#include "core/content/UserLibraryData.h"

#include <QObject>

namespace velmor {

// Where the library's changes go once sync keeps the library: it takes each change as it is
// made (`upTo` numbers the last one), merges them with what the other computers did, and writes
// the library file when asked to save.
class LibraryJournal {
public:
    virtual ~LibraryJournal() = default;
    virtual void record(const QList<LibraryChange>& changes, quint64 upTo) = 0;
    virtual void save() = 0;
};

// The user's prompts, favourites and set-aside marks. Every change is saved half a second after
// the last one; a pending save is written at once by flush() (the program calls it at quit).
// Without a journal the library writes its file itself; with one, each change goes to the
// journal as it is made, a save asks the journal to write, and the merged library comes back
// through takeMerged().
class UserLibrary final : public QObject {
    Q_OBJECT
public:
    static constexpr double saveDelaySeconds = 0.5;
    // Large enough for a six-figure library.
    static constexpr qint64 maxFileBytes = 64 * 1024 * 1024;

    UserLibrary(QString localPath, Clock& clock);

    static UserLibrary& shared();
    static QString defaultLocalPath();

    const UserLibraryData& data() const { return data_; }
    void setJournal(LibraryJournal* journal) { journal_ = journal; }

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

    // The journal's merged library, which holds the changes up to `upTo`; later changes made
    // here are laid on top of it, so nothing the user just did flickers away.
    void takeMerged(UserLibraryData merged, quint64 upTo);
    // The journal holds the changes up to `upTo`.
    void acknowledge(quint64 upTo);

signals:
    void dataChanged();

private:
    void change(QList<LibraryChange> changes);

    OwnedFile local_;
    OneShot saveTimer_;
    LibraryJournal* journal_ = nullptr;
    UserLibraryData data_;
    // Handed to the journal and not yet in a merged library it sent back, by number.
    QList<std::pair<quint64, LibraryChange>> unmerged_;
    quint64 lastNumber_ = 0;
};

// A fresh user prompt as the editor makes it: trimmed text (empty gives nothing), trimmed
// attribution or none, a random upper-case UUID, category question.
std::optional<PromptItem> makeUserPrompt(const QString& text, const QString& attribution);

} // namespace velmor
