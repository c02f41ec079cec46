#include "platform/dbus/DBusInhibitorWatch.h"

#include "core/base/Log.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>

#include <dbus/dbus.h>

#include <map>
#include <mutex>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <utility>

namespace velmor {

namespace {
const QString sessionManager = QStringLiteral("org.gnome.SessionManager");
const QString sessionPath = QStringLiteral("/org/gnome/SessionManager");
constexpr uint gnomeIdleFlag = 8;
constexpr const char* saverInterface = "org.freedesktop.ScreenSaver";
// What Velmor's own inhibitor gives as its reason, wherever a desktop passes it on.
constexpr const char* ownReason = "Velmor needs accurate timer scheduling";
} // namespace

// The monitor connection and what it has seen; the thread owns the connection.
struct DBusInhibitorWatch::Monitor {
    struct Call {
        std::string sender;
        bool counts;
    };
    std::mutex mutex;
    std::map<std::pair<std::string, dbus_uint32_t>, Call> asking; // (sender, serial)
    std::map<dbus_uint32_t, std::string> inhibitors;              // cookie -> sender
    std::string ownName;
    int fd = -1;
    bool stopping = false;

    size_t count() {
        std::lock_guard lock(mutex);
        return inhibitors.size();
    }

    void seen(DBusMessage* message) {
        const char* sender = dbus_message_get_sender(message);
        const std::string from = sender ? sender : "";
        std::lock_guard lock(mutex);
        switch (dbus_message_get_type(message)) {
        case DBUS_MESSAGE_TYPE_METHOD_CALL: {
            const char* member = dbus_message_get_member(message);
            if (!member || from == ownName)
                return;
            if (std::string(member) == "Inhibit") {
                const char* app = nullptr;
                const char* reason = nullptr;
                dbus_message_get_args(message, nullptr, DBUS_TYPE_STRING, &app, DBUS_TYPE_STRING,
                                      &reason, DBUS_TYPE_INVALID);
                const bool ours = reason && std::string(reason) == ownReason;
                asking[{from, dbus_message_get_serial(message)}] = {from, !ours};
            } else if (std::string(member) == "UnInhibit") {
                dbus_uint32_t cookie = 0;
                if (dbus_message_get_args(message, nullptr, DBUS_TYPE_UINT32, &cookie,
                                          DBUS_TYPE_INVALID))
                    inhibitors.erase(cookie);
            }
            return;
        }
        case DBUS_MESSAGE_TYPE_METHOD_RETURN:
        case DBUS_MESSAGE_TYPE_ERROR: {
            const char* to = dbus_message_get_destination(message);
            const auto it = asking.find({to ? to : "", dbus_message_get_reply_serial(message)});
            if (it == asking.end())
                return;
            dbus_uint32_t cookie = 0;
            if (it->second.counts &&
                dbus_message_get_type(message) == DBUS_MESSAGE_TYPE_METHOD_RETURN &&
                dbus_message_get_args(message, nullptr, DBUS_TYPE_UINT32, &cookie,
                                      DBUS_TYPE_INVALID))
                inhibitors[cookie] = it->second.sender;
            asking.erase(it);
            return;
        }
        case DBUS_MESSAGE_TYPE_SIGNAL: {
            // A program that leaves the bus takes its inhibitions along.
            const char* name = nullptr;
            const char* oldOwner = nullptr;
            const char* newOwner = nullptr;
            if (!dbus_message_get_args(message, nullptr, DBUS_TYPE_STRING, &name, DBUS_TYPE_STRING,
                                       &oldOwner, DBUS_TYPE_STRING, &newOwner, DBUS_TYPE_INVALID) ||
                *newOwner)
                return;
            std::erase_if(inhibitors, [name](const auto& i) { return i.second == name; });
            std::erase_if(asking, [name](const auto& a) { return a.first.first == name; });
            return;
        }
        }
    }

    static DBusHandlerResult filter(DBusConnection*, DBusMessage* message, void* data) {
        static_cast<Monitor*>(data)->seen(message);
        return DBUS_HANDLER_RESULT_HANDLED; // a monitor never answers
    }

