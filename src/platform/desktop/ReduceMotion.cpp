// GIO first: its headers use the word Qt reserves for its signal sections.
#include <gio/gio.h>

#include "platform/desktop/ReduceMotion.h"

#include "core/base/Log.h"

#include <QSettings>
#include <QStandardPaths>

#include <dlfcn.h>
#include <mutex>
#include <thread>

namespace velmor {

namespace {

// GIO is opened the first time an overlay asks, not at launch: a program waiting in the tray
// does not carry it (and the libraries it pulls in) for a question asked once per pause.
struct Gio {
    decltype(&g_settings_schema_source_get_default) sourceDefault = nullptr;
    decltype(&g_settings_schema_source_lookup) lookup = nullptr;
    decltype(&g_settings_schema_has_key) hasKey = nullptr;
    decltype(&g_settings_new_full) newFull = nullptr;
    decltype(&g_settings_get_boolean) getBoolean = nullptr;
    decltype(&g_object_unref) unref = nullptr;
    decltype(&g_settings_schema_unref) schemaUnref = nullptr;
    decltype(&g_bus_get_sync) busGetSync = nullptr;
    decltype(&g_dbus_connection_set_exit_on_close) setExitOnClose = nullptr;
    decltype(&g_dbus_connection_is_closed) isClosed = nullptr;

    bool loaded() const {
        return sourceDefault && lookup && hasKey && newFull && getBoolean && unref && schemaUnref &&
               busGetSync && setExitOnClose && isClosed;
    }
};

template <typename F> void resolve(void* library, const char* name, F& function) {
    function = reinterpret_cast<F>(::dlsym(library, name));
}

const Gio& gio() {
    static const Gio loaded = [] {
        Gio g;
        // Kept open for the program's life: GLib's types cannot be unloaded.
        void* library = ::dlopen("libgio-2.0.so.0", RTLD_LAZY | RTLD_LOCAL);
        if (!library) {
            logLine(QStringLiteral("GIO not found; the GNOME animation setting is not read"));
            return g;
        }
        resolve(library, "g_settings_schema_source_get_default", g.sourceDefault);
        resolve(library, "g_settings_schema_source_lookup", g.lookup);
        resolve(library, "g_settings_schema_has_key", g.hasKey);
        resolve(library, "g_settings_new_full", g.newFull);
        resolve(library, "g_settings_get_boolean", g.getBoolean);
        resolve(library, "g_object_unref", g.unref);
        resolve(library, "g_settings_schema_unref", g.schemaUnref);
        resolve(library, "g_bus_get_sync", g.busGetSync);
        resolve(library, "g_dbus_connection_set_exit_on_close", g.setExitOnClose);
        resolve(library, "g_dbus_connection_is_closed", g.isClosed);
        return g;
    }();
    return loaded;
}

// GLib shares one session bus connection in a process, and by default it ends the process
// (it raises SIGTERM) when the bus closes that connection. Reading GNOME's settings (dconf)
// makes one in Velmor, so a bus that went away, while an overlay was up, took Velmor with it.
// Held here with that turned off; once it is closed, a new one is taken the next time, which
// GLib then shares with dconf again. Connecting may wait on the bus: never on the event loop.
void keepSessionBusFromEndingUs(const Gio& g) {
    static std::mutex mutex;
    static GDBusConnection* held = nullptr;
    std::thread([&g] {
        std::unique_lock lock(mutex, std::try_to_lock);
        if (!lock.owns_lock() || (held && !g.isClosed(held)))
            return;
        if (held)
            g.unref(held);
        held = g.busGetSync(G_BUS_TYPE_SESSION, nullptr, nullptr);
        if (held)
            g.setExitOnClose(held, FALSE);
    }).detach();
}

bool gnomeAnimationsOff() {
    const Gio& g = gio();
    if (!g.loaded())
        return false;
    keepSessionBusFromEndingUs(g);
    GSettingsSchemaSource* source = g.sourceDefault();
    if (!source)
        return false;
    // Looking the schema up first: creating settings for a missing schema aborts the process.
    GSettingsSchema* schema = g.lookup(source, "org.gnome.desktop.interface", TRUE);
    if (!schema)
        return false;
    bool off = false;
    if (g.hasKey(schema, "enable-animations")) {
        GSettings* settings = g.newFull(schema, nullptr, nullptr);
        off = !g.getBoolean(settings, "enable-animations");
        g.unref(settings);
    }
    g.schemaUnref(schema);
    return off;
}

bool kdeAnimationsOff() {
    const QString file =
        QStandardPaths::locate(QStandardPaths::GenericConfigLocation, QStringLiteral("kdeglobals"));
    if (file.isEmpty())
        return false;
    QSettings kde(file, QSettings::IniFormat);
    bool ok = false;
    const double factor = kde.value(QStringLiteral("KDE/AnimationDurationFactor")).toDouble(&ok);
    return ok && factor == 0.0;
}

} // namespace

bool systemReducesMotion() {
    return gnomeAnimationsOff() || kdeAnimationsOff();
}

} // namespace velmor
