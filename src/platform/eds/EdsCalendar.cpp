// GLib's headers use "signals" as a field name, which Qt defines as a keyword: include them
// before anything from Qt.
#include <libecal/libecal.h>

#include "platform/eds/EdsCalendar.h"

#include "core/base/Log.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <functional>
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

std::time_t momentOf(ICalTime* t) {
    ICalTimezone* zone = i_cal_time_get_timezone(t);
    return std::time_t(
        i_cal_time_as_timet_with_zone(t, zone ? zone : i_cal_timezone_get_utc_timezone()));
}

gboolean onInstance(ICalComponent* event, ICalTime* start, ICalTime* end, gpointer data,
                    GCancellable*, GError**) {
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
    const std::time_t from = momentOf(start);
    static_cast<std::vector<BusySpan>*>(data)->push_back({from, std::max(from, momentOf(end))});
    return TRUE;
}

using Notify = std::function<void()>;

void onViewChange(ECalClientView*, gpointer, gpointer data) {
    (*static_cast<Notify*>(data))();
}

void forgetNotify(gpointer data, GClosure*) {
    delete static_cast<Notify*>(data);
}

// A live view of every event of the calendar that tells of each change and sends nothing at
// its start. Its signals arrive in the main context of the thread that opened the calendar:
// the default one, which the program's event loop runs.
ECalClientView* watchChanges(ECalClient* client, const Notify& notify, GCancellable* cancellable) {
    ECalClientView* view = nullptr;
    GError* error = nullptr;
    if (!e_cal_client_get_view_sync(client, "#t", &view, cancellable, &error)) {
        logLine(QStringLiteral("Calendar changes will be seen late: ") + messageOf(error));
        return nullptr;
    }
    e_cal_client_view_set_flags(view, E_CAL_CLIENT_VIEW_FLAGS_NONE, nullptr);
    GSList* fields = g_slist_prepend(nullptr, const_cast<char*>("UID"));
    e_cal_client_view_set_fields_of_interest(view, fields, nullptr);
    g_slist_free(fields);
    for (const char* signal : {"objects-added", "objects-modified", "objects-removed"})
        g_signal_connect_data(view, signal, G_CALLBACK(onViewChange), new Notify(notify),
                              &forgetNotify, GConnectFlags(0));
    e_cal_client_view_start(view, &error);
    g_clear_error(&error);
    return view;
}

} // namespace

// The registry, the open calendars and their views; only ever touched by the asking thread.
struct EdsCalendar::Connection {
    ESourceRegistry* registry = nullptr;
    std::vector<ECalClient*> clients;
    std::vector<ECalClientView*> views;

    ~Connection() {
        for (ECalClientView* view : views) {
            e_cal_client_view_stop(view, nullptr);
            g_signal_handlers_disconnect_matched(view, G_SIGNAL_MATCH_FUNC, 0, 0, nullptr,
                                                 reinterpret_cast<gpointer>(&onViewChange),
                                                 nullptr);
            g_object_unref(view);
        }
        for (ECalClient* client : clients)
            g_object_unref(client);
        if (registry)
            g_object_unref(registry);
    }

    static std::unique_ptr<Connection> open(int timeoutMs, const Notify& notify) {
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
            if (client) {
                connection->clients.push_back(E_CAL_CLIENT(client));
                if (ECalClientView* view = watchChanges(E_CAL_CLIENT(client), notify, cancellable))
                    connection->views.push_back(view);
            } else
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

std::optional<std::vector<BusySpan>> EdsCalendar::busyBetween(std::time_t from, std::time_t to) {
    if (!connection_ && !failed_) {
        // A failed attempt is not repeated until reconnect().
        connection_ = Connection::open(timeoutMs_, [notify = changeNotifier()] {
            if (notify)
                notify();
        });
        failed_ = !connection_;
    }
    if (!connection_ || connection_->clients.empty())
        return std::nullopt;
    GCancellable* cancellable = g_cancellable_new();
    std::vector<BusySpan> busy;
    for (ECalClient* client : connection_->clients) {
        Watchdog watchdog(cancellable, timeoutMs_);
        e_cal_client_generate_instances_sync(client, time_t(from), time_t(to), cancellable,
                                             onInstance, &busy);
        g_cancellable_reset(cancellable);
    }
    g_object_unref(cancellable);
    return busy;
}

} // namespace velmor

// The module's one entry, found by name when Evolution Data Server appears on the bus.
extern "C" __attribute__((visibility("default"))) velmor::CalendarSource*
velmor_create_eds_calendar(int timeoutMs) {
    return new velmor::EdsCalendar(timeoutMs);
}
