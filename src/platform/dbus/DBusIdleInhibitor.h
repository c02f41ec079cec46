#pragma once

#include "core/session/IdleInhibitor.h"

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QDBusUnixFileDescriptor>
#include <QObject>

namespace velmor {

// Holds off idle suspend through the desktop portal where one runs, else through a logind
// "idle" block lock (which never blocks a suspend the user asks for). Without a bus it does
// nothing and says nothing. Calls are asynchronous so the event loop never waits on the bus.
class DBusIdleInhibitor final : public QObject, public IdleInhibitor {
    Q_OBJECT
public:
    DBusIdleInhibitor(QDBusConnection sessionBus = QDBusConnection::sessionBus(),
                      QDBusConnection systemBus = QDBusConnection::systemBus());
    ~DBusIdleInhibitor() override;

    void acquire(const QString& reason) override;
    void release() override;

    // What is held now, for tests and diagnostics.
    bool holdsPortalRequest() const { return !portalHandle_.path().isEmpty(); }
    bool holdsLogindLock() const { return logindLock_.isValid(); }

private slots:
    // Nothing to do before sleep: waits run on the boot-time clock and fire right after wake.
    void onPrepareForSleep(bool) {}

private:
    void askPortal(const QString& reason, quint64 attempt);
    void askLogind(const QString& reason, quint64 attempt);
    void closePortalRequest();

    QDBusConnection sessionBus_;
    QDBusConnection systemBus_;
    QDBusObjectPath portalHandle_;
    QDBusUnixFileDescriptor logindLock_;
    // Answers that arrive after a release or a newer acquire are dropped by their attempt number.
    quint64 attempt_ = 0;
    bool wanted_ = false;
};

} // namespace velmor
