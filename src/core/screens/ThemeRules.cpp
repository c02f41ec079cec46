#include "core/screens/ThemeRules.h"

#include "core/model/Commands.h"
#include "core/settings/AppState.h"

#include <QCoreApplication>

namespace velmor {

void ThemeRules::select(AppState& state, VelmorTheme theme) {
    state.setTheme(theme);
}

void ThemeRules::preview(AppState& state, Commands& commands, VelmorTheme theme) {
    state.setTheme(theme);
    commands.send(Command::showNow);
}

QString ThemeRules::accessibleLabel(VelmorTheme theme) {
    const ThemeInfo& info = themeInfo(theme);
    return QCoreApplication::translate("ThemeSettingsView", "%1 theme, %2")
        .arg(info.displayName, info.description);
}

QString ThemeRules::accessibleHint() {
    return QCoreApplication::translate("ThemeSettingsView", "Tap to select this theme");
}

} // namespace velmor
