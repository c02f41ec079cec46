#pragma once

#include "core/shortcuts/HotKeyService.h"

#include <QSet>

#include <map>

namespace velmor::test {

// A desktop in memory: grabs succeed unless the combination is listed as taken, and the test
// plays the desktop's part by pressing grabbed combinations.
class FakeHotKeys final : public shortcuts::HotKeyService {
public:
    bool isAvailable() const override { return available; }
    int registerHotKey(std::uint32_t id, const shortcuts::Shortcut& shortcut) override {
        ++attempts;
        if (taken.contains(shortcut))
            return statusTaken;
        grabbed[id] = shortcut;
        return statusOk;
    }
    void unregisterHotKey(std::uint32_t id) override { grabbed.erase(id); }
    bool isTakenElsewhere(const shortcuts::Shortcut& shortcut) override {
        return taken.contains(shortcut);
    }

    QString describe(const shortcuts::Shortcut& shortcut) const override {
        return QStringLiteral("key %1 mods %2")
            .arg(shortcut.carbonKeyCode)
            .arg(shortcut.carbonModifiers);
    }

    bool isGrabbed(const shortcuts::Shortcut& shortcut) const {
        for (const auto& [id, grabbedShortcut] : grabbed)
            if (grabbedShortcut == shortcut)
                return true;
        return false;
    }
    // Reports a press or release of a grabbed combination.
    void send(const shortcuts::Shortcut& shortcut, bool pressed) {
        for (const auto& [id, grabbedShortcut] : grabbed)
            if (grabbedShortcut == shortcut)
                return deliver(id, pressed);
    }
    void tap(const shortcuts::Shortcut& shortcut) {
        send(shortcut, true);
        send(shortcut, false);
    }

    bool available = true;
    int attempts = 0;
    QSet<shortcuts::Shortcut> taken;
    std::map<std::uint32_t, shortcuts::Shortcut> grabbed;
};

} // namespace velmor::test
