#pragma once

#include "core/shortcuts/HotKeyService.h"

#include <QAbstractNativeEventFilter>
#include <QObject>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <vector>

struct xcb_connection_t;

namespace velmor {

// Global hot keys on X11: passive key grabs on the root window, one for each combination of
// the lock modifiers (Caps Lock, Num Lock, Scroll Lock) so a lit lock does not break them,
// grabbed again when the keyboard or modifier mapping changes. Presses and releases are read
// from Qt's own X connection.
class X11HotKeys final : public shortcuts::HotKeyService, private QAbstractNativeEventFilter {
public:
    // On the application's X connection; nothing where Qt does not run on X11.
    static std::unique_ptr<X11HotKeys> create();
    X11HotKeys(xcb_connection_t* connection, std::uint32_t rootWindow);
    ~X11HotKeys() override;

    bool isAvailable() const override { return true; }
    // 0, or the X error of a refused grab (BadAccess: another client holds the combination),
    // or statusNoSuchKey.
    int registerHotKey(std::uint32_t id, const shortcuts::Shortcut& shortcut) override;
    void unregisterHotKey(std::uint32_t id) override;
    bool isTakenElsewhere(const shortcuts::Shortcut& shortcut) override;
    QString describe(const shortcuts::Shortcut& shortcut) const override;
    std::unique_ptr<QObject> matchKeysInApplication(IsHotKey isHotKey, HandleKey handle) override;

private:
    struct Combination {
        std::uint8_t keyCode = 0;
        std::uint16_t modifiers = 0;
        friend bool operator==(const Combination&, const Combination&) = default;
    };
    struct Grab {
        shortcuts::Shortcut shortcut;
        Combination combination;
    };
    // Where the modifier mapping puts the modifiers that are not fixed by the protocol.
    struct ModifierMasks {
        std::uint16_t alt = 0;
        std::uint16_t super = 0;
        std::uint16_t numLock = 0;
        std::uint16_t scrollLock = 0;
    };

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;
    bool keyPressed(std::uint8_t keyCode, std::uint16_t state, std::uint32_t time);
    bool keyReleased(std::uint8_t keyCode, std::uint32_t time);

    std::optional<Combination> combination(const shortcuts::Shortcut& shortcut) const;
    std::vector<std::uint16_t> lockVariants() const;
    bool isOurs(const Combination& combination) const;
    int grab(const Combination& combination);
    void ungrab(const Combination& combination);
    void readModifierMapping();
    void queueRegrab();
    void regrab();

    xcb_connection_t* connection_;
    std::uint32_t root_;
    std::uint8_t xkbFirstEvent_ = 0;
    ModifierMasks masks_;
    std::map<std::uint32_t, Grab> grabs_;
    std::map<std::uint8_t, std::uint32_t> down_;            // key code -> hot key it pressed
    std::map<std::uint8_t, std::uint32_t> pendingReleases_; // key code -> time of the release
    bool regrabQueued_ = false;
    QObject context_; // queued work dies with this object
};

// The desktop's global hot keys: X11 where Qt runs on X; elsewhere a service without any, which
// says so once on standard output.
std::unique_ptr<shortcuts::HotKeyService> makeSystemHotKeys();

} // namespace velmor
