#include "core/session/OverlayTimeline.h"

#include <gtest/gtest.h>

using namespace velmor;

namespace {
constexpr double tolerance = 1e-6;
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
    // Ease-in-out is symmetric about the middle.
    EXPECT_NEAR(ease(OverlayCurve::easeInOut, 0.5), 0.5, tolerance);
    EXPECT_NEAR(ease(OverlayCurve::easeInOut, 0.25) + ease(OverlayCurve::easeInOut, 0.75), 1.0,
                tolerance);
    // Ease-in starts slow, ease-out starts fast, and they mirror each other here.
    EXPECT_LT(ease(OverlayCurve::easeIn, 0.5), 0.5);
    EXPECT_GT(ease(OverlayCurve::easeOut, 0.5), 0.5);
    // Reference values, computed independently by bisection on the same control points.
    EXPECT_NEAR(ease(OverlayCurve::easeIn, 0.5), 0.3153, 1e-3);
    EXPECT_NEAR(ease(OverlayCurve::easeInOut, 0.25), 0.1291, 1e-3);
    EXPECT_NEAR(ease(OverlayCurve::easeOut, 0.25), 0.3781, 1e-3);
    // A control polygon on the diagonal is linear.
    EXPECT_NEAR(cubicBezier(1.0 / 3, 1.0 / 3, 2.0 / 3, 2.0 / 3, 0.37), 0.37, tolerance);
}

TEST(OverlayTimeline, FadeInArrivesInItsThreeStages) {
    const OverlayTimeline timeline;
    EXPECT_EQ(timeline.at(0.0), (OverlayOpacities{0, 0, 0}));
    // Halfway through the background's 3.5 s ease-in, nothing else yet.
    const OverlayOpacities mid = timeline.at(1.75);
    EXPECT_NEAR(mid.background, ease(OverlayCurve::easeIn, 0.5), tolerance);
    EXPECT_EQ(mid.text, 0.0);
    // Background complete, text not yet begun.
    EXPECT_EQ(timeline.at(4.49), (OverlayOpacities{1, 0, 0}));
    const OverlayOpacities text = timeline.at(5.25);
    EXPECT_NEAR(text.text, 0.5, tolerance);
    EXPECT_EQ(text.attribution, 0.0);
    EXPECT_EQ(timeline.at(6.49), (OverlayOpacities{1, 1, 0}));
    EXPECT_NEAR(timeline.at(6.9).attribution, 0.5, tolerance);
    EXPECT_EQ(timeline.at(7.3), (OverlayOpacities{1, 1, 1}));
    EXPECT_EQ(timeline.at(500.0), (OverlayOpacities{1, 1, 1}));
}

TEST(OverlayTimeline, FadeOutLeavesInReverseWithTheBackgroundLast) {
    OverlayTimeline timeline;
    timeline.beginDismiss(10.0);
    timeline.beginDismiss(11.0); // ignored: the first start holds
    EXPECT_EQ(timeline.at(10.0), (OverlayOpacities{1, 1, 1}));
    const OverlayOpacities early = timeline.at(10.25);
    EXPECT_NEAR(early.attribution, 1.0 - ease(OverlayCurve::easeOut, 0.5), tolerance);
    EXPECT_EQ(early.text, 1.0);
    EXPECT_EQ(timeline.at(10.5).attribution, 0.0);
    EXPECT_NEAR(timeline.at(11.25).text, 1.0 - ease(OverlayCurve::easeOut, 0.5), tolerance);
    // The text has gone and the background holds for a second.
    EXPECT_EQ(timeline.at(12.0), (OverlayOpacities{1, 0, 0}));
    EXPECT_EQ(timeline.at(12.99), (OverlayOpacities{1, 0, 0}));
    EXPECT_NEAR(timeline.at(14.75).background, 1.0 - ease(OverlayCurve::easeOut, 0.5), tolerance);
    EXPECT_EQ(timeline.at(16.5), (OverlayOpacities{0, 0, 0}));
    // Before the dismissal the fade-in still describes the past.
    EXPECT_NEAR(timeline.at(5.25).text, 0.5, tolerance);
}

TEST(OverlayTimeline, ViewBuiltForTheFadeOutStartsFullAndLeaves) {
    const OverlayTimeline fresh(false, true);
    EXPECT_TRUE(fresh.isDismissing());
    EXPECT_EQ(fresh.at(0.0), (OverlayOpacities{1, 1, 1}));
    EXPECT_EQ(fresh.at(2.0), (OverlayOpacities{1, 0, 0}));
    EXPECT_EQ(fresh.at(6.5), (OverlayOpacities{0, 0, 0}));

    // Dismissed in place after the fade-in: the same path as a fresh one.
    OverlayTimeline inPlace;
    inPlace.beginDismiss(8.0);
    for (double d : {0.1, 0.4, 1.0, 1.9, 3.2, 5.0, 6.4}) {
        const OverlayOpacities a = inPlace.at(8.0 + d), b = fresh.at(d);
        EXPECT_NEAR(a.background, b.background, tolerance) << d;
        EXPECT_NEAR(a.text, b.text, tolerance) << d;
        EXPECT_NEAR(a.attribution, b.attribution, tolerance) << d;
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
    EXPECT_TRUE(timeline.isMoving(0.0));
    EXPECT_TRUE(timeline.isMoving(3.4));
    // Between the background and the text nothing moves, and the wake-up is the text's start.
    EXPECT_FALSE(timeline.isMoving(3.5));
    EXPECT_FALSE(timeline.isMoving(4.0));
    EXPECT_DOUBLE_EQ(*timeline.nextFadeStart(4.0), 4.5);
    EXPECT_TRUE(timeline.isMoving(4.5));
    EXPECT_DOUBLE_EQ(*timeline.nextFadeStart(6.1), 6.5);
    EXPECT_FALSE(timeline.isMoving(7.3));
    EXPECT_FALSE(timeline.nextFadeStart(7.3).has_value());

    timeline.beginDismiss(20.0);
    EXPECT_TRUE(timeline.isMoving(20.0));
    EXPECT_TRUE(timeline.isMoving(21.9));
    EXPECT_FALSE(timeline.isMoving(22.5));
    EXPECT_DOUBLE_EQ(*timeline.nextFadeStart(22.5), 23.0);
    EXPECT_FALSE(timeline.isMoving(26.5));
    EXPECT_FALSE(timeline.nextFadeStart(26.5).has_value());

    // A fade-in cut short by the dismissal asks for no frames of its own afterwards.
    OverlayTimeline early;
    early.beginDismiss(1.0);
    EXPECT_FALSE(early.isMoving(2.5));
    EXPECT_DOUBLE_EQ(*early.nextFadeStart(2.5), 4.0);
}
