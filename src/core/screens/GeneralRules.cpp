#include "core/screens/GeneralRules.h"

#include <QCoreApplication>
#include <QMetaObject>

namespace velmor {

bool GeneralRules::applyLaunchAtLogin(LoginItem& item, bool wanted) {
    const bool done = wanted ? item.registerItem() : item.unregisterItem();
    return done ? wanted : item.isEnabled();
}

void GeneralRules::pauseDuringCallsChanged(bool on, const std::function<void()>& requestAccess) {
    if (!on || !requestAccess)
        return;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [requestAccess] { requestAccess(); }, Qt::QueuedConnection);
}

QString GeneralRules::openSettingsTitle() {
    return QCoreApplication::translate("GeneralSettingsView", "Open settings");
}

QString GeneralRules::openSettingsShortcut() {
    return QCoreApplication::translate("GeneralSettingsView", "Ctrl+,");
}

} // namespace velmor
