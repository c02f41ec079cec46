#include "ui/controls/RoleNamedMenu.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>

namespace velmor::ui {

namespace {

class MenuAccessible final : public QAccessibleWidget {
public:
    explicit MenuAccessible(RoleNamedMenu* menu) : QAccessibleWidget(menu, QAccessible::ComboBox) {}

    QComboBox* menu() const { return static_cast<QComboBox*>(widget()); }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value)
            return menu()->currentText();
        return QAccessibleWidget::text(t);
    }
    // The list that pops up, as Qt's own menus offer it.
    int childCount() const override { return 1; }
    QAccessibleInterface* child(int index) const override {
        return index == 0 ? QAccessible::queryAccessibleInterface(menu()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child && child->object() == menu()->view() ? 0 : -1;
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.expandable = true;
        s.expanded = menu()->view()->isVisible();
        s.collapsed = !s.expanded;
        return s;
    }
    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }
    void doAction(const QString& name) override {
        if (name == showMenuAction() || name == pressAction())
            menu()->showPopup();
        else
            QAccessibleWidget::doAction(name);
    }
};

QAccessibleInterface* menuFactory(const QString&, QObject* object) {
    if (auto* menu = qobject_cast<RoleNamedMenu*>(object))
        return new MenuAccessible(menu);
    return nullptr;
}

} // namespace

RoleNamedMenu::RoleNamedMenu(const QString& role, QWidget* parent) : QComboBox(parent) {
    static const bool installed = [] {
        QAccessible::installFactory(menuFactory);
        return true;
    }();
    Q_UNUSED(installed);
    setAccessibleName(role);
}

} // namespace velmor::ui
