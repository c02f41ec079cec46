#pragma once

#include "core/session/ScreenLock.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>

namespace velmor {

// The lock screen as the desktop reports it: logind's LockedHint of our session (system bus),
// and the screen savers' GetActive and ActiveChanged (org.freedesktop.ScreenSaver and
// org.gnome.ScreenSaver, session bus). Locked when any of them says so. A service that is
// missing counts as unlocked, and nothing is said about it. Every call is asynchronous, and none
// starts a service that is not running: they are only watched.
class DBusScreenLock final : public QObject, public ScreenLock {
    Q_OBJECT
public:
    DBusScreenLock(QDBusConnection sessionBus = QDBusConnection::sessionBus(),
                   QDBusConnection systemBus = QDBusConnection::systemBus());

    bool isLocked() const override { return lockedHint_ || freedesktopActive_ || gnomeActive_; }

private slots:
    void onFreedesktopActiveChanged(bool active);
    void onGnomeActiveChanged(bool active);
    void onSessionPropertiesChanged(const QString& interfaceName, const QVariantMap& changed,
                                    const QStringList& invalidated);

private:
    enum class Source { logind, freedesktop, gnome };
    void set(Source source, bool value);
    void askScreenSaver(const QString& service, const QString& path, Source source);
    void findSession();
    void readLockedHint();

    QDBusConnection sessionBus_;
    QDBusConnection systemBus_;
    QString sessionPath_;
    bool lockedHint_ = false;
    bool freedesktopActive_ = false;
    bool gnomeActive_ = false;
};

} // namespace velmor
