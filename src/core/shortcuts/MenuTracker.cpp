#include "core/shortcuts/MenuTracker.h"

#include <QCoreApplication>
#include <QEvent>

namespace velmor::shortcuts {

MenuTracker::MenuTracker() {
    if (QCoreApplication* app = QCoreApplication::instance())
        app->installEventFilter(this);
}

MenuTracker::~MenuTracker() {
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeEventFilter(this);
}

bool MenuTracker::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if ((type != QEvent::Show && type != QEvent::Hide) || !watched->isWidgetType() ||
        !watched->inherits("QMenu"))
        return false;
    if (type == QEvent::Hide) {
        closed(watched);
        return false;
    }
    if (openMenus_.contains(watched))
        return false;
    openMenus_.insert(watched);
    connect(watched, &QObject::destroyed, this, [this](QObject* menu) { closed(menu); });
    if (openMenus_.size() == 1)
        emit menuOpenChanged(true);
    return false;
}

void MenuTracker::closed(QObject* menu) {
    if (!openMenus_.remove(menu))
        return;
    disconnect(menu, &QObject::destroyed, this, nullptr);
    if (openMenus_.isEmpty())
        emit menuOpenChanged(false);
}

} // namespace velmor::shortcuts
