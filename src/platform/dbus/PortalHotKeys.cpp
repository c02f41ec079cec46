#include "platform/dbus/PortalHotKeys.h"

#include "core/base/Log.h"
#include "platform/dbus/PortalTrigger.h"

#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

namespace velmor {

using shortcuts::Shortcut;

namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString shortcutsInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString requestInterface = QStringLiteral("org.freedesktop.portal.Request");
const QString sessionInterface = QStringLiteral("org.freedesktop.portal.Session");

// Our own code for a request that never reached the portal (the portal's are 0, 1 and 2).
constexpr uint noAnswer = 1000;

void registerTypes() {
    static const bool registered = [] {
        // Slots are matched by type name: the bus types must be known before the first connect.
        qRegisterMetaType<QDBusObjectPath>();
        qRegisterMetaType<QVariantMap>();
        qDBusRegisterMetaType<PortalShortcut>();
        qDBusRegisterMetaType<QList<PortalShortcut>>();
        return true;
    }();
    Q_UNUSED(registered);
}

QString pathOrString(const QVariant& value) {
    if (value.canConvert<QDBusObjectPath>())
        return value.value<QDBusObjectPath>().path();
    return value.toString();
}

} // namespace

QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcut& shortcut) {
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcut& shortcut) {
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}

namespace portal {

void Request::response(uint code, const QVariantMap& results) {
    Answer answer = std::move(answer_);
    answer_ = nullptr;
    deleteLater();
    if (answer)
        answer(code, results);
}

void MenuRelay::tap(const Shortcut& shortcut) {
    handle_(shortcut.carbonKeyCode, shortcut.carbonModifiers, true);
    handle_(shortcut.carbonKeyCode, shortcut.carbonModifiers, false);
}

} // namespace portal

