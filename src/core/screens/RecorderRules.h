#pragma once

#include "core/shortcuts/Shortcut.h"

#include <QString>

#include <functional>
#include <optional>

namespace velmor {

// What the shortcut recorder does with a key pressed while it records.
struct RecorderRules {
    enum class Outcome {
        passOn,         // Tab: recording ends and the focus moves on
        cancel,         // Escape: recording ends, nothing stored
        clear,          // Delete or Backspace: the shortcut is removed
        beep,           // no main modifier and not a function key: refused
        menuConflict,   // one of our menu commands uses it: alert, nothing stored
        systemConflict, // the desktop or another program uses it: alert, store only if forced
        store,
    };
    struct Decision {
        Outcome outcome = Outcome::beep;
        shortcuts::Shortcut shortcut;
        QString menuItemTitle; // menuConflict
    };
    struct KeyPress {
        int qtKey = 0;                   // Qt::Key
        Qt::KeyboardModifiers modifiers; // as the event carries them
        int virtualKeyCode = -1;         // the key's position; -1 when it has none
    };
    using MenuLookup = std::function<std::optional<QString>(const shortcuts::Shortcut&)>;
    using SystemCheck = std::function<bool(const shortcuts::Shortcut&)>;

    static Decision evaluate(const KeyPress& key, const MenuLookup& menuItemUsing,
                             const SystemCheck& isTakenBySystem);

    // What the shortcut card shows for a name: the recorder where the desktop lets programs hold
    // global shortcuts, else one line saying how to get the same from the desktop itself.
    enum class CardState { recorder, unavailable };
    static CardState cardState();
    static QString unavailableLine();

    static bool isFunctionKey(int qtKey) { return qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F35; }

    // Texts of the recorder and its alerts.
    static QString recordShortcut(); // "Record Shortcut"
    static QString pressShortcut();  // "Press Shortcut"
    static QString usedByMenuItem(const QString& title);
    static QString usedBySystem();
    static QString canBeChanged();
    static QString ok();
    static QString forceUse();
};

} // namespace velmor
