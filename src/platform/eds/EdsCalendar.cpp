// GLib's headers use "signals" as a field name, which Qt defines as a keyword: include them
// before anything from Qt.
#include <libecal/libecal.h>

#include "platform/eds/EdsCalendar.h"

#include "core/base/Log.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace velmor {

namespace {

void logUnavailable(const QString& why) {
    logLine(QStringLiteral("Desktop calendars unavailable: ") + why);
}

QString messageOf(GError* error) {
    const QString text =
        error ? QString::fromUtf8(error->message) : QStringLiteral("unknown error");
    g_clear_error(&error);
    return text;
}

// Cancels a step that takes longer than the time-out, from a thread of its own, since the step
// blocks the thread that asked.
class Watchdog {
public:
    Watchdog(GCancellable* cancellable, int timeoutMs)
        : thread_([this, cancellable, timeoutMs] {
              std::unique_lock lock(mutex_);
              if (!changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                     [this] { return done_; }))
                  g_cancellable_cancel(cancellable);
          }) {}
    ~Watchdog() {
        {
            std::lock_guard lock(mutex_);
            done_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool done_ = false;
    std::thread thread_;
};

struct SearchState {
    bool found = false;
};

gboolean onInstance(ICalComponent* event, ICalTime* start, ICalTime*, gpointer data, GCancellable*,
                    GError**) {
    if (i_cal_time_is_date(start))
        return TRUE;
    if (ICalProperty* transp = i_cal_component_get_first_property(event, I_CAL_TRANSP_PROPERTY)) {
        const ICalPropertyTransp value = i_cal_property_get_transp(transp);
        g_object_unref(transp);
        if (value == I_CAL_TRANSP_TRANSPARENT || value == I_CAL_TRANSP_TRANSPARENTNOCONFLICT)
            return TRUE;
    }
    if (i_cal_component_get_status(event) == I_CAL_STATUS_CANCELLED)
        return TRUE;
    static_cast<SearchState*>(data)->found = true;
    return FALSE;
}

} // namespace

// The registry and the open calendars; only ever touched by the asking thread.
struct EdsCalendar::Connection {
    ESourceRegistry* registry = nullptr;
    std::vector<ECalClient*> clients;

    ~Connection() {
        for (ECalClient* client : clients)
            g_object_unref(client);
        if (registry)
            g_object_unref(registry);
    }

    static std::unique_ptr<Connection> open(int timeoutMs) {
        GCancellable* cancellable = g_cancellable_new();
        auto connection = std::make_unique<Connection>();
        {
            Watchdog watchdog(cancellable, timeoutMs);
            GError* error = nullptr;
            connection->registry = e_source_registry_new_sync(cancellable, &error);
            if (!connection->registry) {
                logUnavailable(messageOf(error));
                g_object_unref(cancellable);
                return nullptr;
            }
        }
        // The client shares GLib's session bus connection, which by default ends the whole
        // program when the bus goes away; Velmor outlives its bus.
        if (GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr)) {
            g_dbus_connection_set_exit_on_close(bus, FALSE);
            g_object_unref(bus);
        }
        GList* sources =
            e_source_registry_list_enabled(connection->registry, E_SOURCE_EXTENSION_CALENDAR);
        for (GList* it = sources; it; it = it->next) {
            ESource* source = E_SOURCE(it->data);
            Watchdog watchdog(cancellable, timeoutMs);
            GError* error = nullptr;
            // Remote calendars answer from their local copy: do not wait for them to go online
            // ((guint32)-1 means no wait; 0 would wait for ever).
            EClient* client = e_cal_client_connect_sync(source, E_CAL_CLIENT_SOURCE_TYPE_EVENTS,
                                                        guint32(-1), cancellable, &error);
            if (client)
                connection->clients.push_back(E_CAL_CLIENT(client));
            else
                logLine(QStringLiteral("Calendar \"%1\" could not be opened: %2")
                            .arg(QString::fromUtf8(e_source_get_display_name(source)),
                                 messageOf(error)));
            g_cancellable_reset(cancellable);
        }
        g_list_free_full(sources, g_object_unref);
        g_object_unref(cancellable);
        return connection;
    }
};

EdsCalendar::EdsCalendar(int timeoutMs) : timeoutMs_(timeoutMs) {}

EdsCalendar::~EdsCalendar() = default;

int EdsCalendar::connectedCalendars() const {
    return connection_ ? int(connection_->clients.size()) : 0;
}

void EdsCalendar::reconnect() {
    connection_.reset();
    failed_ = false;
}

std::optional<bool> EdsCalendar::hasMeetingBetween(const QDateTime& from, const QDateTime& to) {
    if (!connection_ && !failed_) {
        // A failed attempt is not repeated until reconnect().
        connection_ = Connection::open(timeoutMs_);
        failed_ = !connection_;
    }
    if (!connection_ || connection_->clients.empty())
        return std::nullopt;
    GCancellable* cancellable = g_cancellable_new();
    SearchState state;
    for (ECalClient* client : connection_->clients) {
        Watchdog watchdog(cancellable, timeoutMs_);
        e_cal_client_generate_instances_sync(client, time_t(from.toSecsSinceEpoch()),
                                             time_t(to.toSecsSinceEpoch()), cancellable, onInstance,
                                             &state);
        if (state.found)
            break;
        g_cancellable_reset(cancellable);
    }
    g_object_unref(cancellable);
    return state.found;
}

} // namespace velmor

// The module's one entry, found by name when Evolution Data Server appears on the bus.
extern "C" __attribute__((visibility("default"))) velmor::CalendarSource*
velmor_create_eds_calendar(int timeoutMs) {
    return new velmor::EdsCalendar(timeoutMs);
}
