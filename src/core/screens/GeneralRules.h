#pragma once

#include <QString>

#include <functional>

namespace velmor {

// The desktop's record of whether Velmor starts at login (the only record of it: it is not a
// setting).
class LoginItem {
public:
    virtual ~LoginItem() = default;
    virtual bool isEnabled() const = 0;
    // False when the desktop refused.
    virtual bool registerItem() = 0;
    virtual bool unregisterItem() = 0;
};

// The general screen's behaviour.
struct GeneralRules {
    // Registers or unregisters; returns what the checkbox shows afterwards: the wish on
    // success, the desktop's actual state on a refusal.
    static bool applyLaunchAtLogin(LoginItem& item, bool wanted);

    // Turning "Pause during calls and recordings" on asks the calendars again, as a task on the
    // main thread (after the current event); turning it off does nothing more.
    static void pauseDuringCallsChanged(bool on, const std::function<void()>& requestAccess);

    // The note under the shortcut card: the tray's menu where there is one, else what this
    // desktop offers instead (the window, the launcher's actions, a key bound to velmor --now).
    static QString footnote(bool trayShown);

    // The keyboard shortcut card's informative row.
    static QString openSettingsTitle();    // "Open settings"
    static QString openSettingsShortcut(); // "Ctrl+,"
};

} // namespace velmor
