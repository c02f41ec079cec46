#include "platform/desktop/Appearance.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>
#include <QGuiApplication>

namespace velmor {

namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString settingsInterface = QStringLiteral("org.freedesktop.portal.Settings");
const QString appearanceGroup = QStringLiteral("org.freedesktop.appearance");
const QString colorSchemeKey = QStringLiteral("color-scheme");

// Read() wraps the value in one variant more than ReadOne(); unwrap all of them.
QVariant unwrap(QVariant value) {
    while (value.canConvert<QDBusVariant>() && value.userType() == qMetaTypeId<QDBusVariant>())
        value = value.value<QDBusVariant>().variant();
    return value;
}

QPalette makePalette(QColor window, QColor base, QColor text, QColor button, QColor accent) {
    QPalette p;
    const QColor disabledText = QColor(text.red(), text.green(), text.blue(), 110);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, window);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, button);
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::BrightText, Qt::white);
    p.setColor(QPalette::ToolTipBase, base);
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::PlaceholderText, disabledText);
    p.setColor(QPalette::Highlight, accent);
    p.setColor(QPalette::HighlightedText,
               accent.lightnessF() > 0.6 ? QColor(0x1d, 0x1d, 0x1f) : QColor(Qt::white));
    p.setColor(QPalette::Link, accent);
    p.setColor(QPalette::Light, window.lighter(130));
    p.setColor(QPalette::Midlight, window.lighter(115));
    p.setColor(QPalette::Mid, window.darker(125));
    p.setColor(QPalette::Dark, window.darker(160));
    p.setColor(QPalette::Shadow, QColor(0, 0, 0, 120));
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, disabledText);
    return p;
}

} // namespace

SystemAppearance& SystemAppearance::shared() {
    static SystemAppearance appearance;
    return appearance;
}

SystemAppearance::SystemAppearance() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    bus.connect(portalService, portalPath, settingsInterface, QStringLiteral("SettingChanged"),
                this, SLOT(settingChanged(QString, QString, QDBusVariant)));
    read();
}

void SystemAppearance::read() {
    QDBusMessage call = QDBusMessage::createMethodCall(portalService, portalPath, settingsInterface,
                                                       QStringLiteral("Read"));
    call << appearanceGroup << colorSchemeKey;
    // The portal answers at once or not at all; a missing one must not hold the window up.
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 1000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return;
    bool ok = false;
    const uint value = unwrap(reply.arguments().first()).toUInt(&ok);
    if (ok)
        scheme_ = value;
}

void SystemAppearance::settingChanged(const QString& group, const QString& key,
                                      const QDBusVariant& value) {
    if (group != appearanceGroup || key != colorSchemeKey)
        return;
    bool ok = false;
    const uint scheme = unwrap(value.variant()).toUInt(&ok);
    if (!ok || scheme_ == scheme)
        return;
    scheme_ = scheme;
    emit changed();
}

bool SystemAppearance::prefersDark() const {
    if (scheme_ == 1u)
        return true;
    if (scheme_ == 2u)
        return false;
    // No preference from the desktop: the style's own palette says what the desktop looks like.
    return QGuiApplication::palette().color(QPalette::Window).lightnessF() < 0.5;
}

QPalette lightPalette(const QColor& accent) {
    return makePalette(QColor(0xf5, 0xf4, 0xf1), QColor(0xff, 0xff, 0xff), QColor(0x1d, 0x1d, 0x1f),
                       QColor(0xfb, 0xfa, 0xf8), accent);
}

QPalette darkPalette(const QColor& accent) {
    return makePalette(QColor(0x26, 0x26, 0x29), QColor(0x1e, 0x1e, 0x20), QColor(0xec, 0xeb, 0xe8),
                       QColor(0x33, 0x33, 0x37), accent);
}

QPalette paletteFor(AppearanceMode mode, const QColor& accent) {
    bool dark = false;
    switch (mode) {
    case AppearanceMode::light:
        dark = false;
        break;
    case AppearanceMode::dark:
        dark = true;
        break;
    case AppearanceMode::system:
        dark = SystemAppearance::shared().prefersDark();
        break;
    }
    return dark ? darkPalette(accent) : lightPalette(accent);
}

} // namespace velmor
