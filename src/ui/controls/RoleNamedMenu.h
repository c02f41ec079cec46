#pragma once

#include <QComboBox>

namespace velmor::ui {

// A pop-up menu that a screen reader names by what it sets ("Shortest interval") and reads its
// choice as the value. Qt's own reading of a menu on Linux takes the choice for the name, so two
// menus showing the same number could not be told apart.
class RoleNamedMenu : public QComboBox {
    Q_OBJECT
public:
    RoleNamedMenu(const QString& role, QWidget* parent = nullptr);
};

} // namespace velmor::ui
