#pragma once

#include "core/content/LibraryFile.h"
#include "core/screens/LibraryShelf.h"
#include "ui/library/LibraryMotion.h"

#include <QAbstractButton>
#include <QWidget>

class QLabel;
class QVBoxLayout;

namespace velmor {

class AppState;
class ContentManager;
class UserLibrary;

// One shelf row: a category (or "Yours") with its count, its favourites and a chevron; the
// whole row takes the click.
class ShelfRowButton final : public QAbstractButton {
    Q_OBJECT
public:
    ShelfRowButton(AppState& appState, QWidget* parent = nullptr);
    // The hover fill fades in and out; at once under reduce motion.
    void setAnimated(bool animated) { animated_ = animated; }
    void setRow(const ShelfRow& row);
    const ShelfRow& row() const { return row_; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    AppState& appState_;
    ShelfRow row_;
    Fade hover_;
    bool animated_ = true;
};

// The content section of the main window: the shelf of categories and the user's own prompts,
// with export and import. Opening a row swaps the whole screen for that list, which comes back
// to the shelf through its back button; nothing is pushed as a new window or level.
class ContentLibraryScreen final : public QWidget {
    Q_OBJECT
public:
    ContentLibraryScreen(UserLibrary& library, ContentManager& content, AppState& appState,
                         QWidget* parent = nullptr);

    void openCategory(PromptCategory category);
    void openYours();
    void showShelf();
    // The shelf, a CategoryDetailView or a YourPromptsView.
    QWidget* currentView() const { return current_; }
    QList<ShelfRowButton*> shelfRows() const { return rows_; }
    QLabel* summaryLabel() const { return summary_; }
    QAbstractButton* exportButton() const { return export_; }
    QAbstractButton* importButton() const { return import_; }

    // The file dialogs, sheets on this window; they only supply the path.
    void exportLibrary();
    void importLibrary();
    bool exportTo(const QString& path);
    ImportResult importFrom(const QString& path);

private:
    void showView(QWidget* view);
    void refreshShelf();

    UserLibrary& library_;
    ContentManager& content_;
    AppState& appState_;
    QVBoxLayout* layout_;
    QWidget* shelf_;
    QWidget* current_ = nullptr;
    QLabel* summary_;
    QList<ShelfRowButton*> rows_;
    QAbstractButton* export_;
    QAbstractButton* import_;
};

} // namespace velmor
