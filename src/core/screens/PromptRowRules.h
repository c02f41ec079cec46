#pragma once

#include "core/model/PromptItem.h"

#include <QList>
#include <QString>

#include <optional>

namespace velmor {

class AppState;
class UserLibrary;

enum class RowAction { edit, sitWith, letGo, favorite, unfavorite, setAside, remove };
// How an action's word is coloured: the secondary text colour or one of the theme's.
enum class ActionTone { secondary, accent, favorite };

struct RowFlags {
    bool isFavorite = false;
    bool isSitting = false;
    bool canDelete = false; // the user's own prompt: deleted, never set aside
    bool canEdit = false;
    bool canSitWith = false;
    friend bool operator==(const RowFlags&, const RowFlags&) = default;
};

struct RowActionInfo {
    RowAction action;
    QString symbol; // symbol name as the design calls it ("heart.fill", ...)
    QString word;
    QString accessibleName;
    ActionTone tone;
};

// The row's action bar, in order: edit, sit with or let go, favourite, set aside or delete.
QList<RowActionInfo> rowActions(const RowFlags& flags);
// The context menu: favourite, a divider (absent), set aside or delete. Never edit or sit with.
QList<std::optional<RowActionInfo>> contextMenuActions(const RowFlags& flags);

// What a row's actions do to the library and the settings. Editing is the screen's own state
// and is not handled here.
class LibraryActions {
public:
    LibraryActions(UserLibrary& library, AppState& appState)
        : library_(library), appState_(appState) {}

    void perform(RowAction action, const PromptItem& prompt);
    void restore(const QString& id);
    // Adds the user's new prompt (trimmed, attribution optional); false when the text is blank.
    bool addPrompt(const QString& text, const QString& attribution);

private:
    UserLibrary& library_;
    AppState& appState_;
};

} // namespace velmor
