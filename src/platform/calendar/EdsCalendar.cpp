// GLib's headers use "signals" as a field name, which Qt defines as a keyword: include them
// before anything from Qt.
#include <libecal/libecal.h>

#include "platform/calendar/EdsCalendar.h"

#include "core/base/Log.h"

#include <QFileInfo>

#include <vector>

namespace velmor {

namespace {

constexpr const char* registryBusName = "org.gnome.evolution.dataserver.Sources5";

void logUnavailable(const QString& why) {
    logLine(QStringLiteral("Desktop calendars unavailable: ") + why);
}

QString messageOf(GError* error) {
    const QString text =
        error ? QString::fromUtf8(error->message) : QStringLiteral("unknown error");
    g_clear_error(&error);
    return text;
}

bool callBool(GDBusConnection* bus, const char* method, const char* name, int timeoutMs) {
    GVariant* reply = g_dbus_connection_call_sync(
        bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", method,
        g_variant_new("(s)", name), G_VARIANT_TYPE("(b)"), G_DBUS_CALL_FLAGS_NONE, timeoutMs,
        nullptr, nullptr);
    if (!reply)
        return false;
    gboolean value = FALSE;
    g_variant_get(reply, "(b)", &value);
    g_variant_unref(reply);
    return value;
}

bool isActivatable(GDBusConnection* bus, const char* name, int timeoutMs) {
    GVariant* reply = g_dbus_connection_call_sync(
        bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
        "ListActivatableNames", nullptr, G_VARIANT_TYPE("(as)"), G_DBUS_CALL_FLAGS_NONE, timeoutMs,
        nullptr, nullptr);
    if (!reply)
        return false;
    GVariantIter* names = nullptr;
    g_variant_get(reply, "(as)", &names);
    bool found = false;
    const gchar* each = nullptr;
    while (!found && g_variant_iter_loop(names, "&s", &each))
        found = g_strcmp0(each, name) == 0;
    g_variant_iter_free(names);
    g_variant_unref(reply);
    return found;
}

// Only a bus that is really there: GLib would otherwise try to autolaunch one.
bool sessionBusConfigured() {
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return true;
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(QString::fromLocal8Bit(runtime) + "/bus");
}

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

// One attempt to reach the calendars. Everything is asynchronous on GLib's main context, which
// Qt's event loop runs, so a slow or stuck calendar service never holds up the program. The
// attempt is cancelled when it is replaced or destroyed; a cancelled callback touches nothing.
struct EdsCalendar::Connection {
    GCancellable* cancellable = g_cancellable_new();
    ESourceRegistry* registry = nullptr;
    std::vector<ECalClient*> clients;
    int opening = 1; // the registry, then each calendar

    ~Connection() {
        g_cancellable_cancel(cancellable);
        g_object_unref(cancellable);
        for (ECalClient* client : clients)
            g_object_unref(client);
        if (registry)
            g_object_unref(registry);
    }

    static bool cancelled(GError* error) {
        const bool result = g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED);
        if (result)
            g_clear_error(&error);
        return result;
    }

    static void registryReady(GObject*, GAsyncResult* result, gpointer data) {
        GError* error = nullptr;
        ESourceRegistry* registry = e_source_registry_new_finish(result, &error);
        if (cancelled(error))
            return;
        auto* self = static_cast<Connection*>(data);
        --self->opening;
        if (!registry)
            return logUnavailable(messageOf(error));
        self->registry = registry;
        GList* sources = e_source_registry_list_enabled(registry, E_SOURCE_EXTENSION_CALENDAR);
        for (GList* it = sources; it; it = it->next, ++self->opening)
            // Remote calendars answer from their local copy: do not wait for them to go online
            // ((guint32)-1 means no wait; 0 would wait for ever).
            e_cal_client_connect(E_SOURCE(it->data), E_CAL_CLIENT_SOURCE_TYPE_EVENTS, guint32(-1),
                                 self->cancellable, &Connection::clientReady, self);
        g_list_free_full(sources, g_object_unref);
    }

    static void clientReady(GObject* source, GAsyncResult* result, gpointer data) {
        GError* error = nullptr;
        EClient* client = e_cal_client_connect_finish(result, &error);
        if (cancelled(error))
            return;
        auto* self = static_cast<Connection*>(data);
        --self->opening;
        if (!client) {
            const char* name =
                E_IS_SOURCE(source) ? e_source_get_display_name(E_SOURCE(source)) : "";
            logLine(QStringLiteral("Calendar \"%1\" could not be opened: %2")
                        .arg(QString::fromUtf8(name), messageOf(error)));
            return;
        }
        self->clients.push_back(E_CAL_CLIENT(client));
    }
};

EdsCalendar::EdsCalendar(int busTimeoutMs) : busTimeoutMs_(busTimeoutMs) {}

EdsCalendar::~EdsCalendar() = default;

bool EdsCalendar::isConnecting() const {
    return connection_ && connection_->opening > 0;
}

int EdsCalendar::connectedCalendars() const {
    return connection_ ? int(connection_->clients.size()) : 0;
}

void EdsCalendar::reconnect() {
    connection_.reset();
    attempted_ = false;
    connectOnce();
}

void EdsCalendar::connectOnce() {
    if (attempted_)
        return;
    attempted_ = true;
    if (!sessionBusConfigured())
        return logUnavailable(QStringLiteral("no session bus"));
    GError* error = nullptr;
    GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &error);
    if (!bus)
        return logUnavailable(messageOf(error));
    const bool reachable = callBool(bus, "NameHasOwner", registryBusName, busTimeoutMs_) ||
                           isActivatable(bus, registryBusName, busTimeoutMs_);
    g_object_unref(bus);
    if (!reachable)
        return logUnavailable(QStringLiteral("no calendar registry on the session bus"));
    connection_ = std::make_unique<Connection>();
    e_source_registry_new(connection_->cancellable, &Connection::registryReady, connection_.get());
}

std::optional<bool> EdsCalendar::hasMeetingBetween(const QDateTime& from, const QDateTime& to) {
    connectOnce();
    if (!connection_ || connection_->clients.empty())
        return std::nullopt;
    SearchState state;
    for (ECalClient* client : connection_->clients) {
        e_cal_client_generate_instances_sync(client, time_t(from.toSecsSinceEpoch()),
                                             time_t(to.toSecsSinceEpoch()), nullptr, onInstance,
                                             &state);
        if (state.found)
            return true;
    }
    return false;
}

} // namespace velmor
