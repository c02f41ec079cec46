#include "content/ContentManager.h"

#include "content/UserLibrary.h"
#include "platform/Log.h"
#include "platform/Resources.h"
#include "state/AppState.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <array>

namespace velmor {

namespace {
const QString emptyPromptId = QStringLiteral("pattern-breaker-empty");

PromptItem builtIn(QString id, QString text, PromptCategory category) {
    PromptItem item;
    item.id = std::move(id);
    item.text = std::move(text);
    item.category = category;
    item.packSource = PackSource::starter;
    return item;
}
} // namespace

const PromptItem& ContentManager::emptyPrompt() {
    static const PromptItem item = builtIn(emptyPromptId, QString(), PromptCategory::body);
    return item;
}

const PromptItem& ContentManager::fallbackPrompt() {
    static const QString text = QStringLiteral("What if there was nothing to fix?");
    static const PromptItem item =
        builtIn(starterPromptId(text, std::nullopt), text, PromptCategory::question);
    return item;
}

ContentManager::ContentManager(AppState& appState, UserLibrary& library, QString packPath,
                               RandomWords random)
    : appState_(appState), library_(library), packPath_(std::move(packPath)),
      random_(std::move(random)) {
    loadStarterPrompts();
}

ContentManager& ContentManager::shared() {
    static ContentManager* instance = new ContentManager(AppState::shared(), UserLibrary::shared());
    return *instance;
}

std::optional<QList<PromptItem>> decodeStarterPack(const QByteArray& bytes, QString* error) {
    QJsonParseError parseError{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        *error = parseError.errorString() + QStringLiteral(" at offset ") +
                 QString::number(parseError.offset);
        return std::nullopt;
    }
    if (!document.isArray()) {
        *error = QStringLiteral("the pack is not a JSON array");
        return std::nullopt;
    }
    QList<PromptItem> prompts;
    int index = 0;
    for (const QJsonValue& value : document.array()) {
        const QJsonObject object = value.toObject();
        const QJsonValue text = object.value(QLatin1String("text"));
        const auto category = categoryFromRawValue(object.value(QLatin1String("category")).toString());
        const QJsonValue source = object.value(QLatin1String("source"));
        const QJsonValue work = object.value(QLatin1String("sourceWork"));
        const auto optionalOk = [](const QJsonValue& v) {
            return v.isUndefined() || v.isNull() || v.isString();
        };
        if (!value.isObject() || !text.isString() || !category || !optionalOk(source) ||
            !optionalOk(work)) {
            *error = QStringLiteral("element %1 is not a valid starter prompt").arg(index);
            return std::nullopt;
        }
        PromptItem item;
        item.text = text.toString();
        item.category = *category;
        if (source.isString())
            item.source = source.toString();
        if (work.isString())
            item.sourceWork = work.toString();
        item.packSource = PackSource::starter;
        item.id = starterPromptId(item.text, item.source);
        prompts.append(item);
        ++index;
    }
    return prompts;
}

void ContentManager::loadStarterPrompts() {
    const QString path =
        packPath_.isEmpty() ? resourcePath(QStringLiteral("StarterPrompts.json")) : packPath_;
    QFile file(path);
    if (path.isEmpty() || !file.exists()) {
        logLine(QStringLiteral("StarterPrompts.json not found in bundle"));
        return;
    }
    QString error;
    std::optional<QList<PromptItem>> prompts;
    if (file.open(QIODevice::ReadOnly))
        prompts = decodeStarterPack(file.readAll(), &error);
    else
        error = file.errorString();
    if (!prompts) {
        logLine(QStringLiteral("Failed to load prompts: ") + error);
        return;
    }
    starterPrompts_ = std::move(*prompts);
    logLine(QStringLiteral("Loaded %1 starter prompts").arg(starterPrompts_.size()));
}

QList<PromptItem> ContentManager::allPrompts() const {
    return starterPrompts_ + library_.data().userPrompts;
}

PromptItem ContentManager::nextPrompt() {
    if (const auto sittingWith = appState_.sittingWithPromptId()) {
        for (const PromptItem& item : allPrompts())
            if (item.id == *sittingWith)
                return item;
        appState_.setSittingWithPromptId(std::nullopt);
    }

    // Pointers, not copies: the pool can hold thousands of prompts and this runs per overlay.
    const UserLibraryData& data = library_.data();
    std::vector<const PromptItem*> available;
    available.reserve(size_t(starterPrompts_.size() + data.userPrompts.size()) + 1);
    for (const QList<PromptItem>* list :
         std::array<const QList<PromptItem>*, 2>{&starterPrompts_, &data.userPrompts})
        for (const PromptItem& item : *list)
            if (!data.hiddenIds.contains(item.id))
                available.push_back(&item);
    if (!recentlyShown_.contains(emptyPromptId))
        available.push_back(&emptyPrompt());

    std::vector<const PromptItem*> fresh;
    fresh.reserve(available.size());
    for (const PromptItem* item : available)
        if (!recentlyShown_.contains(item->id))
            fresh.push_back(item);
    const std::vector<const PromptItem*>& pool = fresh.empty() ? available : fresh;

    // Favourites stand twice in the draw list, so they are twice as likely.
    std::vector<const PromptItem*> draw;
    draw.reserve(pool.size() * 2);
    for (const PromptItem* item : pool) {
        draw.push_back(item);
        if (data.favoriteIds.contains(item->id))
            draw.push_back(item);
    }
    const PromptItem result =
        draw.empty() ? fallbackPrompt() : *draw[uniformBelow(random_, draw.size())];
    recordShown(result);
    return result;
}

void ContentManager::recordShown(const PromptItem& prompt) {
    recentlyShown_.append(prompt.id);
    while (recentlyShown_.size() > maxRecent)
        recentlyShown_.removeFirst();
}

QList<PromptItem> ContentManager::activePrompts() const {
    QList<PromptItem> result;
    for (const PromptItem& item : allPrompts())
        if (!library_.data().hiddenIds.contains(item.id))
            result.append(item);
    return result;
}

QList<PromptItem> ContentManager::prompts(PromptCategory category) const {
    QList<PromptItem> result;
    for (const PromptItem& item : activePrompts())
        if (item.category == category)
            result.append(item);
    return result;
}

QList<PromptItem> ContentManager::hiddenPrompts(PromptCategory category) const {
    QList<PromptItem> result;
    for (const PromptItem& item : allPrompts())
        if (item.category == category && library_.data().hiddenIds.contains(item.id))
            result.append(item);
    return result;
}

int ContentManager::favoriteCount(PromptCategory category) const {
    int count = 0;
    for (const PromptItem& item : prompts(category))
        if (library_.data().favoriteIds.contains(item.id))
            ++count;
    return count;
}

QList<PromptItem> ContentManager::activeUserPrompts() const {
    QList<PromptItem> result;
    for (const PromptItem& item : library_.data().userPrompts)
        if (!library_.data().hiddenIds.contains(item.id))
            result.append(item);
    return result;
}

QList<PromptItem> ContentManager::hiddenUserPrompts() const {
    QList<PromptItem> result;
    for (const PromptItem& item : library_.data().userPrompts)
        if (library_.data().hiddenIds.contains(item.id))
            result.append(item);
    return result;
}

} // namespace velmor
