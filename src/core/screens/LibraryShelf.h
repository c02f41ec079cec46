#pragma once

#include "core/model/PromptItem.h"

#include <QList>
#include <QString>

#include <optional>

namespace velmor {

class ContentManager;
class UserLibrary;

// One row of the library's shelf: a category, or the user's own prompts when `category` is
// absent.
struct ShelfRow {
    std::optional<PromptCategory> category;
    QString name;
    int count = 0;
    int favoriteCount = 0;
    bool showAdd = false;
};

struct Shelf {
    QString summary;
    QList<ShelfRow> rows; // the three categories in order, then "Yours"
};

// "N prompts across 3 categories", with " + yours" once the user has written a prompt (set
// aside or not). N counts set-aside prompts out.
QString shelfSummary(int activeCount, bool hasOwnPrompts);

// Counts of every row in one pass over the prompts, so a large library redraws quickly.
Shelf buildShelf(const ContentManager& content, const UserLibrary& library);

} // namespace velmor
