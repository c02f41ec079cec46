#include "core/content/ContentManager.h"

#include "core/base/Log.h"
#include "core/base/Resources.h"
#include "core/content/UserLibrary.h"
#include "core/settings/AppState.h"

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
    QObject::connect(&library_, &UserLibrary::dataChanged, &libraryWatch_,
                     [this] { candidatesValid_ = false; });
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
        const auto category =
            categoryFromRawValue(object.value(QLatin1String("category")).toString());
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
    candidatesValid_ = false;
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

    const UserLibraryData& data = library_.data();
    const std::vector<Candidate>& pool = candidates();

    // Which pool members were shown recently: compare the stored id hashes against the ten
    // of the window first, so most prompts cost one integer comparison per window entry.
    std::vector<size_t> recentHashes;
    for (const QString& id : recentlyShown_)
        recentHashes.push_back(qHash(id));
    std::vector<char> recent(pool.size(), 0);
    for (size_t i = 0; i < pool.size(); ++i)
        for (size_t h = 0; h < recentHashes.size(); ++h)
            if (pool[i].idHash == recentHashes[h] &&
                pool[i].item->id == recentlyShown_[qsizetype(h)]) {
                recent[i] = 1;
                break;
            }
    const bool offerEmpty = !recentlyShown_.contains(emptyPromptId);
    const int emptyWeight = data.favoriteIds.contains(emptyPromptId) ? 2 : 1;

    // The draw list holds each pool member once, favourites twice, in pool order; walking the
    // weights reaches the same entry as indexing that list, without building it.
    const auto poolWeight = [&](bool freshOnly) {
        std::uint64_t total = offerEmpty ? std::uint64_t(emptyWeight) : 0;
        for (size_t i = 0; i < pool.size(); ++i)
            if (!pool[i].hidden && !(freshOnly && recent[i]))
                total += pool[i].favorite ? 2 : 1;
        return total;
    };
    bool freshOnly = true;
    std::uint64_t total = poolWeight(true);
    if (total == 0) {
        freshOnly = false;
        total = poolWeight(false);
    }

    PromptItem result = fallbackPrompt();
    if (total > 0) {
        std::uint64_t pick = uniformBelow(random_, total);
        result = emptyPrompt();
        for (size_t i = 0; i < pool.size(); ++i) {
            if (pool[i].hidden || (freshOnly && recent[i]))
                continue;
            const std::uint64_t weight = pool[i].favorite ? 2 : 1;
            if (pick < weight) {
                result = *pool[i].item;
                break;
            }
            pick -= weight;
        }
    }
    recordShown(result);
    return result;
}

void ContentManager::recordShown(const PromptItem& prompt) {
    recentlyShown_.append(prompt.id);
    while (recentlyShown_.size() > maxRecent)
        recentlyShown_.removeFirst();
}

const std::vector<ContentManager::Candidate>& ContentManager::candidates() {
    if (!candidatesValid_) {
        const UserLibraryData& data = library_.data();
        candidateList_.clear();
        candidateList_.reserve(size_t(starterPrompts_.size() + data.userPrompts.size()));
        for (const QList<PromptItem>* list :
             std::array<const QList<PromptItem>*, 2>{&starterPrompts_, &data.userPrompts})
            for (const PromptItem& item : *list) {
                candidateList_.push_back({&item, qHash(item.id), data.favoriteIds.contains(item.id),
                                          data.hiddenIds.contains(item.id)});
            }
        candidatesValid_ = true;
    }
    return candidateList_;
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
