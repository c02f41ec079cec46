#include "ui/tray/TrayMenu.h"

#include "core/base/Log.h"
#include "core/base/Resources.h"
#include "core/model/Commands.h"
#include "core/model/WaitReason.h"
#include "core/session/MenuModel.h"
#include "core/settings/AppState.h"
#include "platform/wayland/WaylandSession.h"

#include <QApplication>
#include <QCursor>
#include <QIcon>
#include <QMenu>
#include <QSystemTrayIcon>

namespace velmor {

namespace {
QIcon leafIcon(const QString& name) {
    const QString path = resourcePath(QStringLiteral("icons/") + name + QStringLiteral(".svg"));
    if (!path.isEmpty())
        return QIcon(path);
    return QIcon::fromTheme(QStringLiteral("app.velmor.Velmor"));
}
} // namespace

TrayMenu::TrayMenu(AppState& state, Commands& commands, std::function<void()> openWindow)
    : state_(state), commands_(commands), menu_(std::make_unique<QMenu>()),
      icon_(std::make_unique<QSystemTrayIcon>()) {
    status_ = menu_->addAction(QString());
    status_->setEnabled(false);
    waiting_ = menu_->addAction(QString());
    waiting_->setEnabled(false);
    menu_->addSeparator();
    toggle_ = menu_->addAction(QString());
    // The state is read at the moment of the click, not when the menu was built.
    connect(toggle_, &QAction::triggered, this,
            [this] { commands_.send(MenuModel::forState(state_.state()).toggleCommand); });
    menu_->addSeparator();
    connect(menu_->addAction(tr("Velmor now")), &QAction::triggered, this,
            [this] { commands_.send(Command::showNow); });
    menu_->addSeparator();
    connect(menu_->addAction(tr("Open Velmor")), &QAction::triggered, this, std::move(openWindow));
    menu_->addSeparator();
    connect(menu_->addAction(tr("Quit Velmor")), &QAction::triggered, qApp, &QCoreApplication::quit,
            Qt::QueuedConnection);

    connect(&state_, &AppState::stateChanged, this, &TrayMenu::refresh);
    connect(&state_, &AppState::waitReasonChanged, this, &TrayMenu::refresh);

    icon_->setContextMenu(menu_.get());
    icon_->setToolTip(QStringLiteral("Velmor"));
    // A left click opens the same menu, as a tray item with only a menu should.
    connect(icon_.get(), &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger)
                    menu_->popup(QCursor::pos());
            });
    refresh();
}

TrayMenu::~TrayMenu() = default;

void TrayMenu::show() {
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        logLine(
            QStringLiteral("No system tray found; velmor --now, --pause and --resume still work"));
        // Without a tray host Qt falls back to an X11 embedded icon, which no Wayland desktop
        // can hold (Qt only warns about it there).
        if (isWaylandSession())
            return;
    }
    icon_->show();
}

void TrayMenu::refresh() {
    const MenuModel model = MenuModel::forState(state_.state());
    status_->setText(model.statusLine);
    const auto reason = state_.waitReason();
    waiting_->setText(reason ? waitingText(*reason) : QString());
    waiting_->setVisible(reason.has_value());
    toggle_->setText(model.toggleLabel);
    icon_->setIcon(leafIcon(model.iconName));
}

} // namespace velmor
