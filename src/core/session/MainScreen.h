#pragma once

class QScreen;

namespace velmor {

// The screen the user is working on, where the prompt is shown. Each desktop finds it its own
// way; the overlay only asks. (QScreen is only named here, never used: no Qt Gui in the rules.)
class MainScreen {
public:
    virtual ~MainScreen() = default;
    // Null only when there are no screens.
    virtual QScreen* screen() const = 0;
};

} // namespace velmor
