#include "platform/x11/MenuKeyFilter.h"

#include "core/shortcuts/Shortcut.h"
#include "platform/x11/KeyCodes.h"

#include <QCoreApplication>
#include <QKeyEvent>

namespace velmor::shortcuts {

MenuKeyFilter::MenuKeyFilter(IsHotKey isHotKey, Handle handle)
    : isHotKey_(std::move(isHotKey)), handle_(std::move(handle)) {
    if (QCoreApplication* app = QCoreApplication::instance())
        app->installEventFilter(this);
}

MenuKeyFilter::~MenuKeyFilter() {
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeEventFilter(this);
}

bool MenuKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const quint32 scanCode = key->nativeScanCode();
    const int keyCode = virtualKeyForXKeyCode(scanCode);
    if (keyCode < 0)
        return false;
    const int modifiers = normalizedCarbonModifiers(carbonModifiers(key->modifiers()));
    const auto down = down_.find(scanCode);

    if (type == QEvent::ShortcutOverride) {
        // Claim the key before a menu item's shortcut can, so it arrives as a key press.
        if (down == down_.end() && !isHotKey_(keyCode, modifiers))
            return false;
        event->accept();
        return true;
    }
    if (type == QEvent::KeyPress) {
        if (down != down_.end())
            return true; // auto-repeat of a hot key that is held
        if (!handle_(keyCode, modifiers, true))
            return false;
        down_[scanCode] = modifiers;
        return true;
    }
    if (down == down_.end())
        return false;
    if (key->isAutoRepeat())
        return true;
    const int pressedModifiers = down->second;
    down_.erase(down);
    handle_(keyCode, pressedModifiers, false);
    return true;
}

} // namespace velmor::shortcuts
