#include "core/screens/RecorderRules.h"

#include "core/shortcuts/GlobalShortcuts.h"

#include <QCoreApplication>

namespace velmor {

namespace {

constexpr Qt::KeyboardModifiers anyModifier =
    Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
// Command, Option and Control: shift alone does not make a shortcut.
constexpr Qt::KeyboardModifiers mainModifiers =
    Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;

} // namespace

RecorderRules::Decision RecorderRules::evaluate(const KeyPress& key,
                                                const MenuLookup& menuItemUsing,
                                                const SystemCheck& isTakenBySystem) {
    const bool noModifiers = !(key.modifiers & anyModifier);
    if (noModifiers && (key.qtKey == Qt::Key_Tab || key.qtKey == Qt::Key_Backtab))
        return {Outcome::passOn, {}, {}};
    if (noModifiers && key.qtKey == Qt::Key_Escape)
        return {Outcome::cancel, {}, {}};
    if (noModifiers && (key.qtKey == Qt::Key_Backspace || key.qtKey == Qt::Key_Delete))
        return {Outcome::clear, {}, {}};
    if (!(key.modifiers & mainModifiers) && !isFunctionKey(key.qtKey))
        return {Outcome::beep, {}, {}};
    if (key.virtualKeyCode < 0)
        return {Outcome::beep, {}, {}};

    const shortcuts::Shortcut shortcut(shortcuts::Key{key.virtualKeyCode}, key.modifiers);
    if (menuItemUsing)
        if (const auto title = menuItemUsing(shortcut))
            return {Outcome::menuConflict, shortcut, *title};
    const bool plainF12 = key.qtKey == Qt::Key_F12 && noModifiers;
    if (!plainF12 && isTakenBySystem && isTakenBySystem(shortcut))
        return {Outcome::systemConflict, shortcut, {}};
    return {Outcome::store, shortcut, {}};
}

RecorderRules::CardState RecorderRules::cardState() {
    return shortcuts::GlobalShortcuts::isAvailable() ? CardState::recorder : CardState::unavailable;
}

QString RecorderRules::unavailableLine() {
    return QCoreApplication::translate(
        "Recorder", "This desktop does not let programs set global shortcuts. Bind "
                    "velmor --now to a key in your desktop's keyboard settings instead.");
}

QString RecorderRules::recordShortcut() {
    return QCoreApplication::translate("Recorder", "Record Shortcut");
}

QString RecorderRules::pressShortcut() {
    return QCoreApplication::translate("Recorder", "Press Shortcut");
}

QString RecorderRules::usedByMenuItem(const QString& title) {
    return QCoreApplication::translate(
               "Recorder",
               "This keyboard shortcut cannot be used as it's already used by the \u201c%1\u201d "
               "menu item.")
        .arg(title);
}

QString RecorderRules::usedBySystem() {
    return QCoreApplication::translate("Recorder",
                                       "This keyboard shortcut cannot be used as it's already used "
                                       "by a system-wide keyboard shortcut.");
}

QString RecorderRules::canBeChanged() {
    return QCoreApplication::translate(
        "Recorder", "Most system-wide keyboard shortcuts can be changed in your desktop's keyboard "
                    "settings.");
}

QString RecorderRules::ok() {
    return QCoreApplication::translate("Recorder", "OK");
}

QString RecorderRules::forceUse() {
    return QCoreApplication::translate("Recorder", "Use Anyway");
}

} // namespace velmor
