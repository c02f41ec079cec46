#pragma once

#include "core/shortcuts/HotKeyService.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariantMap>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>

namespace velmor {

// One entry of the portal's shortcut lists, a(sa{sv}): an id and its properties.
struct PortalShortcut {
    QString id;
    QVariantMap properties;
};
QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcut& shortcut);
const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcut& shortcut);

namespace portal {

// Waits for the Response of one portal request and hands it on once.
class Request final : public QObject {
    Q_OBJECT
public:
    using Answer = std::function<void(uint response, const QVariantMap& results)>;
    Request(Answer answer, QObject* parent) : QObject(parent), answer_(std::move(answer)) {}

public slots:
    void response(uint code, const QVariantMap& results);

private:
    Answer answer_;
};

// Keys reach us while one of our menus is open only through this; the portal keeps delivering.
class MenuRelay final : public QObject {
    Q_OBJECT
public:
    explicit MenuRelay(shortcuts::HotKeyService::HandleKey handle) : handle_(std::move(handle)) {}
    void tap(const shortcuts::Shortcut& shortcut);

private:
    shortcuts::HotKeyService::HandleKey handle_;
};

} // namespace portal

// Global hot keys through the desktop portal (org.freedesktop.portal.GlobalShortcuts), as
// Wayland desktops offer them: one session, one shortcut id, the stored combination handed in
// as the preferred trigger. The desktop has the last word on the trigger and may ask the user.
// A newly stored combination binds again; letting go of every hot key keeps the binding (the
// portal has no way to drop one shortcut) but its activations run nothing. release() closes
// the session, and with it the desktop's shortcut.
class PortalHotKeys final : public QObject, public shortcuts::HotKeyService {
    Q_OBJECT
public:
    // The version of the portal's global-shortcut interface, or 0 where none answers. Asks the
    // bus and waits for the answer (at most two seconds).
    static uint offeredVersion(QDBusConnection bus = QDBusConnection::sessionBus());

    PortalHotKeys(QString shortcutId, QString description,
                  QDBusConnection bus = QDBusConnection::sessionBus());
    ~PortalHotKeys() override;

    bool isAvailable() const override { return true; }
    int registerHotKey(std::uint32_t id, const shortcuts::Shortcut& shortcut) override;
    void unregisterHotKey(std::uint32_t id) override;
    // The desktop decides, in its own dialog: nothing is taken as far as we can tell.
    bool isTakenElsewhere(const shortcuts::Shortcut&) override { return false; }
    QString describe(const shortcuts::Shortcut& shortcut) const override;
    std::unique_ptr<QObject> matchKeysInApplication(IsHotKey isHotKey, HandleKey handle) override;

    void release();

    // For diagnostics and tests: the open session, and the trigger the desktop reported for our
    // shortcut after the last binding (empty until then).
    QString sessionHandle() const { return session_; }
    QString triggerDescription() const { return triggerDescription_; }

private slots:
    void onActivated(const QDBusObjectPath& session, const QString& shortcutId,
                     qulonglong timestamp, const QVariantMap& options);
    void onSessionClosed();

private:
    void queueSync();
    void sync();
    void createSession();
    void bind();
    void failed(const shortcuts::Shortcut& shortcut, int status);
    void call(const QString& method, QVariantList arguments, QVariantMap options,
              portal::Request::Answer answer);

    QString shortcutId_;
    QString description_;
    QDBusConnection bus_;
    std::map<std::uint32_t, shortcuts::Shortcut> active_;
    std::optional<shortcuts::Shortcut> wanted_; // what the session should carry
    std::optional<shortcuts::Shortcut> bound_;  // what the desktop accepted
    QString session_;
    QString triggerDescription_;
    bool busy_ = false; // a request is on its way
    bool syncQueued_ = false;
    bool retried_ = false; // a refused rebinding is tried once more in a fresh session
    quint64 token_ = 0;
    QPointer<portal::MenuRelay> menuRelay_;
};

} // namespace velmor

Q_DECLARE_METATYPE(velmor::PortalShortcut)
