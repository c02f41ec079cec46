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

QString GeneralRules::footnote(bool trayShown) {
    if (trayShown)
        return QCoreApplication::translate("GeneralSettingsView",
                                           "You can also trigger velmoring from the menu bar "
                                           "\u2014 click the leaf and select \"Velmor now.\"");
    return QCoreApplication::translate(
        "GeneralSettingsView",
        "This desktop shows no tray icon, so Velmor keeps to this window: closing it leaves "
        "Velmor running, and \"Quit Velmor\" at the foot of the sidebar ends it. You can also "
        "trigger velmoring from Velmor's icon in your dock or app list \u2014 right-click it "
        "and select \"Velmor now\" \u2014 or by binding velmor --now to a key.");
}

QString GeneralRules::openSettingsTitle() {
    return QCoreApplication::translate("GeneralSettingsView", "Open settings");
}

QString GeneralRules::openSettingsShortcut() {
    return QCoreApplication::translate("GeneralSettingsView", "Ctrl+,");
}

} // namespace velmor
