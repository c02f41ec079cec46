#include "core/session/OverlayTimeline.h"

#include <gtest/gtest.h>

using namespace velmor;

namespace {
constexpr double tolerance = 1e-6;

// The time and the three opacities expected then.
struct Sample {
    double at, background, text, attribution;
};
void expectSamples(const OverlayTimeline& timeline, std::initializer_list<Sample> samples) {
    for (const Sample& sample : samples) {
        const OverlayOpacities seen = timeline.at(sample.at);
        EXPECT_NEAR(seen.background, sample.background, tolerance) << sample.at;
        EXPECT_NEAR(seen.text, sample.text, tolerance) << sample.at;
        EXPECT_NEAR(seen.attribution, sample.attribution, tolerance) << sample.at;
    }
}

// When frames are needed next: at once while something fades, else at the next fade's start
// (-1: no fade to come).
void expectNextFrames(const OverlayTimeline& timeline,
                      std::initializer_list<std::pair<double, double>> expected) {
    for (const auto& [at, next] : expected)
        EXPECT_DOUBLE_EQ(timeline.isMoving(at) ? at : timeline.nextFadeStart(at).value_or(-1), next)
            << at;
}

} // namespace

TEST(OverlayEasing, CurvesMatchTheirBezierShapes) {
    for (OverlayCurve curve :
         {OverlayCurve::easeIn, OverlayCurve::easeInOut, OverlayCurve::easeOut}) {
        EXPECT_DOUBLE_EQ(ease(curve, 0.0), 0.0);
        EXPECT_DOUBLE_EQ(ease(curve, 1.0), 1.0);
        EXPECT_DOUBLE_EQ(ease(curve, -0.5), 0.0);
        EXPECT_DOUBLE_EQ(ease(curve, 1.5), 1.0);
        double previous = 0.0;
        for (int i = 1; i <= 100; ++i) {
            const double value = ease(curve, i / 100.0);
            EXPECT_GE(value, previous) << "curve must never fall back";
            previous = value;
        }
    }
    // Reference values, computed independently by bisection on the same control points.
    EXPECT_NEAR(ease(OverlayCurve::easeIn, 0.5), 0.3153, 1e-3);
    EXPECT_NEAR(ease(OverlayCurve::easeInOut, 0.25), 0.1291, 1e-3);
    EXPECT_NEAR(ease(OverlayCurve::easeOut, 0.25), 0.3781, 1e-3);
    // A control polygon on the diagonal is linear.
    EXPECT_NEAR(cubicBezier(1.0 / 3, 1.0 / 3, 2.0 / 3, 2.0 / 3, 0.37), 0.37, tolerance);
}

TEST(OverlayTimeline, FadeInArrivesInItsThreeStages) {
    // The background's 3.5 s ease-in, the text from 4.5 s, the attribution from 6.5 s.
    const double halfIn = ease(OverlayCurve::easeIn, 0.5);
    expectSamples(OverlayTimeline(), {{0.0, 0, 0, 0},
                                      {1.75, halfIn, 0, 0},
                                      {4.49, 1, 0, 0},
                                      {5.25, 1, 0.5, 0},
                                      {6.49, 1, 1, 0},
                                      {6.9, 1, 1, 0.5},
                                      {7.3, 1, 1, 1},
                                      {500.0, 1, 1, 1}});
}

TEST(OverlayTimeline, FadeOutLeavesInReverseWithTheBackgroundLast) {
    OverlayTimeline timeline;
    timeline.beginDismiss(10.0);
    timeline.beginDismiss(11.0); // ignored: the first start holds
    // The text goes, the background holds for a second, then leaves; before the dismissal the
    // fade-in still describes the past.
    const double halfOut = 1.0 - ease(OverlayCurve::easeOut, 0.5);
    expectSamples(timeline, {{10.0, 1, 1, 1},
                             {10.25, 1, 1, halfOut},
                             {10.5, 1, 1, 0},
                             {11.25, 1, halfOut, 0},
                             {12.0, 1, 0, 0},
                             {12.99, 1, 0, 0},
                             {14.75, halfOut, 0, 0},
                             {16.5, 0, 0, 0},
                             {5.25, 1, 0.5, 0}});
}

TEST(OverlayTimeline, ViewBuiltForTheFadeOutStartsFullAndLeaves) {
    const OverlayTimeline fresh(false, true);
    EXPECT_TRUE(fresh.isDismissing());
    expectSamples(fresh, {{0.0, 1, 1, 1}, {2.0, 1, 0, 0}, {6.5, 0, 0, 0}});

    // Dismissed in place after the fade-in: the same path as a fresh one.
    OverlayTimeline inPlace;
    inPlace.beginDismiss(8.0);
    for (double d : {0.1, 0.4, 1.0, 1.9, 3.2, 5.0, 6.4}) {
        const OverlayOpacities b = fresh.at(d);
        expectSamples(inPlace, {{8.0 + d, b.background, b.text, b.attribution}});
    }

    // Dismissed in place before the text arrived: nothing jumps up, the text stays away.
    OverlayTimeline early;
    early.beginDismiss(2.0);
    const double background = early.at(2.0).background;
    EXPECT_NEAR(background, ease(OverlayCurve::easeIn, 2.0 / 3.5), tolerance);
    EXPECT_EQ(early.at(5.0).background, background);
    EXPECT_EQ(early.at(5.0).text, 0.0);
    EXPECT_EQ(early.at(8.5).background, 0.0);
}

TEST(OverlayTimeline, ReduceMotionShowsAndHidesAtOnce) {
    OverlayTimeline timeline(true);
    EXPECT_EQ(timeline.at(0.0), (OverlayOpacities{1, 1, 1}));
    EXPECT_FALSE(timeline.isMoving(0.0));
    EXPECT_FALSE(timeline.nextFadeStart(0.0).has_value());
    timeline.beginDismiss(9.0);
    EXPECT_EQ(timeline.at(9.0), (OverlayOpacities{0, 0, 0}));
    EXPECT_FALSE(timeline.isMoving(10.0));

    const OverlayTimeline fresh(true, true);
    EXPECT_EQ(fresh.at(0.0), (OverlayOpacities{0, 0, 0}));
}

TEST(OverlayTimeline, FramesAreNeededOnlyWhileSomethingFades) {
    OverlayTimeline timeline;
    // Between the background and the text nothing moves, and the wake-up is the text's start.
    expectNextFrames(
        timeline,
        {{0.0, 0.0}, {3.4, 3.4}, {3.5, 4.5}, {4.0, 4.5}, {4.5, 4.5}, {6.1, 6.5}, {7.3, -1}});
    timeline.beginDismiss(20.0);
    expectNextFrames(timeline, {{20.0, 20.0}, {21.9, 21.9}, {22.5, 23.0}, {26.5, -1}});

    // A fade-in cut short by the dismissal asks for no frames of its own afterwards.
    OverlayTimeline early;
    early.beginDismiss(1.0);
    expectNextFrames(early, {{2.5, 4.0}});
}
