#pragma once

#include "core/model/Catalogues.h"

#include <QString>

namespace velmor {

class AppState;
class Commands;

// The theme screen's cards: a click selects the theme, "Preview" selects it and brings an
// overlay at once.
struct ThemeRules {
    static void select(AppState& state, VelmorTheme theme);
    static void preview(AppState& state, Commands& commands, VelmorTheme theme);
    // "Charcoal theme, Quiet dark room"
    static QString accessibleLabel(VelmorTheme theme);
    static QString accessibleHint(); // "Tap to select this theme"
};

} // namespace velmor
