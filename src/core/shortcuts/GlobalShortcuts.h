#pragma once

#include "core/shortcuts/Shortcut.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

namespace velmor {
class SettingsStore;
}

namespace velmor::shortcuts {

class HotKeyService;

// A named shortcut: the name is also the suffix of its storage key. Creating a name with a
// default stores and registers that default when the store holds nothing at all under the key.
struct Name {
    QString rawValue;
    std::optional<Shortcut> defaultShortcut;

    Name(QString value, std::optional<Shortcut> shortcutByDefault = std::nullopt);

    QString storageKey() const { return QStringLiteral("GlobalShortcuts_") + rawValue; }
    friend bool operator==(const Name& a, const Name& b) { return a.rawValue == b.rawValue; }
};

// The application's one name: Ctrl+Shift+G by default. Created on first call.
const Name& triggerVelmoring();

// Carries "GlobalShortcuts_shortcutByNameDidChange": posted after every stored change.
class ShortcutNotifications final : public QObject {
    Q_OBJECT
public:
    static constexpr const char* notificationName = "GlobalShortcuts_shortcutByNameDidChange";

signals:
    void shortcutByNameDidChange(const velmor::shortcuts::Name& name);
};

// Process-wide: names, their stored shortcuts, the actions attached to them, and the hot keys
// that run those actions. Everything runs on the main thread.
class GlobalShortcuts {
public:
    using Action = std::function<void()>;

    GlobalShortcuts() = delete;

    // Starts afresh with this store and hot-key service (tests hand in their own). Without a
    // call, first use takes the shared settings store and the desktop's hot keys.
    static void initialize(SettingsStore& store, HotKeyService& hotKeys);

    // The stored shortcut; never the default.
    static std::optional<Shortcut> getShortcut(const Name& name);
    // Stores (and grabs) a shortcut, or removes the name's shortcut.
    static void setShortcut(const std::optional<Shortcut>& shortcut, const Name& name);
    // Stores each name's default, or removes its shortcut when it has none.
    static void reset(const QList<Name>& names);

    static void onKeyDown(const Name& name, Action action);
    static void onKeyUp(const Name& name, Action action);

    // True while a recorder records: shortcuts run nothing.
    static bool isPaused();
    static void setPaused(bool paused);
    // Off lets go of every hot key; on grabs them again.
    static bool isEnabled();
    static void setEnabled(bool enabled);
    // The global flag, and the name's stored shortcut held with the desktop.
    static bool isEnabled(const Name& name);

    // False where the desktop lets no program hold a global shortcut: a recorded one could
    // never fire.
    static bool isAvailable();

    // True when another program or the desktop already uses the combination (a trial grab is
    // refused). For the recorder's conflict check.
    static bool isTakenBySystem(const Shortcut& shortcut);

    static ShortcutNotifications& notifications();

private:
    friend struct Name;
    static void nameCreated(const Name& name);
};

} // namespace velmor::shortcuts
