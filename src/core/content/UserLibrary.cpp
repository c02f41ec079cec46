#include "core/content/UserLibrary.h"

#include <QUuid>

namespace velmor {

using Kind = LibraryChange::Kind;

UserLibrary::UserLibrary(QString localPath, Clock& clock)
    : local_(std::move(localPath), tr("User library"), maxFileBytes), saveTimer_(clock) {
    load();
}

UserLibrary& UserLibrary::shared() {
    static UserLibrary* instance = new UserLibrary(defaultLocalPath(), Clock::shared());
    return *instance;
}

QString UserLibrary::defaultLocalPath() {
    return velmorDataDir() + QStringLiteral("/user-library.json");
}

void UserLibrary::load() {
    const FileRead read = local_.read();
    if (read.status != FileRead::read)
        return;
    QString error;
    auto decoded = decodeLibrary(read.bytes, &error);
    if (!decoded) {
        local_.markDamaged(error);
        return;
    }
    data_ = std::move(*decoded);
    emit dataChanged();
}

void UserLibrary::change(QList<LibraryChange> changes) {
    for (const LibraryChange& c : std::as_const(changes))
        applyChange(data_, c);
    if (journal_ && !changes.isEmpty()) {
        const quint64 number = ++lastNumber_;
        for (const LibraryChange& c : std::as_const(changes))
            unmerged_.append({number, c});
        journal_->record(changes, number);
    }
    emit dataChanged();
    scheduleSave();
}

void UserLibrary::addPrompt(const PromptItem& prompt) {
    change({{Kind::prompt, prompt.id, prompt, false}});
}

void UserLibrary::updatePrompt(const QString& id, const QString& text,
                               const std::optional<QString>& source) {
    for (const PromptItem& item : std::as_const(data_.userPrompts)) {
        if (item.id == id) {
            PromptItem edited = item;
            edited.text = text;
            edited.source = source;
            change({{Kind::prompt, id, edited, false}});
            return;
        }
    }
}

void UserLibrary::deletePrompt(const QString& id) {
    change({{Kind::prompt, id, std::nullopt, false}, {Kind::favorite, id, std::nullopt, false}});
}

void UserLibrary::toggleFavorite(const QString& id) {
    change({{Kind::favorite, id, std::nullopt, !data_.favoriteIds.contains(id)}});
}

void UserLibrary::hide(const QString& id) {
    change({{Kind::hidden, id, std::nullopt, true}});
}

void UserLibrary::unhide(const QString& id) {
    change({{Kind::hidden, id, std::nullopt, false}});
}

void UserLibrary::mergeLibrary(const QList<PromptItem>& prompts, const QSet<QString>& favorites,
                               const QSet<QString>& hidden) {
    QSet<QString> known;
    for (const PromptItem& item : std::as_const(data_.userPrompts))
        known.insert(item.id);
    QList<LibraryChange> changes;
    // A prompt is known by its id: one that repeats an id, here or in the file, is left out.
    for (const PromptItem& item : prompts)
        if (!known.contains(item.id)) {
            known.insert(item.id);
            changes.append({Kind::prompt, item.id, item, false});
        }
    for (const QString& id : favorites)
        if (!data_.favoriteIds.contains(id))
            changes.append({Kind::favorite, id, std::nullopt, true});
    for (const QString& id : hidden)
        if (!data_.hiddenIds.contains(id))
            changes.append({Kind::hidden, id, std::nullopt, true});
    change(std::move(changes));
}

void UserLibrary::scheduleSave() {
    saveTimer_.startAfter(saveDelaySeconds, [this] { save(); });
}

void UserLibrary::flush() {
    if (saveTimer_.isPending())
        save();
}

void UserLibrary::save() {
    saveTimer_.cancel();
    if (journal_)
        journal_->save();
    else
        local_.write(encodeLibrary(data_)); // a failure is said once
}

void UserLibrary::acknowledge(quint64 upTo) {
    unmerged_.removeIf([upTo](const auto& c) { return c.first <= upTo; });
}

void UserLibrary::takeMerged(UserLibraryData merged, quint64 upTo) {
    acknowledge(upTo);
    for (const auto& c : std::as_const(unmerged_))
        applyChange(merged, c.second);
    data_ = std::move(merged);
    emit dataChanged();
}

std::optional<PromptItem> makeUserPrompt(const QString& text, const QString& attribution) {
    const QString trimmedText = text.trimmed();
    if (trimmedText.isEmpty())
        return std::nullopt;
    const QString trimmedSource = attribution.trimmed();
    PromptItem item;
    item.id = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
    item.text = trimmedText;
    item.category = PromptCategory::question;
    if (!trimmedSource.isEmpty())
        item.source = trimmedSource;
    item.packSource = PackSource::user;
    return item;
}

} // namespace velmor
