#include "ui/library/PromptScreens.h"

#include "core/content/ContentManager.h"
#include "core/content/UserLibrary.h"
#include "core/settings/AppState.h"
#include "ui/library/LibraryStyle.h"
#include "ui/library/PlainButton.h"
#include "ui/library/PromptList.h"
#include "ui/library/PromptRow.h"

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace velmor {

using libraryStyle::Level;

PromptListScreen::PromptListScreen(LibraryList model, const QString& title,
                                   const QString& emptyText, int emptySize, UserLibrary& library,
                                   ContentManager& content, AppState& appState, QWidget* parent)
    : QWidget(parent), library_(library), content_(content), appState_(appState),
      actions_(library, appState), model_(std::move(model)) {
    column_ = new QVBoxLayout(this);
    column_->setContentsMargins(24, 24, 24, 24);
    column_->setSpacing(0);

    back_ = new PlainButton(QStringLiteral("chevron.left"), title, this);
    PlainButton::Look look;
    look.font = libraryStyle::regular(20);
    look.symbolSize = 12;
    look.spacing = 8;
    back_->setLook(look);
    back_->setColorFunction([this] { return libraryStyle::text(this, Level::primary); });
    back_->setSymbolColorFunction([this] { return libraryStyle::text(this, Level::secondary); });
    back_->setAccessibleName(tr("Back to your library"));
    back_->setAccessibleDescription(title);
    connect(back_, &QAbstractButton::clicked, this, &PromptListScreen::backRequested);
    column_->addWidget(back_, 0, Qt::AlignLeft);
    column_->addSpacing(16);

    list_ = new PromptList(appState_, this);
    list_->setAccessibleName(title);
    empty_ = new QLabel(emptyText, this);
    empty_->setFont(libraryStyle::regular(emptySize));
    empty_->setAlignment(Qt::AlignCenter);
    empty_->setForegroundRole(QPalette::PlaceholderText);
    empty_->setAccessibleName(emptyText);
    column_->addWidget(list_, 1);
    column_->addWidget(empty_, 1);

    connect(list_, &PromptList::actionTriggered, this, &PromptListScreen::perform);
    connect(list_, &PromptList::restoreRequested, this,
            [this](const QString& id) { actions_.restore(id); });
    connect(list_, &PromptList::setAsideToggled, this,
            [this] { setSetAsideExpanded(!model_.showHidden()); });
    connect(&library_, &UserLibrary::dataChanged, this, &PromptListScreen::refresh);
    connect(&appState_, &AppState::sittingWithPromptIdChanged, this, &PromptListScreen::refresh);
    connect(&appState_, &AppState::themeChanged, list_->viewport(), qOverload<>(&QWidget::update));
}

void PromptListScreen::setSetAsideExpanded(bool expanded) {
    model_.setShowHidden(expanded);
    refresh();
}

void PromptListScreen::refresh() {
    model_.rebuild(content_, library_, appState_);
    list_->setEntries(model_.entries(), model_.setAsideCount(), model_.showHidden());
    list_->setVisible(!model_.isEmpty());
    empty_->setVisible(model_.isEmpty());
    // The empty text in the tertiary (or secondary) level of the current palette.
    QPalette palette = empty_->palette();
    palette.setColor(QPalette::WindowText, libraryStyle::text(this, Level::secondary));
    empty_->setPalette(palette);
    empty_->setForegroundRole(QPalette::WindowText);
}

void PromptListScreen::perform(RowAction action, const PromptItem& prompt) {
    actions_.perform(action, prompt);
}

CategoryDetailView::CategoryDetailView(PromptCategory category, UserLibrary& library,
                                       ContentManager& content, AppState& appState, QWidget* parent)
    : PromptListScreen(LibraryList::forCategory(category), displayName(category),
                       tr("Nothing here yet."), 15, library, content, appState, parent) {
    refresh();
}

YourPromptsView::YourPromptsView(UserLibrary& library, ContentManager& content, AppState& appState,
                                 QWidget* parent)
    : PromptListScreen(LibraryList::forYours(), tr("Yours"), tr("Your prompts will appear here."),
                       13, library, content, appState, parent) {
    promptField_ =
        makeField(tr("Add something you love..."), libraryStyle::regular(14), 10, 8, 0.04, this);
    attributionField_ =
        makeField(tr("Attribution (optional)"), libraryStyle::italic(12), 8, 6, 0.03, this);
    attributionField_->hide();
    // After the back button and its spacing: the input area, then 16 points.
    column()->insertWidget(2, promptField_);
    column()->insertSpacing(3, 8);
    column()->insertWidget(4, attributionField_);
    column()->insertSpacing(5, 16);

    connect(promptField_, &QLineEdit::textChanged, this, [this](const QString& text) {
        draft_.setText(text);
        attributionField_->setVisible(draft_.showAttribution());
    });
    connect(attributionField_, &QLineEdit::textChanged, this,
            [this](const QString& text) { draft_.setAttribution(text); });
    connect(promptField_, &QLineEdit::returnPressed, this, &YourPromptsView::submit);
    connect(attributionField_, &QLineEdit::returnPressed, this, &YourPromptsView::submit);

    editor_ = new InlineEditor(this);
    list()->setEditor(editor_);
    connect(editor_, &InlineEditor::textEdited, this,
            [this](const QString& t) { model_.editText = t; });
    connect(editor_, &InlineEditor::attributionEdited, this,
            [this](const QString& t) { model_.editAttribution = t; });
    connect(editor_, &InlineEditor::saveRequested, this, &YourPromptsView::saveEdit);
    connect(editor_, &InlineEditor::cancelRequested, this, &YourPromptsView::cancelEdit);
    refresh();
}

void YourPromptsView::submit() {
    if (!draft_.submit(actions_))
        return;
    promptField_->setText(draft_.text());
    attributionField_->setText(draft_.attribution());
    promptField_->setFocus();
    // The new prompt is at the end of the list: show it.
    list()->scrollToEntry(int(model_.entries().size() - 1 - (model_.setAsideCount() ? 1 : 0)) -
                          (model_.showHidden() ? model_.setAsideCount() : 0));
}

void YourPromptsView::beginEdit(const PromptItem& prompt) {
    model_.beginEdit(prompt);
    editor_->setValues(model_.editText, model_.editAttribution);
    refresh();
    editor_->textField()->setFocus();
}

void YourPromptsView::saveEdit() {
    if (!model_.saveEdit(library_))
        return;
    refresh();
}

void YourPromptsView::cancelEdit() {
    model_.cancelEdit();
    refresh();
}

void YourPromptsView::perform(RowAction action, const PromptItem& prompt) {
    if (action == RowAction::edit)
        beginEdit(prompt);
    else
        PromptListScreen::perform(action, prompt);
}

} // namespace velmor
