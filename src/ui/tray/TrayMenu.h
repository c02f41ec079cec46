#pragma once

#include <QObject>

#include <functional>
#include <memory>

class QAction;
class QMenu;
class QSystemTrayIcon;

namespace velmor {

class AppState;
class Commands;

// The tray icon and its menu. It acts only by sending commands, opening the main window
// and quitting; what it shows follows the session state.
class TrayMenu final : public QObject {
    Q_OBJECT
public:
    TrayMenu(AppState& state, Commands& commands, std::function<void()> openWindow);
    ~TrayMenu() override;

    void show();
    QMenu* menu() const { return menu_.get(); }
    QSystemTrayIcon* icon() const { return icon_.get(); }

private:
    void refresh();

    AppState& state_;
    Commands& commands_;
    std::unique_ptr<QMenu> menu_;
    std::unique_ptr<QSystemTrayIcon> icon_;
    QAction* status_ = nullptr;
    QAction* waiting_ = nullptr; // why an overlay is being held back, while it is
    QAction* toggle_ = nullptr;
};

} // namespace velmor
