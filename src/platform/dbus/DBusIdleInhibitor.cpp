#include "platform/dbus/DBusIdleInhibitor.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

namespace velmor {

namespace {
constexpr uint portalSuspendFlag = 4;
const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString logindService = QStringLiteral("org.freedesktop.login1");
} // namespace

DBusIdleInhibitor::DBusIdleInhibitor(QDBusConnection sessionBus, QDBusConnection systemBus)
    : sessionBus_(std::move(sessionBus)), systemBus_(std::move(systemBus)) {
    if (systemBus_.isConnected())
        systemBus_.connect(logindService, QStringLiteral("/org/freedesktop/login1"),
                           QStringLiteral("org.freedesktop.login1.Manager"),
                           QStringLiteral("PrepareForSleep"), this, SLOT(onPrepareForSleep(bool)));
}

DBusIdleInhibitor::~DBusIdleInhibitor() {
    release();
}

void DBusIdleInhibitor::acquire(const QString& reason) {
    release();
    wanted_ = true;
    const quint64 attempt = ++attempt_;
    if (sessionBus_.isConnected())
        askPortal(reason, attempt);
    else
        askLogind(reason, attempt);
}

void DBusIdleInhibitor::askPortal(const QString& reason, quint64 attempt) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        portalService, QStringLiteral("/org/freedesktop/portal/desktop"),
        QStringLiteral("org.freedesktop.portal.Inhibit"), QStringLiteral("Inhibit"));
    call << QString() << portalSuspendFlag << QVariantMap{{QStringLiteral("reason"), reason}};
    auto* watcher = new QDBusPendingCallWatcher(sessionBus_.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, reason, attempt] {
        watcher->deleteLater();
        QDBusPendingReply<QDBusObjectPath> reply = *watcher;
        if (reply.isError()) {
            if (attempt == attempt_ && wanted_)
                askLogind(reason, attempt);
            return;
        }
        portalHandle_ = reply.value();
        if (attempt != attempt_ || !wanted_)
            closePortalRequest();
    });
}

void DBusIdleInhibitor::askLogind(const QString& reason, quint64 attempt) {
    if (!systemBus_.isConnected())
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(
        logindService, QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("Inhibit"));
    call << QStringLiteral("idle") << QStringLiteral("Velmor") << reason << QStringLiteral("block");
    auto* watcher = new QDBusPendingCallWatcher(systemBus_.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, attempt] {
        watcher->deleteLater();
        QDBusPendingReply<QDBusUnixFileDescriptor> reply = *watcher;
        if (reply.isError() || attempt != attempt_ || !wanted_)
            return; // a lock we no longer want closes when the reply is dropped
        logindLock_ = reply.value();
    });
}

void DBusIdleInhibitor::closePortalRequest() {
    if (portalHandle_.path().isEmpty())
        return;
    sessionBus_.asyncCall(QDBusMessage::createMethodCall(
        portalService, portalHandle_.path(), QStringLiteral("org.freedesktop.portal.Request"),
        QStringLiteral("Close")));
    portalHandle_ = QDBusObjectPath();
}

void DBusIdleInhibitor::release() {
    wanted_ = false;
    ++attempt_;
    closePortalRequest();
    logindLock_ = QDBusUnixFileDescriptor(); // closing our copy of the fd ends the lock
}

} // namespace velmor
