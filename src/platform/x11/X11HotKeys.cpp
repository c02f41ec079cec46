#include "platform/x11/X11HotKeys.h"

#include "core/base/Log.h"
#include "platform/x11/KeyCodes.h"
#include "platform/x11/MenuKeyFilter.h"
#include "platform/x11/ShortcutDescription.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>
// xkb.h names a struct member "explicit".
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit
#include <xkbcommon/xkbcommon-keysyms.h>

#include <cstdlib>

namespace velmor {

using shortcuts::Shortcut;

namespace {

constexpr std::uint16_t keyboardModifiers = XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL |
                                            XCB_MOD_MASK_1 | XCB_MOD_MASK_2 | XCB_MOD_MASK_3 |
                                            XCB_MOD_MASK_4 | XCB_MOD_MASK_5;

template <typename T> struct Freed {
    T* pointer;
    ~Freed() { std::free(pointer); }
    T* operator->() const { return pointer; }
    explicit operator bool() const { return pointer != nullptr; }
};

class NoHotKeys final : public shortcuts::HotKeyService {
public:
    NoHotKeys() {
        const QString platform = qGuiApp ? QGuiApplication::platformName() : QString();
        if (platform.startsWith(QLatin1String("wayland")))
            logLine(QStringLiteral("Global shortcuts are not available: this Wayland desktop "
                                   "offers no global shortcut portal; bind \"velmor --now\" in "
                                   "its keyboard settings"));
        else
            logLine(QStringLiteral("Global shortcuts are not available: no X11 display "
                                   "(platform %1)")
                        .arg(platform.isEmpty() ? QStringLiteral("none") : platform));
    }
    bool isAvailable() const override { return false; }
    int registerHotKey(std::uint32_t, const Shortcut&) override { return statusUnavailable; }
    void unregisterHotKey(std::uint32_t) override {}
    bool isTakenElsewhere(const Shortcut&) override { return false; }
    QString describe(const Shortcut& shortcut) const override { return description(shortcut); }
};

} // namespace

std::unique_ptr<shortcuts::HotKeyService> makeSystemHotKeys() {
    if (std::unique_ptr<X11HotKeys> x11 = X11HotKeys::create())
        return x11;
    return std::make_unique<NoHotKeys>();
}

QString X11HotKeys::describe(const Shortcut& shortcut) const {
    return description(shortcut);
}

std::unique_ptr<QObject> X11HotKeys::matchKeysInApplication(IsHotKey isHotKey, HandleKey handle) {
    return std::make_unique<shortcuts::MenuKeyFilter>(std::move(isHotKey), std::move(handle));
}

std::unique_ptr<X11HotKeys> X11HotKeys::create() {
    if (!qGuiApp || QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return nullptr;
    // One X screen is the rule today; its root window sees every key.
    const xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    if (screens.rem == 0)
        return nullptr;
    return std::make_unique<X11HotKeys>(connection, screens.data->root);
}

X11HotKeys::X11HotKeys(xcb_connection_t* connection, std::uint32_t rootWindow)
    : connection_(connection), root_(rootWindow) {
    // Holding a key makes the server repeat it as release/press pairs; with detectable
    // auto-repeat it sends presses only, so a release is a real one.
    Freed<xcb_xkb_use_extension_reply_t> xkb{xcb_xkb_use_extension_reply(
        connection_,
        xcb_xkb_use_extension(connection_, XCB_XKB_MAJOR_VERSION, XCB_XKB_MINOR_VERSION), nullptr)};
    if (xkb && xkb->supported) {
        if (const xcb_query_extension_reply_t* data =
                xcb_get_extension_data(connection_, &xcb_xkb_id))
            xkbFirstEvent_ = data->present ? data->first_event : 0;
        Freed<xcb_xkb_per_client_flags_reply_t> flags{xcb_xkb_per_client_flags_reply(
            connection_,
            xcb_xkb_per_client_flags(connection_, XCB_XKB_ID_USE_CORE_KBD,
                                     XCB_XKB_PER_CLIENT_FLAG_DETECTABLE_AUTO_REPEAT,
                                     XCB_XKB_PER_CLIENT_FLAG_DETECTABLE_AUTO_REPEAT, 0, 0, 0),
            nullptr)};
    }
    readModifierMapping();
    if (QCoreApplication* app = QCoreApplication::instance())
        app->installNativeEventFilter(this);
}

X11HotKeys::~X11HotKeys() {
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeNativeEventFilter(this);
    // Ungrabbing a combination twice does no harm.
    for (const auto& [id, grab] : grabs_)
        ungrab(grab.combination);
}

std::optional<X11HotKeys::Combination> X11HotKeys::combination(const Shortcut& shortcut) const {
    const std::uint8_t keyCode = xKeyCodeForVirtualKey(shortcut.carbonKeyCode);
    // The function modifier has no key here: such a shortcut cannot be pressed.
    if (keyCode == 0 || (shortcut.carbonModifiers & shortcuts::carbon::function))
        return std::nullopt;
    std::uint16_t modifiers = 0;
    if (shortcut.carbonModifiers & shortcuts::carbon::command)
        modifiers |= XCB_MOD_MASK_CONTROL;
    if (shortcut.carbonModifiers & shortcuts::carbon::shift)
        modifiers |= XCB_MOD_MASK_SHIFT;
    if (shortcut.carbonModifiers & shortcuts::carbon::option)
        modifiers |= masks_.alt;
    if (shortcut.carbonModifiers & shortcuts::carbon::control)
        modifiers |= masks_.super;
    return Combination{keyCode, modifiers};
}

std::vector<std::uint16_t> X11HotKeys::lockVariants() const {
    std::vector<std::uint16_t> locks;
    for (std::uint16_t lock : {std::uint16_t(XCB_MOD_MASK_LOCK), masks_.numLock, masks_.scrollLock})
        if (lock != 0 && !(lock & (masks_.alt | masks_.super)))
            locks.push_back(lock);
    std::vector<std::uint16_t> variants;
    for (unsigned subset = 0; subset < (1u << locks.size()); ++subset) {
        std::uint16_t mask = 0;
        for (size_t i = 0; i < locks.size(); ++i)
            if (subset & (1u << i))
                mask |= locks[i];
        variants.push_back(mask);
    }
    return variants;
}

bool X11HotKeys::isOurs(const Combination& combination) const {
    for (const auto& [id, grab] : grabs_)
        if (grab.combination == combination)
            return true;
    return false;
}

int X11HotKeys::grab(const Combination& combination) {
    const std::vector<std::uint16_t> variants = lockVariants();
    std::vector<xcb_void_cookie_t> cookies;
    for (std::uint16_t locks : variants)
        // owner_events false: the press always reaches the root window, even when one of our
        // own windows has the focus.
        cookies.push_back(xcb_grab_key_checked(connection_, 0, root_, combination.modifiers | locks,
                                               combination.keyCode, XCB_GRAB_MODE_ASYNC,
                                               XCB_GRAB_MODE_ASYNC));
    int status = statusOk;
    std::vector<std::uint16_t> grabbed;
    for (size_t i = 0; i < cookies.size(); ++i) {
        if (xcb_generic_error_t* error = xcb_request_check(connection_, cookies[i])) {
            if (status == statusOk)
                status = error->error_code;
            std::free(error);
        } else {
            grabbed.push_back(variants[i]);
        }
    }
    if (status != statusOk) {
        // All or nothing: half a hot key would fire with some locks lit and not others.
        for (std::uint16_t locks : grabbed)
            xcb_ungrab_key(connection_, combination.keyCode, root_, combination.modifiers | locks);
        xcb_flush(connection_);
    }
    return status;
}

void X11HotKeys::ungrab(const Combination& combination) {
    for (std::uint16_t locks : lockVariants())
        xcb_ungrab_key(connection_, combination.keyCode, root_, combination.modifiers | locks);
    xcb_flush(connection_);
}

int X11HotKeys::registerHotKey(std::uint32_t id, const Shortcut& shortcut) {
    const std::optional<Combination> wanted = combination(shortcut);
    if (!wanted)
        return statusNoSuchKey;
    if (!isOurs(*wanted)) {
        if (const int status = grab(*wanted); status != statusOk)
            return status;
    }
    grabs_[id] = Grab{shortcut, *wanted};
    return statusOk;
}

void X11HotKeys::unregisterHotKey(std::uint32_t id) {
    const auto it = grabs_.find(id);
    if (it == grabs_.end())
        return;
    const Combination combination = it->second.combination;
    grabs_.erase(it);
    if (!isOurs(combination))
        ungrab(combination);
}

bool X11HotKeys::isTakenElsewhere(const Shortcut& shortcut) {
    const std::optional<Combination> wanted = combination(shortcut);
    if (!wanted || isOurs(*wanted))
        return false;
    if (grab(*wanted) != statusOk)
        return true;
    ungrab(*wanted);
    return false;
}

void X11HotKeys::readModifierMapping() {
    masks_ = ModifierMasks{};
    xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(connection_);
    Freed<xcb_get_modifier_mapping_reply_t> mapping{xcb_get_modifier_mapping_reply(
        connection_, xcb_get_modifier_mapping(connection_), nullptr)};
    if (symbols && mapping) {
        const xcb_keycode_t* keyCodes = xcb_get_modifier_mapping_keycodes(mapping.pointer);
        const int perModifier = mapping->keycodes_per_modifier;
        // Shift, Lock and Control are fixed; Mod1 to Mod5 hold whatever the mapping puts there.
        for (int modifier = 3; modifier < 8; ++modifier) {
            const auto mask = std::uint16_t(1u << modifier);
            for (int i = 0; i < perModifier; ++i) {
                const xcb_keycode_t keyCode = keyCodes[modifier * perModifier + i];
                if (keyCode == 0)
                    continue;
                for (int column = 0; column < 2; ++column) {
                    switch (xcb_key_symbols_get_keysym(symbols, keyCode, column)) {
                    case XKB_KEY_Num_Lock:
                        masks_.numLock |= mask;
                        break;
                    case XKB_KEY_Scroll_Lock:
                        masks_.scrollLock |= mask;
                        break;
                    case XKB_KEY_Alt_L:
                    case XKB_KEY_Alt_R:
                        masks_.alt |= mask;
                        break;
                    case XKB_KEY_Super_L:
                    case XKB_KEY_Super_R:
                        masks_.super |= mask;
                        break;
                    default:
                        break;
                    }
                }
            }
        }
    }
    if (symbols)
        xcb_key_symbols_free(symbols);
    // The usual places, where the mapping names neither.
    if (masks_.alt == 0)
        masks_.alt = XCB_MOD_MASK_1;
    if (masks_.super == 0)
        masks_.super = XCB_MOD_MASK_4;
}

void X11HotKeys::queueRegrab() {
    // A layout switch sends a burst of notifications; grab again once after the burst.
    if (regrabQueued_)
        return;
    regrabQueued_ = true;
    QMetaObject::invokeMethod(
        &context_, [this] { regrab(); }, Qt::QueuedConnection);
}

void X11HotKeys::regrab() {
    regrabQueued_ = false;
    // Let the old grabs go with the old masks, then grab again with the new ones.
    std::map<std::uint32_t, Grab> previous;
    previous.swap(grabs_);
    for (const auto& [id, grab] : previous)
        ungrab(grab.combination);
    readModifierMapping();
    for (const auto& [id, old] : previous) {
        const std::optional<Combination> wanted = combination(old.shortcut);
        const int status = !wanted ? statusNoSuchKey : isOurs(*wanted) ? statusOk : grab(*wanted);
        if (status != statusOk) {
            logLine(registrationError(shortcuts::description(old.shortcut), status));
            continue;
        }
        grabs_[id] = Grab{old.shortcut, *wanted};
    }
}

bool X11HotKeys::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t")
        return false;
    auto* event = static_cast<xcb_generic_event_t*>(message);
    const std::uint8_t type = event->response_type & 0x7f;
    if (type == XCB_KEY_PRESS || type == XCB_KEY_RELEASE) {
        auto* key = reinterpret_cast<xcb_key_press_event_t*>(event);
        if (key->event != root_)
            return false;
        return type == XCB_KEY_PRESS ? keyPressed(key->detail, key->state, key->time)
                                     : keyReleased(key->detail, key->time);
    }
    if (type == XCB_MAPPING_NOTIFY) {
        if (reinterpret_cast<xcb_mapping_notify_event_t*>(event)->request != XCB_MAPPING_POINTER)
            queueRegrab();
        return false;
    }
    // Clients that use XKB hear of mapping changes through its events instead.
    if (xkbFirstEvent_ != 0 && type == xkbFirstEvent_) {
        const std::uint8_t xkbType = event->pad0;
        if (xkbType == XCB_XKB_NEW_KEYBOARD_NOTIFY || xkbType == XCB_XKB_MAP_NOTIFY)
            queueRegrab();
    }
    return false;
}

bool X11HotKeys::keyPressed(std::uint8_t keyCode, std::uint16_t state, std::uint32_t time) {
    // A release and a press with one timestamp are the server's auto-repeat, where detectable
    // auto-repeat is not to be had.
    if (const auto pending = pendingReleases_.find(keyCode);
        pending != pendingReleases_.end() && pending->second == time) {
        pendingReleases_.erase(pending);
        return true;
    }
    if (down_.contains(keyCode))
        return true;
    const auto locks = std::uint16_t(XCB_MOD_MASK_LOCK | masks_.numLock | masks_.scrollLock);
    const Combination pressed{keyCode, std::uint16_t(state & keyboardModifiers & ~locks)};
    for (const auto& [id, grab] : grabs_)
        if (grab.combination == pressed) {
            const std::uint32_t hotKey = id;
            down_[keyCode] = hotKey;
            deliver(hotKey, true);
            return true;
        }
    return false;
}

bool X11HotKeys::keyReleased(std::uint8_t keyCode, std::uint32_t time) {
    if (!down_.contains(keyCode))
        return false;
    pendingReleases_[keyCode] = time;
    QMetaObject::invokeMethod(
        &context_,
        [this, keyCode, time] {
            const auto pending = pendingReleases_.find(keyCode);
            if (pending == pendingReleases_.end() || pending->second != time)
                return;
            pendingReleases_.erase(pending);
            const auto down = down_.find(keyCode);
            if (down == down_.end())
                return;
            const std::uint32_t hotKey = down->second;
            down_.erase(down);
            deliver(hotKey, false);
        },
        Qt::QueuedConnection);
    return true;
}

} // namespace velmor
