#pragma once

#include "core/screens/LibraryList.h"

#include <QWidget>

#include <functional>

class QLineEdit;

namespace velmor {

class AppState;
class PlainButton;

// One prompt: its text (wrapped, never cut), its attribution, a heart when it is a favourite,
// and the action bar while the pointer is over it or the keyboard is in it. Secondary click or
// the menu key opens the context menu.
class PromptRow final : public QWidget {
    Q_OBJECT
public:
    PromptRow(AppState& appState, QWidget* parent = nullptr);

    void bind(const ListEntry& entry);
    const ListEntry& entry() const { return entry_; }
    // How far the action bar is out: 0 at rest, 1 while hovered or focused. The bar fades in
    // and slides down from above its place, the fill fades in and the heart fades out.
    void setReveal(double reveal);
    bool isExpanded() const { return expanded_; }
    // The whole row's opacity while it comes into or leaves the list.
    void setPresence(double presence);
    // The row and its visible action buttons, in Tab order.
    QList<QWidget*> focusChain() const;
    PlainButton* actionButton(RowAction action) const;

    // The height the row takes at `width`: measured the way it is painted, so a list can lay
    // out rows it has not built.
    static int heightFor(const PromptItem& prompt, int width, bool expanded);
    // A guess from the text's length, without shaping it: for rows not yet in view.
    static int estimateHeight(const PromptItem& prompt, int width);

signals:
    void actionTriggered(velmor::RowAction action, const velmor::PromptItem& prompt);

protected:
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void placeButtons();
    bool keyboardFocus_ = false;

    AppState& appState_;
    ListEntry entry_;
    bool expanded_ = false;
    double reveal_ = 0;
    double presence_ = 1;
    int contentHeight_ = 0; // text and attribution at the current width
    QList<PlainButton*> buttons_;
};

// A set-aside prompt, dimmed, with its "Restore" button.
class SetAsideRow final : public QWidget {
    Q_OBJECT
public:
    explicit SetAsideRow(QWidget* parent = nullptr);
    void bind(const ListEntry& entry);
    const ListEntry& entry() const { return entry_; }
    PlainButton* restoreButton() const { return restore_; }
    void setPresence(double presence);
    static int heightFor(const PromptItem& prompt, int width);
    static int estimateHeight(const PromptItem& prompt, int width);

signals:
    void restoreRequested(const QString& id);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    ListEntry entry_;
    double presence_ = 1;
    PlainButton* restore_;
};

// The inline editor of one of the user's prompts: text, attribution, Save and Cancel. Return
// in either field saves.
class InlineEditor final : public QWidget {
    Q_OBJECT
public:
    explicit InlineEditor(QWidget* parent = nullptr);
    void setValues(const QString& text, const QString& attribution);
    QLineEdit* textField() const { return text_; }
    QLineEdit* attributionField() const { return attribution_; }
    QList<QWidget*> focusChain() const;

signals:
    void textEdited(const QString& text);
    void attributionEdited(const QString& attribution);
    void saveRequested();
    void cancelRequested();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QLineEdit* text_;
    QLineEdit* attribution_;
    PlainButton* save_;
    PlainButton* cancel_;
};

// A plain text field on a faint rounded fill; its accessible name is its placeholder.
QLineEdit* makeField(const QString& placeholder, const QFont& font, int padding, int radius,
                     double fillOpacity, QWidget* parent);

} // namespace velmor
