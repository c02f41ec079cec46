// The background fade as the compositor sees it: a second X connection samples the overlay's
// _NET_WM_WINDOW_OPACITY through a whole cycle on a display of its own with openbox and
// xcompmgr (overlay_fade.sh starts them), on the real clock, with nothing else talking to the
// program but the one key press that dismisses it.
#include "StateWorld.h"
#include "TestApp.h"
#include "XServer.h"
#include "core/base/Resources.h"
#include "core/session/OverlaySounds.h"
#include "core/session/OverlayTimeline.h"
#include "platform/clock/BootClock.h"
#include "ui/overlay/OverlayManager.h"
#include "ui/overlay/OverlayPanel.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <thread>
#include <vector>

using namespace velmor;

namespace {

struct Silent final : OverlaySounds {
    void playArrival() override {}
    void playDeparture() override {}
};

struct Sample {
    double at;      // boot-clock seconds, the middle of the round trip
    double opacity; // 1 when the property is absent, as compositors take it
};

// A sample fits the fade when it lies between the curve a little before and a little after its
// time: the frames run at 30 Hz on a busy machine, and the sample itself takes a round trip.
// A shared machine may stall the program now and then, so a few late samples are let pass.
struct Fit {
    int checked = 0;
    int off = 0;
    std::vector<double> levels;
    QString firstOff;
};

template <typename Curve>
Fit fit(const std::vector<Sample>& samples, double from, double to, double origin, Curve curve) {
    constexpr double late = 0.35, early = 0.05, tolerance = 0.02;
    Fit f;
    for (const Sample& s : samples) {
        const double t = s.at - origin;
        if (t < from || t > to)
            continue;
        ++f.checked;
        const double a = curve(t - late), b = curve(t + early);
        if (s.opacity < std::min(a, b) - tolerance || s.opacity > std::max(a, b) + tolerance) {
            if (f.off++ == 0)
                f.firstOff = QString::asprintf("%.3f at %.3f s, expected %.3f..%.3f", s.opacity, t,
                                               std::min(a, b), std::max(a, b));
        }
        if (f.levels.empty() || f.levels.back() != s.opacity)
            f.levels.push_back(s.opacity);
    }
    return f;
}

} // namespace

TEST(OverlayFadeOnScreen, TheBackgroundOpacityReachesTheServerAlongBothCurves) {
    QApplication* app = test::guiApplication();
    if (!app)
        GTEST_SKIP() << "no X display";
    setResourcesDir(QStringLiteral(VELMOR_RESOURCES_DIR));
    test::StateWorld world;
    world.state.setOverlayScope(OverlayScope::thisScreen);
    BootClock clock;
    Silent silent;
    OverlayManager overlays(world.state, clock, silent);
    overlays.setReduceMotion([] { return false; });

    const PromptItem prompt = *makeUserPrompt("Where is your breath right now?", "Ada Lane");

    double presentedAt = clock.now(), dismissedAt = -1;
    overlays.present(prompt, [&] { dismissedAt = clock.now(); });
    ASSERT_EQ(overlays.panels().size(), 1u);
    // Reads the opacity property every few milliseconds on an X connection of its own.
    std::vector<Sample> samples;
    std::jthread sampler(
        [&, window = xcb_window_t(overlays.panels()[0]->winId())](std::stop_token stop) {
            xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
            while (!stop.stop_requested()) {
                const double before = clock.now();
                const double opacity = test::serverOpacity(connection, window);
                samples.push_back({(before + clock.now()) / 2, opacity});
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
            xcb_disconnect(connection);
        });

    // Nothing but the event loop until the key: no input, no other traffic.
    QTest::qWait(int((OverlayManager::inputDelay + 0.5) * 1000));
    ASSERT_TRUE(test::xdotool({"key", "space"}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return dismissedAt > 0; }, 3000));
    QTest::qWait(6300);
    sampler.request_stop();
    sampler.join(); // the samples are the test's alone from here

    const auto in = [](double t) {
        return ease(OverlayCurve::easeIn, t / OverlayTimeline::backgroundIn.duration);
    };
    const Fit fadeIn = fit(samples, 0.0, OverlayManager::inputDelay, presentedAt, in);
    EXPECT_GT(fadeIn.checked, 200);
    EXPECT_LE(fadeIn.off, fadeIn.checked / 50) << fadeIn.firstOff.toStdString();
    EXPECT_GT(fadeIn.levels.size(), 30u) << "the fade-in reaches the server in steps";

    const auto out = [](double t) {
        const OverlayFade f = OverlayTimeline::backgroundOut;
        return 1.0 - ease(OverlayCurve::easeOut, (t - f.delay) / f.duration);
    };
    const Fit fadeOut = fit(samples, 0.0, 6.2, dismissedAt, out);
    EXPECT_GT(fadeOut.checked, 200);
    EXPECT_LE(fadeOut.off, fadeOut.checked / 50) << fadeOut.firstOff.toStdString();
    EXPECT_GT(fadeOut.levels.size(), 30u) << "the fade-out reaches the server in steps";
}
