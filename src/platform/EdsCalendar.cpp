// GLib's headers use "signals" as a field name, which Qt defines as a keyword: include them
// before anything from Qt.
#include <libecal/libecal.h>

#include "platform/EdsCalendar.h"

#include "platform/Log.h"

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

struct EdsCalendar::Connection {
    ESourceRegistry* registry = nullptr;
    std::vector<ECalClient*> clients;

    ~Connection() {
        for (ECalClient* client : clients)
            g_object_unref(client);
        if (registry)
            g_object_unref(registry);
    }
};

EdsCalendar::EdsCalendar(int busTimeoutMs) : busTimeoutMs_(busTimeoutMs) {}

EdsCalendar::~EdsCalendar() = default;

int EdsCalendar::connectedCalendars() const {
    return connection_ ? int(connection_->clients.size()) : 0;
}

void EdsCalendar::reconnect() {
    connection_.reset();
    attempted_ = false;
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

    auto connection = std::make_unique<Connection>();
    connection->registry = e_source_registry_new_sync(nullptr, &error);
    if (!connection->registry)
        return logUnavailable(messageOf(error));
    GList* sources =
        e_source_registry_list_enabled(connection->registry, E_SOURCE_EXTENSION_CALENDAR);
    for (GList* it = sources; it; it = it->next) {
        auto* source = E_SOURCE(it->data);
        // Remote calendars answer from their local copy: do not wait for them to go online
        // ((guint32)-1 means no wait; 0 would wait for ever).
        EClient* client = e_cal_client_connect_sync(source, E_CAL_CLIENT_SOURCE_TYPE_EVENTS,
                                                    guint32(-1), nullptr, &error);
        if (client)
            connection->clients.push_back(E_CAL_CLIENT(client));
        else
            logLine(
                QStringLiteral("Calendar \"%1\" could not be opened: %2")
                    .arg(QString::fromUtf8(e_source_get_display_name(source)), messageOf(error)));
    }
    g_list_free_full(sources, g_object_unref);
    connection_ = std::move(connection);
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
