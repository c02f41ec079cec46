#include "core/session/OverlayTimeline.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace velmor {

namespace {

// One coordinate of the curve at parameter s; the end points are fixed at 0 and 1.
double bezier(double p1, double p2, double s) {
    const double r = 1.0 - s;
    return 3.0 * r * r * s * p1 + 3.0 * r * s * s * p2 + s * s * s;
}

double bezierSlope(double p1, double p2, double s) {
    const double r = 1.0 - s;
    return 3.0 * r * r * p1 + 6.0 * r * s * (p2 - p1) + 3.0 * s * s * (1.0 - p2);
}

double clamp01(double v) {
    return std::clamp(v, 0.0, 1.0);
}

double fadeProgress(const OverlayFade& fade, double sincePhaseStart) {
    return clamp01((sincePhaseStart - fade.delay) / fade.duration);
}

struct Span {
    double start, end;
};

} // namespace

double cubicBezier(double x1, double y1, double x2, double y2, double progress) {
    const double x = clamp01(progress);
    if (x == 0.0 || x == 1.0)
        return x;
    // x(s) rises monotonically for control x in 0..1: Newton first, bisection when it stalls.
    double s = x;
    for (int i = 0; i < 8; ++i) {
        const double error = bezier(x1, x2, s) - x;
        if (std::abs(error) < 1e-9)
            return bezier(y1, y2, s);
        const double slope = bezierSlope(x1, x2, s);
        if (std::abs(slope) < 1e-6)
            break;
        s = clamp01(s - error / slope);
    }
    double lo = 0.0, hi = 1.0;
    s = x;
    for (int i = 0; i < 60; ++i) {
        const double value = bezier(x1, x2, s);
        if (std::abs(value - x) < 1e-9)
            break;
        (value < x ? lo : hi) = s;
        s = (lo + hi) / 2.0;
    }
    return bezier(y1, y2, s);
}

double ease(OverlayCurve curve, double progress) {
    switch (curve) {
    case OverlayCurve::easeIn:
        return cubicBezier(0.42, 0.0, 1.0, 1.0, progress);
    case OverlayCurve::easeInOut:
        return cubicBezier(0.42, 0.0, 0.58, 1.0, progress);
    case OverlayCurve::easeOut:
        return cubicBezier(0.0, 0.0, 0.58, 1.0, progress);
    }
    return clamp01(progress);
}

OverlayTimeline::OverlayTimeline(bool reduceMotion, bool appearsDismissing)
    : reduceMotion_(reduceMotion) {
    if (appearsDismissing) {
        dismissAt_ = 0.0;
        dismissFrom_ = {1.0, 1.0, 1.0};
    }
}

void OverlayTimeline::beginDismiss(double sinceAppeared) {
    if (dismissAt_)
        return;
    dismissFrom_ = at(sinceAppeared);
    dismissAt_ = sinceAppeared;
}

OverlayOpacities OverlayTimeline::fadeInAt(double t) const {
    if (reduceMotion_)
        return {1.0, 1.0, 1.0};
    return {ease(backgroundIn.curve, fadeProgress(backgroundIn, t)),
            ease(textIn.curve, fadeProgress(textIn, t)),
            ease(attributionIn.curve, fadeProgress(attributionIn, t))};
}

OverlayOpacities OverlayTimeline::at(double t) const {
    if (!dismissAt_ || t < *dismissAt_)
        return fadeInAt(t);
    if (reduceMotion_)
        return {};
    const double d = t - *dismissAt_;
    auto remaining = [d](const OverlayFade& fade, double from) {
        return from * (1.0 - ease(fade.curve, fadeProgress(fade, d)));
    };
    return {remaining(backgroundOut, dismissFrom_.background),
            remaining(textOut, dismissFrom_.text),
            remaining(attributionOut, dismissFrom_.attribution)};
}

namespace {
// The spans in which an opacity changes, in order, for a timeline that may be dismissing.
// A fade-out of an opacity that was already 0 changes nothing and needs no frames.
std::array<Span, 6> movingSpans(bool reduceMotion, std::optional<double> dismissAt,
                                const OverlayOpacities& dismissFrom) {
    std::array<Span, 6> spans{};
    if (reduceMotion)
        return spans; // all empty
    const double cut = dismissAt.value_or(INFINITY);
    auto in = [cut](const OverlayFade& f) {
        return Span{std::min(f.delay, cut), std::min(f.end(), cut)};
    };
    spans[0] = in(OverlayTimeline::backgroundIn);
    spans[1] = in(OverlayTimeline::textIn);
    spans[2] = in(OverlayTimeline::attributionIn);
    if (dismissAt) {
        auto out = [d = *dismissAt](const OverlayFade& f, double from) {
            return from > 0 ? Span{d + f.delay, d + f.end()} : Span{};
        };
        spans[3] = out(OverlayTimeline::attributionOut, dismissFrom.attribution);
        spans[4] = out(OverlayTimeline::textOut, dismissFrom.text);
        spans[5] = out(OverlayTimeline::backgroundOut, dismissFrom.background);
    }
    return spans;
}
} // namespace

bool OverlayTimeline::isMoving(double t) const {
    for (const Span& span : movingSpans(reduceMotion_, dismissAt_, dismissFrom_))
        if (span.start <= t && t < span.end)
            return true;
    return false;
}

double OverlayTimeline::frameInterval(double t) const {
    const OverlayOpacities now = at(t), soon = at(t + textFrame);
    return soon.text != now.text || soon.attribution != now.attribution ? textFrame
                                                                        : backgroundFrame;
}

std::optional<double> OverlayTimeline::nextFadeStart(double t) const {
    std::optional<double> next;
    for (const Span& span : movingSpans(reduceMotion_, dismissAt_, dismissFrom_))
        if (span.start > t && span.end > span.start && (!next || span.start < *next))
            next = span.start;
    return next;
}

} // namespace velmor
