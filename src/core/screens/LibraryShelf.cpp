#include "core/screens/LibraryShelf.h"

#include "core/content/ContentManager.h"
#include "core/content/UserLibrary.h"

#include <QCoreApplication>

namespace velmor {

QString shelfSummary(int activeCount, bool hasOwnPrompts) {
    const int categories = int(allCategories.size());
    // One has a text of its own, so English reads right without a catalogue.
    if (activeCount == 1)
        return (hasOwnPrompts
                    ? QCoreApplication::translate("LibraryShelf",
                                                  "1 prompt across %1 categories + yours")
                    : QCoreApplication::translate("LibraryShelf", "1 prompt across %1 categories"))
            .arg(categories);
    return (hasOwnPrompts
                ? QCoreApplication::translate("LibraryShelf",
                                              "%n prompts across %1 categories + yours", nullptr,
                                              activeCount)
                : QCoreApplication::translate("LibraryShelf", "%n prompts across %1 categories",
                                              nullptr, activeCount))
        .arg(categories);
}

Shelf buildShelf(const ContentManager& content, const UserLibrary& library) {
    const UserLibraryData& data = library.data();
    std::array<int, allCategories.size()> counts{}, favorites{};
    int active = 0;
    int yours = 0, yourFavorites = 0;
    const auto count = [&](const PromptItem& item) {
        if (data.hiddenIds.contains(item.id))
            return false;
        const bool favorite = data.favoriteIds.contains(item.id);
        ++active;
        ++counts[size_t(item.category)];
        favorites[size_t(item.category)] += favorite ? 1 : 0;
        return favorite;
    };
    for (const PromptItem& item : content.starterPrompts())
        count(item);
    for (const PromptItem& item : data.userPrompts) {
        if (data.hiddenIds.contains(item.id))
            continue;
        ++yours;
        yourFavorites += count(item) ? 1 : 0;
    }

    Shelf shelf;
    shelf.summary = shelfSummary(active, !data.userPrompts.isEmpty());
    for (PromptCategory category : allCategories)
        shelf.rows.append(ShelfRow{category, displayName(category), counts[size_t(category)],
                                   favorites[size_t(category)], false});
    shelf.rows.append(ShelfRow{std::nullopt, QCoreApplication::translate("LibraryShelf", "Yours"),
                               yours, yourFavorites, true});
    return shelf;
}

} // namespace velmor
