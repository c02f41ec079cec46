#include "core/shortcuts/GlobalShortcuts.h"

#include "core/base/Log.h"
#include "core/settings/SettingsStore.h"
#include "core/shortcuts/HotKeyCenter.h"
#include "core/shortcuts/HotKeyService.h"
#include "core/shortcuts/MenuTracker.h"

#include <QCoreApplication>
#include <QSet>

#include <map>
#include <memory>
#include <vector>

namespace velmor::shortcuts {

namespace {

using Actions = std::vector<GlobalShortcuts::Action>;

struct State {
    SettingsStore* store = nullptr;
    HotKeyService* hotKeys = nullptr;
    std::unique_ptr<HotKeyCenter> center;
    QSet<Shortcut> registeredShortcuts;
    // Keyed by the name's raw value; the order of names is of no meaning.
    std::map<QString, Actions> keyDownHandlers;
    std::map<QString, Actions> keyUpHandlers;
    bool isEnabled = true;
    bool isPaused = false;
    std::unique_ptr<MenuTracker> menuTracker;
};

State& rawState() {
    static State state;
    return state;
}

State& state() {
    State& s = rawState();
    // The program hands in the desktop's hot keys at start; using shortcuts before that is a
    // wiring fault.
    if (!s.store)
        qFatal("GlobalShortcuts used before initialize()");
    return s;
}

void runActions(const std::map<QString, Actions>& handlers, const Shortcut& shortcut) {
    if (state().isPaused)
        return;
    // An action may attach further actions; run from a copy.
    const std::map<QString, Actions> snapshot = handlers;
    for (const auto& [rawValue, actions] : snapshot) {
        // The stored shortcut as it is now, not as it was when the hot key was grabbed.
        const std::optional<QString> text =
            state().store->string(QStringLiteral("GlobalShortcuts_") + rawValue);
        if (!text || Shortcut::fromJson(text->toUtf8()) != shortcut)
            continue;
        for (const auto& action : actions)
            action();
    }
}

void registerShortcut(const Shortcut& shortcut) {
    State& s = state();
    s.center->registerHotKey(
        shortcut, [](const Shortcut& pressed) { runActions(state().keyDownHandlers, pressed); },
        [](const Shortcut& released) { runActions(state().keyUpHandlers, released); });
    // Counted even when refused, so the same shortcut is not tried again until it is let go.
    s.registeredShortcuts.insert(shortcut);
}

void unregisterShortcut(const Shortcut& shortcut) {
    State& s = state();
    s.center->unregisterHotKey(shortcut);
    s.registeredShortcuts.remove(shortcut);
}

void attach(std::map<QString, Actions>& handlers, const Name& name,
            GlobalShortcuts::Action action) {
    handlers[name.rawValue].push_back(std::move(action));
    const std::optional<Shortcut> stored = GlobalShortcuts::getShortcut(name);
    if (stored && !state().registeredShortcuts.contains(*stored))
        registerShortcut(*stored);
}

} // namespace

Name::Name(QString value, std::optional<Shortcut> shortcutByDefault)
    : rawValue(std::move(value)), defaultShortcut(shortcutByDefault) {
    GlobalShortcuts::nameCreated(*this);
}

const Name& triggerVelmoring() {
    static const Name name(QStringLiteral("triggerVelmoring"),
                           Shortcut(Key::g, Qt::ControlModifier | Qt::ShiftModifier));
    return name;
}

void GlobalShortcuts::initialize(SettingsStore& store, HotKeyService& hotKeys) {
    State& s = rawState();
    // The previous service may be gone already; only the new one is touched.
    hotKeys.setEventHandler(nullptr);
    s.menuTracker.reset();
    s.center = std::make_unique<HotKeyCenter>(hotKeys);
    s.store = &store;
    s.hotKeys = &hotKeys;
    s.registeredShortcuts.clear();
    s.keyDownHandlers.clear();
    s.keyUpHandlers.clear();
    s.isEnabled = true;
    s.isPaused = false;
}

void GlobalShortcuts::nameCreated(const Name& name) {
    State& s = state();
    // A stored false (the user removed the shortcut) or any other value keeps the default out.
    if (name.defaultShortcut && s.store->value(name.storageKey()).isUndefined())
        setShortcut(name.defaultShortcut, name);
    if (!s.menuTracker && QCoreApplication::instance()) {
        s.menuTracker = std::make_unique<MenuTracker>();
        QObject::connect(s.menuTracker.get(), &MenuTracker::menuOpenChanged,
                         [](bool open) { state().center->setMenuOpen(open); });
    }
}

std::optional<Shortcut> GlobalShortcuts::getShortcut(const Name& name) {
    const std::optional<QString> text = state().store->string(name.storageKey());
    if (!text)
        return std::nullopt;
    return Shortcut::fromJson(text->toUtf8());
}

void GlobalShortcuts::setShortcut(const std::optional<Shortcut>& shortcut, const Name& name) {
    State& s = state();
    const std::optional<Shortcut> old = getShortcut(name);
    if (shortcut) {
        const QByteArray text = shortcut->toJson();
        // The old one is let go even when another name shares it.
        if (old)
            unregisterShortcut(*old);
        if (!s.registeredShortcuts.contains(*shortcut))
            registerShortcut(*shortcut);
        s.store->setValue(name.storageKey(), QString::fromUtf8(text));
    } else {
        if (!old)
            return;
        if (name.defaultShortcut)
            s.store->setValue(name.storageKey(), false);
        else
            s.store->remove(name.storageKey());
        unregisterShortcut(*old);
    }
    emit notifications().shortcutByNameDidChange(name);
}

void GlobalShortcuts::reset(const QList<Name>& names) {
    for (const Name& name : names)
        setShortcut(name.defaultShortcut, name);
}

void GlobalShortcuts::onKeyDown(const Name& name, Action action) {
    attach(state().keyDownHandlers, name, std::move(action));
}

void GlobalShortcuts::onKeyUp(const Name& name, Action action) {
    attach(state().keyUpHandlers, name, std::move(action));
}

bool GlobalShortcuts::isPaused() {
    return state().isPaused;
}

void GlobalShortcuts::setPaused(bool paused) {
    state().isPaused = paused;
}

bool GlobalShortcuts::isEnabled() {
    return state().isEnabled;
}

void GlobalShortcuts::setEnabled(bool enabled) {
    State& s = state();
    if (enabled == s.isEnabled)
        return;
    s.isEnabled = enabled;
    s.center->setEnabled(enabled);
}

bool GlobalShortcuts::isEnabled(const Name& name) {
    const std::optional<Shortcut> stored = getShortcut(name);
    return state().isEnabled && stored && state().registeredShortcuts.contains(*stored);
}

bool GlobalShortcuts::isAvailable() {
    return state().hotKeys->isAvailable();
}

bool GlobalShortcuts::isTakenBySystem(const Shortcut& shortcut) {
    HotKeyService& hotKeys = *state().hotKeys;
    return hotKeys.isAvailable() && hotKeys.isTakenElsewhere(shortcut);
}

ShortcutNotifications& GlobalShortcuts::notifications() {
    static ShortcutNotifications notifications;
    return notifications;
}

} // namespace velmor::shortcuts