    // On the monitor's thread: connect, become a monitor, then read until the connection ends.
    void run(const std::string& address) {
        DBusError error;
        dbus_error_init(&error);
        DBusConnection* connection = address.empty()
                                         ? dbus_bus_get_private(DBUS_BUS_SESSION, &error)
                                         : dbus_connection_open_private(address.c_str(), &error);
        if (connection && !address.empty() && !dbus_bus_register(connection, &error)) {
            dbus_connection_close(connection);
            dbus_connection_unref(connection);
            connection = nullptr;
        }
        if (!connection)
            return fail(error);
        dbus_connection_set_exit_on_disconnect(connection, false);
        const std::string call = std::string("type='method_call',interface='") + saverInterface;
        const std::string rules[] = {
            call + "',member='Inhibit'", call + "',member='UnInhibit'",
            std::string("type='method_return',sender='") + saverInterface + "'",
            std::string("type='error',sender='") + saverInterface + "'",
            "type='signal',sender='org.freedesktop.DBus',interface='org.freedesktop.DBus',"
            "member='NameOwnerChanged'"};
        DBusMessage* become = dbus_message_new_method_call(
            DBUS_SERVICE_DBUS, DBUS_PATH_DBUS, "org.freedesktop.DBus.Monitoring", "BecomeMonitor");
        DBusMessageIter args;
        DBusMessageIter list;
        dbus_message_iter_init_append(become, &args);
        dbus_message_iter_open_container(&args, DBUS_TYPE_ARRAY, DBUS_TYPE_STRING_AS_STRING, &list);
        for (const std::string& rule : rules) {
            const char* text = rule.c_str();
            dbus_message_iter_append_basic(&list, DBUS_TYPE_STRING, &text);
        }
        dbus_message_iter_close_container(&args, &list);
        const dbus_uint32_t flags = 0;
        dbus_message_iter_append_basic(&args, DBUS_TYPE_UINT32, &flags);
        DBusMessage* reply =
            dbus_connection_send_with_reply_and_block(connection, become, 5000, &error);
        dbus_message_unref(become);
        if (reply)
            dbus_message_unref(reply);
        int socket = -1;
        if (reply && dbus_connection_get_socket(connection, &socket)) {
            dbus_connection_add_filter(connection, &Monitor::filter, this, nullptr);
            bool go = false;
            {
                std::lock_guard lock(mutex);
                go = !stopping;
                fd = socket;
            }
            while (go && dbus_connection_read_write_dispatch(connection, -1)) {
            }
            std::lock_guard lock(mutex);
            fd = -1;
        } else {
            fail(error);
        }
        dbus_connection_close(connection);
        dbus_connection_unref(connection);
    }

    static void fail(DBusError& error) {
        logLine(QStringLiteral("Screen saver inhibitors of other programs cannot be watched: ") +
                QString::fromUtf8(dbus_error_is_set(&error) ? error.message : "no session bus"));
        dbus_error_free(&error);
    }

    void stop() {
        std::lock_guard lock(mutex);
        stopping = true;
        if (fd >= 0)
            ::shutdown(fd, SHUT_RDWR); // ends the blocking read
    }
};

DBusInhibitorWatch::DBusInhibitorWatch(QDBusConnection bus, QString busAddress)
    : bus_(std::move(bus)), monitor_(std::make_shared<Monitor>()) {
    if (!bus_.isConnected()) {
        gnomeIdle_ = 0;
        return;
    }
    monitor_->ownName = bus_.baseService().toStdString();
    std::thread([monitor = monitor_, address = busAddress.toStdString()] {
        monitor->run(address);
    }).detach();

    bus_.connect(sessionManager, sessionPath, sessionManager, QStringLiteral("InhibitorAdded"),
                 this, SLOT(askSessionManager()));
    bus_.connect(sessionManager, sessionPath, sessionManager, QStringLiteral("InhibitorRemoved"),
                 this, SLOT(askSessionManager()));
    auto* watcher = new QDBusServiceWatcher(sessionManager, bus_,
                                            QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
            &DBusInhibitorWatch::askSessionManager);
    askSessionManager();
}

DBusInhibitorWatch::~DBusInhibitorWatch() {
    monitor_->stop();
}

void DBusInhibitorWatch::askSessionManager() {
    QDBusMessage call = QDBusMessage::createMethodCall(sessionManager, sessionPath, sessionManager,
                                                       QStringLiteral("IsInhibited"));
    call << gnomeIdleFlag;
    call.setAutoStartService(false); // only watched: never started by us
    const quint64 attempt = ++asked_;
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, attempt] {
        watcher->deleteLater();
        const QDBusPendingReply<bool> reply = *watcher;
        if (attempt == asked_)
            gnomeIdle_ = reply.isValid() && reply.value() ? 1 : 0; // absent: not inhibited
    });
}

bool DBusInhibitorWatch::watchesScreenSaver() const {
    std::lock_guard lock(monitor_->mutex);
    return monitor_->fd >= 0;
}

std::optional<bool> DBusInhibitorWatch::isActive() {
    const int gnome = gnomeIdle_;
    if (gnome < 0)
        return std::nullopt;
    return gnome == 1 || monitor_->count() > 0;
}

} // namespace velmor
