#include "platform/dbus/BackgroundPortal.h"

#include "core/base/Log.h"

#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QVariantMap>

namespace velmor {

namespace {
const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString token = QStringLiteral("velmor_background");
} // namespace

BackgroundPortal::BackgroundPortal(QDBusConnection bus) : bus_(std::move(bus)) {}

void BackgroundPortal::request(const QString& reason) {
    if (!bus_.isConnected())
        return;
    // The answer comes on a request object whose path the portal derives from our name and the
    // token: listened for before asking, so it cannot be missed.
    QString sender = bus_.baseService().mid(1);
    sender.replace(u'.', u'_');
    bus_.connect(portalService,
                 QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, token),
                 QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"), this,
                 SLOT(answered(uint, QVariantMap)));
    QDBusMessage call = QDBusMessage::createMethodCall(
        portalService, portalPath, QStringLiteral("org.freedesktop.portal.Background"),
        QStringLiteral("RequestBackground"));
    call << QString() // no parent window
         << QVariantMap{{QStringLiteral("handle_token"), token},
                        {QStringLiteral("reason"), reason},
                        {QStringLiteral("autostart"), false}};
    bus_.asyncCall(call);
}

void BackgroundPortal::answered(uint response, const QVariantMap& results) {
    // 0: granted; 1: the user said no; 2: the desktop ended the request.
    if (response == 0 && results.value(QStringLiteral("background"), true).toBool())
        return;
    logLine(QStringLiteral("The desktop did not let Velmor run in the background; it goes on "
                           "until you quit it, but the desktop may not list it"));
}

} // namespace velmor
