#include "core/content/UserLibrary.h"

#include "core/base/Files.h"
#include "core/base/Log.h"

#include <QFile>
#include <QUuid>

namespace velmor {

UserLibrary::UserLibrary(QString localPath, Clock& clock)
    : localPath_(std::move(localPath)), saveTimer_(clock) {
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
    QFile file(localPath_);
    if (localPath_.isEmpty() || !file.exists())
        return;
    QString error;
    std::optional<UserLibraryData> decoded;
    if (file.open(QIODevice::ReadOnly))
        decoded = decodeLibrary(file.readAll(), &error);
    else
        error = file.errorString();
    if (!decoded) {
        if (!localFileDamaged_)
            logLine(QStringLiteral("User library could not be read (%1); it will be kept aside "
                                   "before it is next saved")
                        .arg(error));
        localFileDamaged_ = true;
        return;
    }
    localFileDamaged_ = false;
    data_ = std::move(*decoded);
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
    if (!localPath_.isEmpty()) {
        if (localFileDamaged_ && QFile::exists(localPath_)) {
            const QString aside = keepAside(localPath_);
            if (aside.isEmpty()) {
                // Losing the user's file is worse than not saving: keep trying next time.
                logLine(QStringLiteral("User library not saved: could not keep the unreadable file "
                                       "aside"));
            } else {
                logLine(QStringLiteral("Unreadable user library kept aside as ") + aside);
                localFileDamaged_ = false;
            }
        }
        QString error;
        if (!localFileDamaged_ && !writeFileAtomically(localPath_, bytes, &error))
            logLine(QStringLiteral("User library could not be saved: ") + error);
    }
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
