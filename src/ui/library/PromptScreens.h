#pragma once

#include "core/screens/LibraryList.h"
#include "ui/library/LibraryMotion.h"

#include <QWidget>

class QGraphicsOpacityEffect;
class QLabel;
class QLineEdit;
class QVBoxLayout;

namespace velmor {

class AppState;
class ContentManager;
class InlineEditor;
class PlainButton;
class PromptList;
class UserLibrary;

// What the category screen and "Yours" share: the back button with the title, the lazily built
// list with its set-aside section, and the empty text. Both follow the library and the sit-with
// setting as they change.
class PromptListScreen : public QWidget {
    Q_OBJECT
public:
    PromptList* list() const { return list_; }
    PlainButton* backButton() const { return back_; }
    QLabel* emptyLabel() const { return empty_; }
    const LibraryList& model() const { return model_; }
    void setSetAsideExpanded(bool expanded);

signals:
    void backRequested();

protected:
    PromptListScreen(LibraryList model, const QString& title, const QString& emptyText,
                     int emptySize, UserLibrary& library, ContentManager& content,
                     AppState& appState, QWidget* parent);
    // Where a screen puts what goes between the title and the list.
    QVBoxLayout* column() const { return column_; }
    void refresh();
    virtual void perform(RowAction action, const PromptItem& prompt);

    UserLibrary& library_;
    ContentManager& content_;
    AppState& appState_;
    LibraryActions actions_;
    LibraryList model_;

private:
    QVBoxLayout* column_;
    PlainButton* back_;
    PromptList* list_;
    QLabel* empty_;
};

// The prompts of one category, with their set-aside section.
class CategoryDetailView final : public PromptListScreen {
    Q_OBJECT
public:
    CategoryDetailView(PromptCategory category, UserLibrary& library, ContentManager& content,
                       AppState& appState, QWidget* parent = nullptr);
};

// The user's own prompts: the new-prompt fields, the list with its inline editor, the
// set-aside section.
class YourPromptsView final : public PromptListScreen {
    Q_OBJECT
public:
    YourPromptsView(UserLibrary& library, ContentManager& content, AppState& appState,
                    QWidget* parent = nullptr);

    QLineEdit* promptField() const { return promptField_; }
    QLineEdit* attributionField() const { return attributionField_; }
    InlineEditor* editor() const { return editor_; }
    void beginEdit(const PromptItem& prompt);

protected:
    void perform(RowAction action, const PromptItem& prompt) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeAttribution();
    void submit();
    void saveEdit();
    void cancelEdit();

    NewPromptDraft draft_;
    QLineEdit* promptField_;
    QLineEdit* attributionField_;
    QWidget* attributionBox_;
    QGraphicsOpacityEffect* attributionOpacity_;
    Fade attributionShown_;
    bool animated_ = true;
    InlineEditor* editor_;
};

} // namespace velmor
