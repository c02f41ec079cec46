// GIO first: its headers use the word Qt reserves for its signal sections.
#include <gio/gio.h>

#include "platform/desktop/ReduceMotion.h"

#include <QSettings>
#include <QStandardPaths>

namespace velmor {

namespace {

bool gnomeAnimationsOff() {
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    if (!source)
        return false;
    // Looking the schema up first: creating settings for a missing schema aborts the process.
    GSettingsSchema* schema =
        g_settings_schema_source_lookup(source, "org.gnome.desktop.interface", TRUE);
    if (!schema)
        return false;
    bool off = false;
    if (g_settings_schema_has_key(schema, "enable-animations")) {
        GSettings* settings = g_settings_new_full(schema, nullptr, nullptr);
        off = !g_settings_get_boolean(settings, "enable-animations");
        g_object_unref(settings);
    }
    g_settings_schema_unref(schema);
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
