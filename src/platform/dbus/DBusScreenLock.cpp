#include "platform/dbus/DBusScreenLock.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

#include <unistd.h>

namespace velmor {

namespace {
const QString logindService = QStringLiteral("org.freedesktop.login1");
const QString sessionInterface = QStringLiteral("org.freedesktop.login1.Session");
const QString propertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");
const QString freedesktopSaver = QStringLiteral("org.freedesktop.ScreenSaver");
const QString gnomeSaver = QStringLiteral("org.gnome.ScreenSaver");
const QString lockedHintName = QStringLiteral("LockedHint");
} // namespace

DBusScreenLock::DBusScreenLock(QDBusConnection sessionBus, QDBusConnection systemBus)
    : sessionBus_(std::move(sessionBus)), systemBus_(std::move(systemBus)) {
    if (sessionBus_.isConnected()) {
        // Any sender: a screen saver that starts (or restarts) after us is heard as well.
        sessionBus_.connect(QString(), QStringLiteral("/org/freedesktop/ScreenSaver"),
                            freedesktopSaver, QStringLiteral("ActiveChanged"), this,
                            SLOT(onFreedesktopActiveChanged(bool)));
        sessionBus_.connect(QString(), QStringLiteral("/org/gnome/ScreenSaver"), gnomeSaver,
                            QStringLiteral("ActiveChanged"), this,
                            SLOT(onGnomeActiveChanged(bool)));
        askScreenSaver(freedesktopSaver, QStringLiteral("/org/freedesktop/ScreenSaver"),
                       Source::freedesktop);
        askScreenSaver(gnomeSaver, QStringLiteral("/org/gnome/ScreenSaver"), Source::gnome);
    }
    if (systemBus_.isConnected())
        findSession();
}

void DBusScreenLock::askScreenSaver(const QString& service, const QString& path, Source source) {
    QDBusMessage call =
        QDBusMessage::createMethodCall(service, path, service, QStringLiteral("GetActive"));
    // Asked only while one runs: a question must not start a screen saver (GNOME ships a
    // bus-activated one that its own shell does not always own).
    call.setAutoStartService(false);
    auto* watcher = new QDBusPendingCallWatcher(sessionBus_.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, source] {
        watcher->deleteLater();
        const QDBusPendingReply<bool> reply = *watcher;
        if (!reply.isError())
            set(source, reply.value());
    });
}

void DBusScreenLock::findSession() {
    // The session of the desktop we run in; the process's own where none is named.
    const QString id = qEnvironmentVariable("XDG_SESSION_ID");
    QDBusMessage call = QDBusMessage::createMethodCall(
        logindService, QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"),
        id.isEmpty() ? QStringLiteral("GetSessionByPID") : QStringLiteral("GetSession"));
    if (id.isEmpty())
        call << uint(::getpid());
    else
        call << id;
    call.setAutoStartService(false);
    auto* watcher = new QDBusPendingCallWatcher(systemBus_.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher] {
        watcher->deleteLater();
        const QDBusPendingReply<QDBusObjectPath> reply = *watcher;
        if (reply.isError())
            return;
        sessionPath_ = reply.value().path();
        systemBus_.connect(logindService, sessionPath_, propertiesInterface,
                           QStringLiteral("PropertiesChanged"), this,
                           SLOT(onSessionPropertiesChanged(QString, QVariantMap, QStringList)));
        readLockedHint();
    });
}

void DBusScreenLock::readLockedHint() {
    QDBusMessage call = QDBusMessage::createMethodCall(logindService, sessionPath_,
                                                       propertiesInterface, QStringLiteral("Get"));
    call << sessionInterface << lockedHintName;
    call.setAutoStartService(false);
    auto* watcher = new QDBusPendingCallWatcher(systemBus_.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher] {
        watcher->deleteLater();
        const QDBusPendingReply<QDBusVariant> reply = *watcher;
        if (!reply.isError())
            set(Source::logind, reply.value().variant().toBool());
    });
}

void DBusScreenLock::onFreedesktopActiveChanged(bool active) {
    set(Source::freedesktop, active);
}

void DBusScreenLock::onGnomeActiveChanged(bool active) {
    set(Source::gnome, active);
}

void DBusScreenLock::onSessionPropertiesChanged(const QString& interfaceName,
                                                const QVariantMap& changed,
                                                const QStringList& invalidated) {
    if (interfaceName != sessionInterface)
        return;
    if (changed.contains(lockedHintName))
        set(Source::logind, changed.value(lockedHintName).toBool());
    else if (invalidated.contains(lockedHintName))
        readLockedHint();
}

void DBusScreenLock::set(Source source, bool value) {
    const bool before = isLocked();
    switch (source) {
    case Source::logind:
        lockedHint_ = value;
        break;
    case Source::freedesktop:
        freedesktopActive_ = value;
        break;
    case Source::gnome:
        gnomeActive_ = value;
        break;
    }
    if (isLocked() != before)
        notify(isLocked());
}

} // namespace velmor
