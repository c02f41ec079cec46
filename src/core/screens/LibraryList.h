#pragma once

#include "core/screens/PromptRowRules.h"

#include <QList>
#include <QString>

#include <optional>

namespace velmor {

class AppState;
class ContentManager;
class UserLibrary;

// One line of a prompt list: a prompt's row, the inline editor in its place, the set-aside
// header, or a set-aside prompt with its "Restore" button.
struct ListEntry {
    enum class Kind { prompt, editor, setAsideHeader, setAsidePrompt };
    Kind kind = Kind::prompt;
    PromptItem prompt; // empty for the header
    RowFlags flags;
    bool lastSetAside = false; // no divider after it
};

// "N set aside".
QString setAsideHeaderText(int count);

// The lines of the category detail screen or of the user's own prompts ("Yours"): listed
// prompts in order, then the set-aside section (its prompts only while expanded), with the
// inline editor standing in for the row being edited.
class LibraryList {
public:
    static LibraryList forCategory(PromptCategory category);
    static LibraryList forYours();

    bool isYours() const { return !category_; }
    std::optional<PromptCategory> category() const { return category_; }

    void rebuild(const ContentManager& content, const UserLibrary& library,
                 const AppState& appState);

    const QList<ListEntry>& entries() const { return entries_; }
    // Neither listed nor set-aside prompts: the screen shows its empty text instead.
    bool isEmpty() const { return entries_.isEmpty(); }
    int setAsideCount() const { return setAsideCount_; }

    bool showHidden() const { return showHidden_; }
    void setShowHidden(bool expanded) { showHidden_ = expanded; }

    // The inline editor (the user's own prompts only; one row at a time).
    const std::optional<QString>& editingId() const { return editingId_; }
    QString editText;
    QString editAttribution;
    void beginEdit(const PromptItem& prompt);
    // Saves trimmed text and attribution; a blank text saves nothing and keeps the editor open.
    bool saveEdit(UserLibrary& library);
    void cancelEdit() { editingId_.reset(); }

private:
    explicit LibraryList(std::optional<PromptCategory> category) : category_(category) {}

    std::optional<PromptCategory> category_;
    QList<ListEntry> entries_;
    int setAsideCount_ = 0;
    bool showHidden_ = false;
    std::optional<QString> editingId_;
};

// The new-prompt fields of "Yours". The attribution field shows while the text is not empty
// (spaces count); adding clears both fields and hides it again.
class NewPromptDraft {
public:
    const QString& text() const { return text_; }
    const QString& attribution() const { return attribution_; }
    bool showAttribution() const { return showAttribution_; }
    void setText(const QString& text);
    void setAttribution(const QString& attribution) { attribution_ = attribution; }
    // Return in either field. False (and nothing changes) when the text is blank.
    bool submit(LibraryActions& actions);

private:
    QString text_;
    QString attribution_;
    bool showAttribution_ = false;
};

} // namespace velmor
