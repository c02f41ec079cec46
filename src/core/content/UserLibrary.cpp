#include "core/content/UserLibrary.h"

#include <QUuid>

namespace velmor {

UserLibrary::UserLibrary(QString localPath, Clock& clock)
    : local_(std::move(localPath), tr("User library")), saveTimer_(clock) {
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
    // The local file is read even when the mirror wins, so that a damaged one is known and kept
    // aside before a save writes over it.
    std::optional<UserLibraryData> local;
    const FileRead read = local_.read();
    if (read.status == FileRead::read) {
        QString error;
        local = decodeLibrary(read.bytes, &error);
        if (!local)
            local_.markDamaged(error);
    }
    if (mirror_ && mirror_->isAvailable()) {
        if (auto fromMirror = mirror_->read()) {
            if (saveTimer_.isPending()) {
                // Changes made here in the last half second are not in the copy yet: fold the
                // copy in instead of replacing them; the pending save then writes the merged
                // library to both files.
                foldIn(*fromMirror);
            } else {
                data_ = std::move(*fromMirror);
            }
            emit dataChanged();
            return;
        }
    }
    if (!local)
        return;
    data_ = std::move(*local);
    emit dataChanged();
}

void UserLibrary::changed() {
    emit dataChanged();
    scheduleSave();
}

void UserLibrary::addPrompt(const PromptItem& prompt) {
    data_.userPrompts.append(prompt);
    changed();
}

void UserLibrary::updatePrompt(const QString& id, const QString& text,
                               const std::optional<QString>& source) {
    for (PromptItem& item : data_.userPrompts) {
        if (item.id == id) {
            item.text = text;
            item.source = source;
            changed();
            return;
        }
    }
}

void UserLibrary::deletePrompt(const QString& id) {
    data_.userPrompts.removeIf([&](const PromptItem& item) { return item.id == id; });
    data_.favoriteIds.remove(id);
    changed();
}

void UserLibrary::toggleFavorite(const QString& id) {
    if (!data_.favoriteIds.remove(id))
        data_.favoriteIds.insert(id);
    changed();
}

void UserLibrary::hide(const QString& id) {
    data_.hiddenIds.insert(id);
    changed();
}

void UserLibrary::unhide(const QString& id) {
    data_.hiddenIds.remove(id);
    changed();
}

void UserLibrary::mergeLibrary(const QList<PromptItem>& prompts, const QSet<QString>& favorites,
                               const QSet<QString>& hidden) {
    foldIn(UserLibraryData{prompts, favorites, hidden, data_.schemaVersion});
    changed();
}

void UserLibrary::foldIn(const UserLibraryData& other) {
    const QList<PromptItem>& prompts = other.userPrompts;
    QSet<QString> known;
    for (const PromptItem& item : data_.userPrompts)
        known.insert(item.id);
    for (const PromptItem& item : prompts)
        if (!known.contains(item.id))
            data_.userPrompts.append(item);
    data_.favoriteIds.unite(other.favoriteIds);
    data_.hiddenIds.unite(other.hiddenIds);
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
    const QByteArray bytes = encodeLibrary(data_);
    local_.write(bytes); // failures are said once; the mirror is still written
    if (mirror_ && mirror_->isAvailable())
        mirror_->write(bytes);
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
