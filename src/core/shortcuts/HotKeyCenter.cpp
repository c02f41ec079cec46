#include "core/shortcuts/HotKeyCenter.h"

#include "core/base/Log.h"

namespace velmor::shortcuts {

namespace {
void logRegistrationError(const HotKeyService& service, const Shortcut& shortcut, int status) {
    logLine(HotKeyService::registrationError(service.describe(shortcut), status));
}
} // namespace

QString HotKeyService::registrationError(const QString& description, int status) {
    QString why;
    switch (status) {
    case statusTaken:
        why = QStringLiteral("already taken by another program");
        break;
    case statusUnavailable:
        why = QStringLiteral("global shortcuts are not available on this desktop");
        break;
    case statusNoSuchKey:
        why = QStringLiteral("no key of this keyboard makes it");
        break;
    default:
        why = QStringLiteral("refused by the desktop (error %1)").arg(status);
    }
    return QStringLiteral("Error registering hotkey %1: %2").arg(description, why);
}

HotKeyCenter::HotKeyCenter(HotKeyService& service) : service_(service) {}

// Nothing is let go at the end: the service may already be gone, and the grabs end with the
// process (or with the service).
HotKeyCenter::~HotKeyCenter() = default;

void HotKeyCenter::registerHotKey(const Shortcut& shortcut, Callback onKeyDown, Callback onKeyUp) {
    // Without a desktop service nothing can be grabbed; that was said once already.
    if (!service_.isAvailable())
        return;
    const std::uint32_t id = ++hotKeyId_;
    const int status = service_.registerHotKey(id, shortcut);
    if (status != HotKeyService::statusOk) {
        logRegistrationError(service_, shortcut, status);
        return;
    }
    hotKeys_[id] = HotKey{shortcut, true, std::move(onKeyDown), std::move(onKeyUp)};
    if (!handlerInstalled_) {
        service_.setEventHandler(
            [this](std::uint32_t hotKeyId, bool pressed) { deliver(hotKeyId, pressed); });
        handlerInstalled_ = true;
        updateEventHandler();
    } else if (isMenuOpen_ || !isEnabled_) {
        // Registered while a menu is open: its keys come through the menu filter for now.
        service_.unregisterHotKey(id);
        hotKeys_[id].grabbed = false;
    }
}

void HotKeyCenter::unregisterHotKey(const Shortcut& shortcut) {
    for (auto it = hotKeys_.begin(); it != hotKeys_.end();) {
        if (it->second.shortcut == shortcut) {
            if (it->second.grabbed)
                service_.unregisterHotKey(it->first);
            it = hotKeys_.erase(it);
        } else {
            ++it;
        }
    }
}

void HotKeyCenter::registerAll() {
    for (auto it = hotKeys_.begin(); it != hotKeys_.end();) {
        HotKey& hotKey = it->second;
        if (hotKey.grabbed) {
            ++it;
            continue;
        }
        const int status = service_.registerHotKey(it->first, hotKey.shortcut);
        if (status == HotKeyService::statusOk) {
            hotKey.grabbed = true;
            ++it;
        } else {
            logRegistrationError(service_, hotKey.shortcut, status);
            it = hotKeys_.erase(it);
        }
    }
}

void HotKeyCenter::setEnabled(bool enabled) {
    if (enabled == isEnabled_)
        return;
    isEnabled_ = enabled;
    updateEventHandler();
}

void HotKeyCenter::setMenuOpen(bool open) {
    if (open == isMenuOpen_)
        return;
    isMenuOpen_ = open;
    updateEventHandler();
}

void HotKeyCenter::updateEventHandler() {
    if (!handlerInstalled_)
        return;
    if (!isEnabled_) {
        releaseAll();
        rawKeys_.reset();
    } else if (!isMenuOpen_) {
        rawKeys_.reset();
        registerAll();
    } else {
        releaseAll();
        if (!rawKeys_)
            rawKeys_ = service_.matchKeysInApplication(
                [this](int keyCode, int modifiers) { return isHotKey(keyCode, modifiers); },
                [this](int keyCode, int modifiers, bool pressed) {
                    return handleRawKey(keyCode, modifiers, pressed);
                });
    }
}

void HotKeyCenter::releaseAll() {
    for (auto& [id, hotKey] : hotKeys_)
        if (hotKey.grabbed) {
            service_.unregisterHotKey(id);
            hotKey.grabbed = false;
        }
}

bool HotKeyCenter::isHotKey(int keyCode, int carbonModifiers) const {
    const Shortcut wanted(keyCode, normalizedCarbonModifiers(carbonModifiers));
    for (const auto& [id, hotKey] : hotKeys_)
        if (hotKey.shortcut == wanted)
            return true;
    return false;
}

bool HotKeyCenter::handleRawKey(int keyCode, int carbonModifiers, bool pressed) {
    const Shortcut wanted(keyCode, normalizedCarbonModifiers(carbonModifiers));
    for (const auto& [id, hotKey] : hotKeys_)
        if (hotKey.shortcut == wanted) {
            deliver(id, pressed);
            return true;
        }
    return false;
}

void HotKeyCenter::deliver(std::uint32_t id, bool pressed) {
    const auto it = hotKeys_.find(id);
    if (it == hotKeys_.end())
        return;
    // The callback may change the hot keys (a new shortcut stored by an action), so it runs
    // from copies.
    const Shortcut shortcut = it->second.shortcut;
    const Callback callback = pressed ? it->second.onKeyDown : it->second.onKeyUp;
    if (callback)
        callback(shortcut);
}

} // namespace velmor::shortcuts
