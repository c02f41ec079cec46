#pragma once

#include <QAbstractButton>
#include <QAccessible>

namespace velmor::ui {

// A button that stands for one choice among several (a sidebar row, a segment, a theme card).
// Assistive technologies see it as selectable, and as selected while it is the choice; their
// press action clicks it. Return presses it as Space does.
class SelectableItem : public QAbstractButton {
    Q_OBJECT
public:
    SelectableItem(QAccessible::Role role, QWidget* parent = nullptr);

    bool isSelectedItem() const { return selected_; }
    void setSelectedItem(bool selected);
    QAccessible::Role accessibleRole() const { return role_; }

signals:
    void selectedItemChanged(bool selected);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QAccessible::Role role_;
    bool selected_ = false;
};

} // namespace velmor::ui
