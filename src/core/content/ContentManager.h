#pragma once

#include "core/base/Random.h"
#include "core/model/PromptItem.h"

#include <QList>
#include <QObject>
#include <QStringList>

#include <vector>

namespace velmor {

class AppState;
class UserLibrary;

// Owns the starter prompts and chooses the prompt of each overlay: the one sat with, else a
// weighted draw (favourites twice) that skips set-aside prompts and the last ten shown, now and
// then an overlay without text, and a fallback when nothing else is left.
class ContentManager {
public:
    static constexpr int maxRecent = 10;
    static const PromptItem& emptyPrompt();
    static const PromptItem& fallbackPrompt();

    // Loads the pack from `packPath` (empty: the shipped one).
    ContentManager(AppState& appState, UserLibrary& library, QString packPath = QString(),
                   RandomWords random = systemRandomWords());

    static ContentManager& shared();

    void loadStarterPrompts();
    PromptItem nextPrompt();
    void recordShown(const PromptItem& prompt);

    const QList<PromptItem>& starterPrompts() const { return starterPrompts_; }
    const QStringList& recentlyShown() const { return recentlyShown_; }

    QList<PromptItem> activePrompts() const;
    QList<PromptItem> prompts(PromptCategory category) const;
    QList<PromptItem> hiddenPrompts(PromptCategory category) const;
    QList<PromptItem> activeUserPrompts() const;
    QList<PromptItem> hiddenUserPrompts() const;

private:
    // Starter then user prompts with their marks, rebuilt only when the library or the pack
    // changes, so a draw over thousands of prompts does no hashing per prompt.
    struct Candidate {
        const PromptItem* item;
        size_t idHash;
        bool favorite;
        bool hidden;
    };
    const std::vector<Candidate>& candidates();
    QList<PromptItem> allPrompts() const;

    AppState& appState_;
    UserLibrary& library_;
    QString packPath_;
    RandomWords random_;
    QList<PromptItem> starterPrompts_;
    QStringList recentlyShown_;
    std::vector<Candidate> candidateList_;
    bool candidatesValid_ = false;
    QObject libraryWatch_; // ends the connection to the library with this object
};

// Parses a starter pack: a JSON array of {text, category, source?, sourceWork?}. One bad element
// fails the whole pack.
std::optional<QList<PromptItem>> decodeStarterPack(const QByteArray& bytes, QString* error);

} // namespace velmor
