#pragma once

#include "core/session/CallSignal.h"

#include <QDBusConnection>
#include <QObject>

#include <atomic>
#include <memory>

namespace velmor {

// Whether another program keeps the screen saver off, as video players, browsers playing a
// video full screen and games do: an inhibitor with the idle flag in GNOME's session manager,
// or one taken through org.freedesktop.ScreenSaver's Inhibit (KDE, Xfce, and the portals
// elsewhere). The screen saver service offers no list of them, so its Inhibit and UnInhibit
// calls are watched as they pass on the bus (a monitor connection of its own, on a thread of
// its own), and those of a program that leaves the bus are forgotten. Velmor's own inhibition
// (of suspend, never of idleness) and any with Velmor's reason do not count. Nothing here
// starts a service.
class DBusInhibitorWatch final : public QObject, public CallSignal {
    Q_OBJECT
public:
    // `busAddress` empty: the session bus of `bus`. Calls from `bus` itself are ours.
    explicit DBusInhibitorWatch(QDBusConnection bus = QDBusConnection::sessionBus(),
                                QString busAddress = {});
    ~DBusInhibitorWatch() override;

    // Unknown until GNOME's session manager answered, or was found absent.
    std::optional<bool> isActive() override;
    // The screen saver's calls are being watched (the monitor connection stands).
    bool watchesScreenSaver() const;

    struct Monitor;

private slots:
    void askSessionManager();

private:
    QDBusConnection bus_;
    std::atomic<int> gnomeIdle_{-1}; // -1 not answered yet
    quint64 asked_ = 0;
    std::shared_ptr<Monitor> monitor_;
};

} // namespace velmor
