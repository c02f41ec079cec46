#pragma once

#include "core/shortcuts/HotKeyService.h"
#include "core/shortcuts/Shortcut.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>

namespace velmor::shortcuts {

// The hot keys held with the desktop, each under an id, with the callbacks of its press and
// release. While a menu of ours is open the grabs are let go and keys are matched as they reach
// the application instead; closing the menu grabs them again.
class HotKeyCenter {
public:
    using Callback = std::function<void(const Shortcut&)>;

    explicit HotKeyCenter(HotKeyService& service);
    ~HotKeyCenter();
    HotKeyCenter(const HotKeyCenter&) = delete;
    HotKeyCenter& operator=(const HotKeyCenter&) = delete;

    // A refused grab prints "Error registering hotkey <description>: <why>" and keeps nothing.
    void registerHotKey(const Shortcut& shortcut, Callback onKeyDown, Callback onKeyUp);
    // Every hot key of this shortcut.
    void unregisterHotKey(const Shortcut& shortcut);
    // Grabs again every hot key that is not grabbed; one that is refused is dropped.
    void registerAll();

    void setEnabled(bool enabled);
    void setMenuOpen(bool open);

    // Keys as they reach the application while a menu is open: true when one is a hot key
    // (its callback has run).
    bool isHotKey(int keyCode, int carbonModifiers) const;
    bool handleRawKey(int keyCode, int carbonModifiers, bool pressed);

private:
    struct HotKey {
        Shortcut shortcut;
        bool grabbed = false;
        Callback onKeyDown;
        Callback onKeyUp;
    };

    void deliver(std::uint32_t id, bool pressed);
    void updateEventHandler();
    void releaseAll();

    HotKeyService& service_;
    std::map<std::uint32_t, HotKey> hotKeys_;
    std::uint32_t hotKeyId_ = 0;
    bool handlerInstalled_ = false;
    bool isEnabled_ = true;
    bool isMenuOpen_ = false;
    std::unique_ptr<QObject> rawKeys_; // present while keys are matched in the application
};

} // namespace velmor::shortcuts
