#include "core/screens/LibraryList.h"

#include "core/content/ContentManager.h"
#include "core/content/UserLibrary.h"
#include "core/settings/AppState.h"

#include <QCoreApplication>

namespace velmor {

QString setAsideHeaderText(int count) {
    return QCoreApplication::translate("SetAsideSection", "%n set aside", nullptr, count);
}

LibraryList LibraryList::forCategory(PromptCategory category) {
    return LibraryList(category);
}
LibraryList LibraryList::forYours() {
    return LibraryList(std::nullopt);
}

void LibraryList::rebuild(const ContentManager& content, const UserLibrary& library,
                          const AppState& appState) {
    const QList<PromptItem> listed =
        category_ ? content.prompts(*category_) : content.activeUserPrompts();
    const QList<PromptItem> hidden =
        category_ ? content.hiddenPrompts(*category_) : content.hiddenUserPrompts();
    const QSet<QString>& favorites = library.data().favoriteIds;
    const std::optional<QString> sitting = appState.sittingWithPromptId();

    // An editor whose prompt went away (deleted, set aside elsewhere) closes.
    bool editorFound = false;
    entries_.clear();
    entries_.reserve(listed.size() + 1 + (showHidden_ ? hidden.size() : 0));
    for (const PromptItem& item : listed) {
        ListEntry entry;
        entry.prompt = item;
        entry.flags.isFavorite = favorites.contains(item.id);
        entry.flags.isSitting = sitting == item.id;
        entry.flags.canDelete = item.packSource == PackSource::user;
        entry.flags.canEdit = isYours();
        entry.flags.canSitWith = true;
        if (editingId_ == item.id) {
            entry.kind = ListEntry::Kind::editor;
            editorFound = true;
        }
        entries_.append(std::move(entry));
    }
    if (!editorFound)
        editingId_.reset();

    setAsideCount_ = int(hidden.size());
    if (hidden.isEmpty())
        return;
    ListEntry header;
    header.kind = ListEntry::Kind::setAsideHeader;
    entries_.append(header);
    if (!showHidden_)
        return;
    for (const PromptItem& item : hidden) {
        ListEntry entry;
        entry.kind = ListEntry::Kind::setAsidePrompt;
        entry.prompt = item;
        entry.lastSetAside = item.id == hidden.last().id;
        entries_.append(std::move(entry));
    }
}

void LibraryList::beginEdit(const PromptItem& prompt) {
    editText = prompt.text;
    editAttribution = prompt.source.value_or(QString());
    editingId_ = prompt.id;
}

bool LibraryList::saveEdit(UserLibrary& library) {
    if (!editingId_)
        return false;
    const QString text = editText.trimmed();
    if (text.isEmpty())
        return false;
    const QString source = editAttribution.trimmed();
    library.updatePrompt(*editingId_, text,
                         source.isEmpty() ? std::nullopt : std::optional<QString>(source));
    editingId_.reset();
    return true;
}

void NewPromptDraft::setText(const QString& text) {
    text_ = text;
    showAttribution_ = !text.isEmpty();
}

bool NewPromptDraft::submit(LibraryActions& actions) {
    if (!actions.addPrompt(text_, attribution_))
        return false;
    text_.clear();
    attribution_.clear();
    showAttribution_ = false;
    return true;
}

} // namespace velmor
