#include "core/screens/PromptRowRules.h"

#include "core/content/UserLibrary.h"
#include "core/settings/AppState.h"

#include <QCoreApplication>

namespace velmor {

namespace {
// Texts::tr: lupdate files these texts under the context they are looked up in.
struct Texts {
    Q_DECLARE_TR_FUNCTIONS(PromptRow)
};

RowActionInfo info(RowAction action) {
    switch (action) {
    case RowAction::edit:
        return {action, QStringLiteral("pencil"), Texts::tr("Edit"), Texts::tr("Edit this prompt"),
                ActionTone::secondary};
    case RowAction::sitWith:
        return {action, QStringLiteral("leaf.fill"), Texts::tr("Sit with this"),
                Texts::tr("Sit with this prompt for every overlay"), ActionTone::secondary};
    case RowAction::letGo:
        return {action, QStringLiteral("leaf"), Texts::tr("Let go"),
                Texts::tr("Stop sitting with this prompt"), ActionTone::accent};
    case RowAction::favorite:
        return {action, QStringLiteral("heart"), Texts::tr("Favorite"),
                Texts::tr("Add to favorites"), ActionTone::secondary};
    case RowAction::unfavorite:
        return {action, QStringLiteral("heart.fill"), Texts::tr("Unfavorite"),
                Texts::tr("Remove from favorites"), ActionTone::favorite};
    case RowAction::setAside:
        return {action, QStringLiteral("xmark.circle"), Texts::tr("Set aside"),
                Texts::tr("Set this prompt aside"), ActionTone::secondary};
    case RowAction::remove:
        return {action, QStringLiteral("trash"), Texts::tr("Delete"),
                Texts::tr("Delete this prompt"), ActionTone::secondary};
    }
    return {};
}

RowAction favoriteAction(const RowFlags& flags) {
    return flags.isFavorite ? RowAction::unfavorite : RowAction::favorite;
}
RowAction hideOrDeleteAction(const RowFlags& flags) {
    return flags.canDelete ? RowAction::remove : RowAction::setAside;
}
} // namespace

QList<RowActionInfo> rowActions(const RowFlags& flags) {
    QList<RowActionInfo> actions;
    if (flags.canEdit)
        actions.append(info(RowAction::edit));
    if (flags.canSitWith)
        actions.append(info(flags.isSitting ? RowAction::letGo : RowAction::sitWith));
    actions.append(info(favoriteAction(flags)));
    actions.append(info(hideOrDeleteAction(flags)));
    return actions;
}

QList<std::optional<RowActionInfo>> contextMenuActions(const RowFlags& flags) {
    return {info(favoriteAction(flags)), std::nullopt, info(hideOrDeleteAction(flags))};
}

void LibraryActions::perform(RowAction action, const PromptItem& prompt) {
    switch (action) {
    case RowAction::edit:
        return;
    case RowAction::sitWith:
        appState_.setSittingWithPromptId(prompt.id);
        return;
    case RowAction::letGo:
        appState_.setSittingWithPromptId(std::nullopt);
        return;
    case RowAction::favorite:
    case RowAction::unfavorite:
        library_.toggleFavorite(prompt.id);
        return;
    case RowAction::setAside:
        library_.hide(prompt.id);
        return;
    case RowAction::remove:
        library_.deletePrompt(prompt.id);
        return;
    }
}

void LibraryActions::restore(const QString& id) {
    library_.unhide(id);
}

bool LibraryActions::addPrompt(const QString& text, const QString& attribution) {
    const std::optional<PromptItem> prompt = makeUserPrompt(text, attribution);
    if (!prompt)
        return false;
    library_.addPrompt(*prompt);
    return true;
}

} // namespace velmor
