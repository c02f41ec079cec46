#pragma once

#include "core/session/CalendarSource.h"

#include <QDBusConnection>
#include <QObject>
#include <QSemaphore>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>

class QDBusServiceWatcher;

namespace velmor {

// The desktop's calendars (Evolution Data Server), used only while its source registry and
// calendar factory already run on the session bus. The names are followed as they appear and
// leave (NameOwnerChanged, on the event loop), each a change; asking about them never starts
// a service.
//
// The calendar client libraries cost several MB of memory, so they live in a module loaded
// only once both services run (never unloaded: GLib types cannot be). Questions are
// synchronous: ask through a BackgroundCalendar.
class DesktopCalendar final : public QObject, public CalendarSource {
    Q_OBJECT
public:
    static constexpr const char* registryName = "org.gnome.evolution.dataserver.Sources5";
    static constexpr const char* factoryName = "org.gnome.evolution.dataserver.Calendar8";

    // `modulePath`: the EDS module (see defaultModulePath()).
    explicit DesktopCalendar(QString modulePath,
                             QDBusConnection bus = QDBusConnection::sessionBus(),
                             int timeoutMs = 3000);
    ~DesktopCalendar() override;

    // The module beside the program (build tree), else in the installed library folder.
    static QString defaultModulePath();

    // nullopt while EDS does not run, or its module or calendars cannot be opened.
    std::optional<std::vector<BusySpan>> busyBetween(std::time_t from, std::time_t to) override;
    // Connects again at the next question.
    void reconnect() override;

    bool servicesRunning() const { return registry_ && factory_; }
    bool moduleLoaded() const { return loaded_; }

private:
    void setOwned(const QString& name, bool owned);

    QString modulePath_;
    int timeoutMs_;
    QDBusServiceWatcher* watcher_ = nullptr;
    std::atomic<bool> registry_{false};
    std::atomic<bool> factory_{false};
    std::atomic<int> appearances_{0}; // a service that came back needs a new connection
    QSemaphore ownersAsked_;           // released by each answer to "does it run?"
    bool ownersKnown_ = false;         // asking thread only
    std::atomic<bool> loaded_{false};

    // Used only on the asking thread.
    std::unique_ptr<CalendarSource> eds_;
    int edsAppearances_ = -1;
    bool loadFailed_ = false;
};

} // namespace velmor
