#include "ui/controls/SelectableItem.h"

#include <QAccessibleWidget>
#include <QKeyEvent>

namespace velmor::ui {

namespace {

class SelectableAccessible final : public QAccessibleWidget {
public:
    explicit SelectableAccessible(SelectableItem* item)
        : QAccessibleWidget(item, item->accessibleRole()) {}

    SelectableItem* item() const { return static_cast<SelectableItem*>(widget()); }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.selectable = true;
        s.selected = item()->isSelectedItem();
        if (item()->accessibleRole() == QAccessible::RadioButton) {
            s.checkable = true;
            s.checked = item()->isSelectedItem();
        }
        return s;
    }

    QString text(QAccessible::Text t) const override {
        QString value = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && value.isEmpty())
            value = item()->text();
        return value;
    }

    QStringList actionNames() const override { return {pressAction(), setFocusAction()}; }

    void doAction(const QString& name) override {
        if (name == pressAction())
            item()->click();
        else
            QAccessibleWidget::doAction(name);
    }
};

QAccessibleInterface* selectableFactory(const QString&, QObject* object) {
    if (auto* item = qobject_cast<SelectableItem*>(object))
        return new SelectableAccessible(item);
    return nullptr;
}

} // namespace

SelectableItem::SelectableItem(QAccessible::Role role, QWidget* parent)
    : QAbstractButton(parent), role_(role) {
    static const bool installed = [] {
        QAccessible::installFactory(selectableFactory);
        return true;
    }();
    Q_UNUSED(installed);
    setFocusPolicy(Qt::StrongFocus);
}

void SelectableItem::setSelectedItem(bool selected) {
    if (selected == selected_)
        return;
    selected_ = selected;
    QAccessible::State changed;
    changed.selected = true;
    changed.checked = role_ == QAccessible::RadioButton;
    QAccessibleStateChangeEvent event(this, changed);
    QAccessible::updateAccessibility(&event);
    update();
    emit selectedItemChanged(selected);
}

void SelectableItem::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        click();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

} // namespace velmor::ui