uint PortalHotKeys::offeredVersion(QDBusConnection bus) {
    if (!bus.isConnected())
        return 0;
    QDBusMessage get = QDBusMessage::createMethodCall(
        portalService, portalPath, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    get << shortcutsInterface << QStringLiteral("version");
    const QDBusMessage reply = bus.call(get, QDBus::Block, 2000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return 0;
    return reply.arguments().first().value<QDBusVariant>().variant().toUInt();
}

PortalHotKeys::PortalHotKeys(QString shortcutId, QString description, QDBusConnection bus)
    : shortcutId_(std::move(shortcutId)), description_(std::move(description)), bus_(bus) {
    registerTypes();
    if (!bus_.connect(portalService, portalPath, shortcutsInterface, QStringLiteral("Activated"),
                      this, SLOT(onActivated(QDBusObjectPath, QString, qulonglong, QVariantMap))))
        logLine(QStringLiteral("Global shortcuts: the desktop portal's activations cannot be "
                               "received"));
}

PortalHotKeys::~PortalHotKeys() {
    release();
}

int PortalHotKeys::registerHotKey(std::uint32_t id, const Shortcut& shortcut) {
    active_[id] = shortcut;
    queueSync();
    return statusOk;
}

void PortalHotKeys::unregisterHotKey(std::uint32_t id) {
    active_.erase(id);
}

QString PortalHotKeys::describe(const Shortcut& shortcut) const {
    return portalDescription(shortcut);
}

std::unique_ptr<QObject> PortalHotKeys::matchKeysInApplication(IsHotKey, HandleKey handle) {
    auto relay = std::make_unique<portal::MenuRelay>(std::move(handle));
    menuRelay_ = relay.get();
    return relay;
}

void PortalHotKeys::release() {
    if (session_.isEmpty())
        return;
    bus_.disconnect(portalService, session_, sessionInterface, QStringLiteral("Closed"), this,
                    SLOT(onSessionClosed()));
    // Waited for: this runs on the way out, and the desktop should hear it before we exit.
    bus_.call(QDBusMessage::createMethodCall(portalService, session_, sessionInterface,
                                             QStringLiteral("Close")),
              QDBus::Block, 1000);
    session_.clear();
    bound_.reset();
}

void PortalHotKeys::onActivated(const QDBusObjectPath& session, const QString& shortcutId,
                                qulonglong, const QVariantMap&) {
    if (session_.isEmpty() || session.path() != session_ || shortcutId != shortcutId_)
        return;
    // The portal reports one activation per use (some desktops never send Deactivated), so
    // the press and the release are delivered together.
    if (!active_.empty()) {
        const std::uint32_t id = active_.rbegin()->first;
        deliver(id, true);
        deliver(id, false);
    } else if (menuRelay_ && bound_) {
        menuRelay_->tap(*bound_);
    }
}

void PortalHotKeys::onSessionClosed() {
    // The desktop ended the session: the next registration opens a new one.
    session_.clear();
    bound_.reset();
}

void PortalHotKeys::queueSync() {
    if (syncQueued_)
        return;
    syncQueued_ = true;
    // A new shortcut arrives as a release of the old and a grab of the new in one turn: bind
    // once, after both.
    QMetaObject::invokeMethod(this, &PortalHotKeys::sync, Qt::QueuedConnection);
}

void PortalHotKeys::sync() {
    syncQueued_ = false;
    if (busy_ || active_.empty())
        return;
    wanted_ = active_.rbegin()->second;
    if (!session_.isEmpty() && wanted_ == bound_)
        return;
    if (session_.isEmpty())
        createSession();
    else
        bind();
}

void PortalHotKeys::createSession() {
    busy_ = true;
    const Shortcut shortcut = *wanted_;
    call(QStringLiteral("CreateSession"), {},
         {{QStringLiteral("session_handle_token"), QStringLiteral("velmor%1").arg(++token_)}},
         [this, shortcut](uint code, const QVariantMap& results) {
             busy_ = false;
             const QString session = pathOrString(results.value(QStringLiteral("session_handle")));
             if (code != 0 || session.isEmpty()) {
                 failed(shortcut, code);
                 return;
             }
             session_ = session;
             bus_.connect(portalService, session_, sessionInterface, QStringLiteral("Closed"), this,
                          SLOT(onSessionClosed()));
             sync();
         });
}

void PortalHotKeys::bind() {
    busy_ = true;
    const Shortcut shortcut = *wanted_;
    PortalShortcut entry{shortcutId_, {{QStringLiteral("description"), description_}}};
    if (const auto trigger = portalTrigger(shortcut))
        entry.properties.insert(QStringLiteral("preferred_trigger"), *trigger);
    const bool rebinding = bound_.has_value();
    call(QStringLiteral("BindShortcuts"),
         {QVariant::fromValue(QDBusObjectPath(session_)),
          QVariant::fromValue(QList<PortalShortcut>{entry}), QString()},
         {}, [this, shortcut, rebinding](uint code, const QVariantMap& results) {
             busy_ = false;
             if (code == 0) {
                 bound_ = shortcut;
                 retried_ = false;
                 triggerDescription_.clear();
                 QList<PortalShortcut> accepted;
                 results.value(QStringLiteral("shortcuts")).value<QDBusArgument>() >> accepted;
                 for (const PortalShortcut& one : accepted)
                     if (one.id == shortcutId_)
                         triggerDescription_ =
                             one.properties.value(QStringLiteral("trigger_description")).toString();
                 sync(); // a newer shortcut may have come meanwhile
                 return;
             }
             if (rebinding && !retried_ && code != 1) { // 1: the user said no
                 // Some desktops bind a session once only: start a fresh one.
                 retried_ = true;
                 release();
                 sync();
                 return;
             }
             failed(shortcut, code);
         });
}

void PortalHotKeys::failed(const Shortcut& shortcut, int status) {
    logLine(registrationError(describe(shortcut),
                              uint(status) == noAnswer ? statusUnavailable : status));
}

void PortalHotKeys::call(const QString& method, QVariantList arguments, QVariantMap options,
                         portal::Request::Answer answer) {
    const QString token = QStringLiteral("velmor%1").arg(++token_);
    options.insert(QStringLiteral("handle_token"), token);
    // The portal puts the request object under our unique name; listen there before asking,
    // so an early answer is not missed.
    const QString sender = bus_.baseService().mid(1).replace(QLatin1Char('.'), QLatin1Char('_'));
    const QString expected =
        QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, token);
    auto* request = new portal::Request(answer, this);
    bus_.connect(portalService, expected, requestInterface, QStringLiteral("Response"), request,
                 SLOT(response(uint, QVariantMap)));

    QDBusMessage message =
        QDBusMessage::createMethodCall(portalService, portalPath, shortcutsInterface, method);
    arguments << options;
    message.setArguments(arguments);
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(message), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, watcher, request = QPointer<portal::Request>(request), expected, answer] {
                watcher->deleteLater();
                const QDBusPendingReply<QDBusObjectPath> reply = *watcher;
                if (!request)
                    return; // answered already
                if (reply.isError()) {
                    request->deleteLater();
                    answer(noAnswer, {});
                    return;
                }
                const QString path = reply.value().path();
                if (path != expected) // an older portal chose its own path
                    bus_.connect(portalService, path, requestInterface, QStringLiteral("Response"),
                                 request.data(), SLOT(response(uint, QVariantMap)));
            });
}

} // namespace velmor
