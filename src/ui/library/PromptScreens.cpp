#include "ui/library/PromptScreens.h"

#include "core/content/ContentManager.h"
#include "core/content/UserLibrary.h"
#include "core/settings/AppState.h"
#include "ui/library/LibraryMotion.h"
#include "ui/library/LibraryStyle.h"
#include "ui/library/PlainButton.h"
#include "ui/library/PromptList.h"
#include "ui/library/PromptRow.h"

#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QLineEdit>
#include <QResizeEvent>
#include <QVBoxLayout>

#include <cmath>

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
    list_->setAnimated(libraryMotion::enabled());
    empty_ = new QLabel(emptyText, this);
    empty_->setFont(libraryStyle::regular(emptySize));
    empty_->setAlignment(Qt::AlignCenter);
    empty_->setForegroundRole(QPalette::PlaceholderText);
    empty_->setAccessibleName(emptyText);
    column_->addWidget(list_, 1);
    column_->addWidget(empty_, 1);

    connect(list_, &PromptList::actionTriggered, this, &PromptListScreen::perform);
    connect(list_, &PromptList::restoreRequested, this, [this](const QString& id) {
        list_->animating(libraryMotion::changeMs, libraryMotion::easeInOut(),
                         [&] { actions_.restore(id); });
    });
    connect(list_, &PromptList::setAsideToggled, this, [this] {
        list_->animating(libraryMotion::changeMs, libraryMotion::easeInOut(),
                         [this] { setSetAsideExpanded(!model_.showHidden()); });
    });
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
    // The empty text: tertiary on "Yours", secondary on a category, in the current palette.
    QPalette palette = empty_->palette();
    palette.setColor(
        QPalette::WindowText,
        libraryStyle::text(this, model_.isYours() ? Level::tertiary : Level::secondary));
    empty_->setPalette(palette);
    empty_->setForegroundRole(QPalette::WindowText);
}

void PromptListScreen::perform(RowAction action, const PromptItem& prompt) {
    // A starter prompt set aside slides out of the list; a prompt of the user's own deleted
    // here goes at once.
    if (action == RowAction::setAside)
        list_->animating(libraryMotion::removeMs, libraryMotion::easeOut(),
                         [&] { actions_.perform(action, prompt); });
    else
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
    // The attribution field (with the 8 points above it) sits in a box whose height opens and
    // closes; the field rides the box's bottom edge, so it moves in from the top as it fades.
    attributionBox_ = new QWidget(this);
    attributionField_->setParent(attributionBox_);
    attributionField_->hide();
    attributionBox_->setFixedHeight(0);
    attributionOpacity_ = new QGraphicsOpacityEffect(attributionField_);
    attributionField_->setGraphicsEffect(attributionOpacity_);
    // After the back button and its spacing: the input area, then 16 points.
    column()->insertWidget(2, promptField_);
    column()->insertWidget(3, attributionBox_);
    column()->insertSpacing(4, 16);
    animated_ = libraryMotion::enabled();

    connect(promptField_, &QLineEdit::textChanged, this, [this](const QString& text) {
        draft_.setText(text);
        attributionShown_.moveTo(draft_.showAttribution() ? 1 : 0, libraryMotion::changeMs,
                                 libraryMotion::easeInOut(), animated_, this,
                                 [this] { placeAttribution(); });
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

void YourPromptsView::placeAttribution() {
    const double shown = attributionShown_.value();
    const int full = 8 + attributionField_->sizeHint().height();
    const int height = int(std::lround(full * shown));
    attributionBox_->setFixedHeight(height);
    attributionField_->setGeometry(0, height - attributionField_->sizeHint().height(),
                                   attributionBox_->width(),
                                   attributionField_->sizeHint().height());
    attributionOpacity_->setOpacity(shown);
    // Hidden once closed, so it is out of the Tab order and of the accessibility tree.
    attributionField_->setVisible(shown > 0 || attributionShown_.target() > 0);
}

void YourPromptsView::resizeEvent(QResizeEvent* event) {
    PromptListScreen::resizeEvent(event);
    placeAttribution();
}

void YourPromptsView::submit() {
    bool added = false;
    list()->animating(libraryMotion::changeMs, libraryMotion::easeInOut(),
                      [&] { added = draft_.submit(actions_); });
    if (!added)
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
    list()->animating(libraryMotion::changeMs, libraryMotion::easeInOut(), [this] { refresh(); });
    editor_->textField()->setFocus();
}

void YourPromptsView::saveEdit() {
    list()->animating(libraryMotion::changeMs, libraryMotion::easeInOut(), [this] {
        if (model_.saveEdit(library_))
            refresh();
    });
}

void YourPromptsView::cancelEdit() {
    model_.cancelEdit();
    list()->animating(libraryMotion::changeMs, libraryMotion::easeInOut(), [this] { refresh(); });
}

void YourPromptsView::perform(RowAction action, const PromptItem& prompt) {
    if (action == RowAction::edit)
        beginEdit(prompt);
    else if (action == RowAction::remove) // here a deleted prompt slides out
        list()->animating(libraryMotion::removeMs, libraryMotion::easeOut(),
                          [&] { actions_.perform(action, prompt); });
    else
        PromptListScreen::perform(action, prompt);
}

} // namespace velmor
