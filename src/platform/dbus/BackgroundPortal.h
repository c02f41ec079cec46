#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QVariantMap>

namespace velmor {

// Asks the desktop, through its Background portal where one runs, to let Velmor go on without
// a window: desktops that list such programs (GNOME's background apps) then show it and let the
// user stop it. Starting at login stays with the autostart entry. Where no portal answers
// nothing is said; a refusal is one line on standard output.
class BackgroundPortal final : public QObject {
    Q_OBJECT
public:
    explicit BackgroundPortal(QDBusConnection bus = QDBusConnection::sessionBus());

    // `reason` is shown by desktops that ask the user.
    void request(const QString& reason);

private slots:
    void answered(uint response, const QVariantMap& results);

private:
    QDBusConnection bus_;
};

} // namespace velmor
