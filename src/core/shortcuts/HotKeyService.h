#pragma once

#include "core/shortcuts/Shortcut.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <utility>

namespace velmor::shortcuts {

// System-wide hot keys as the desktop offers them: a combination is grabbed under an id, and
// presses and releases of it are reported with that id, whichever program is in front.
class HotKeyService {
public:
    using EventHandler = std::function<void(std::uint32_t id, bool pressed)>;

    // Statuses of registerHotKey besides 0. Positive values are the desktop's own error codes
    // (on X11, BadAccess = 10 means another program holds the combination).
    static constexpr int statusOk = 0;
    static constexpr int statusUnavailable = -1; // no desktop service at all
    static constexpr int statusNoSuchKey = -2;   // the key or a modifier cannot be pressed here
    static constexpr int statusTaken = 10;       // another program holds it (X11 BadAccess)

    // "Error registering hotkey <description>: <why>", the line a refused grab prints, with the
    // reason in words rather than the desktop's error number.
    static QString registrationError(const QString& description, int status);

    virtual ~HotKeyService() = default;

    // False where the desktop offers no global hot keys (Wayland without X, offscreen).
    virtual bool isAvailable() const = 0;
    virtual int registerHotKey(std::uint32_t id, const Shortcut& shortcut) = 0;
    virtual void unregisterHotKey(std::uint32_t id) = 0;
    // A trial grab, released at once: true when another program or the desktop holds the
    // combination. Our own hot keys never count as taken.
    virtual bool isTakenElsewhere(const Shortcut& shortcut) = 0;

    // The combination as this desktop writes it, for messages ("Ctrl+Shift+G").
    virtual QString describe(const Shortcut& shortcut) const = 0;

    // While one of our menus holds the keyboard the desktop delivers no hot keys; the returned
    // object matches keys as they reach the application instead, until it is destroyed. Null
    // where the desktop has nothing of the kind.
    using IsHotKey = std::function<bool(int keyCode, int carbonModifiers)>;
    using HandleKey = std::function<bool(int keyCode, int carbonModifiers, bool pressed)>;
    virtual std::unique_ptr<QObject> matchKeysInApplication(IsHotKey isHotKey, HandleKey handle) {
        return nullptr;
    }

    void setEventHandler(EventHandler handler) { handler_ = std::move(handler); }
    bool hasEventHandler() const { return bool(handler_); }

protected:
    void deliver(std::uint32_t id, bool pressed) {
        if (handler_)
            handler_(id, pressed);
    }

private:
    EventHandler handler_;
};

} // namespace velmor::shortcuts
