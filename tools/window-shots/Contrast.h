#pragma once

namespace velmor {

class AppState;
class MainWindow;

// Walks every section of the shown window in light and dark and every theme, reads it back
// from the X server and measures the contrast of each control's text (at least 4.5:1) and of
// the edge that shows where a control is (at least 3:1). Prints the lowest per screen and
// every shortfall; returns the exit status (1 when anything falls short).
int measureContrast(MainWindow& window, AppState& state);

} // namespace velmor
