#pragma once

#include <optional>

namespace velmor {

// The value of the cubic Bézier easing curve from (0,0) to (1,1) with control points (x1,y1) and
// (x2,y2), at `progress` (0..1) along the time axis.
double cubicBezier(double x1, double y1, double x2, double y2, double progress);

enum class OverlayCurve { easeIn, easeInOut, easeOut };

// Eased value of `progress`, clamped to 0..1 first.
double ease(OverlayCurve curve, double progress);

struct OverlayOpacities {
    double background = 0;
    double text = 0;
    double attribution = 0;
    friend bool operator==(const OverlayOpacities&, const OverlayOpacities&) = default;
};

// One opacity's animation: it starts `delay` seconds after its phase begins.
struct OverlayFade {
    double delay;
    double duration;
    OverlayCurve curve;
    double end() const { return delay + duration; }
};

// The overlay's look over time: the screen sinks into the theme colour, the line arrives, then
// its attribution; on dismissal they leave in reverse, the background last. Times are seconds
// since the view appeared.
class OverlayTimeline {
public:
    static constexpr OverlayFade backgroundIn{0.0, 3.5, OverlayCurve::easeIn};
    static constexpr OverlayFade textIn{4.5, 1.5, OverlayCurve::easeInOut};
    static constexpr OverlayFade attributionIn{6.5, 0.8, OverlayCurve::easeInOut};
    static constexpr OverlayFade attributionOut{0.0, 0.5, OverlayCurve::easeOut};
    static constexpr OverlayFade textOut{0.5, 1.5, OverlayCurve::easeOut};
    static constexpr OverlayFade backgroundOut{3.0, 3.5, OverlayCurve::easeOut};

    // A view built for the fade-out (`appearsDismissing`) starts fully visible and leaves at
    // once; with reduce motion nothing is animated at all.
    explicit OverlayTimeline(bool reduceMotion = false, bool appearsDismissing = false);

    // Starts the fade-out at `sinceAppeared`, from whatever is visible then. A second call does
    // nothing.
    void beginDismiss(double sinceAppeared);
    bool isDismissing() const { return dismissAt_.has_value(); }
    bool reducesMotion() const { return reduceMotion_; }

    OverlayOpacities at(double sinceAppeared) const;

    // Whether some opacity is changing at `sinceAppeared`.
    bool isMoving(double sinceAppeared) const;
    // When the next fade after `sinceAppeared` begins, if one is still to come.
    std::optional<double> nextFadeStart(double sinceAppeared) const;
    // Seconds between frames at `sinceAppeared`. A step of the background makes the compositor
    // blend the whole screen again; in a fade this slow 20 steps a second move the level by at
    // most about 2.5 % each, which the eye takes as smooth. The text fades in 1.5 s: 30 steps a
    // second are under 2 % each.
    double frameInterval(double sinceAppeared) const;
    static constexpr double backgroundFrame = 0.050;
    static constexpr double textFrame = 0.033;

private:
    OverlayOpacities fadeInAt(double t) const;

    bool reduceMotion_;
    std::optional<double> dismissAt_;
    OverlayOpacities dismissFrom_;
};

} // namespace velmor
