#include "core/session/CallDetectionService.h"

#include "VirtualClock.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace velmor;
using Outcome = CallDetector::Check::Outcome;
using Kind = WaitReason::Kind;

namespace {

struct FakeSignal final : CallSignal {
    std::optional<bool> active = false;
    int asked = 0;
    std::optional<bool> isActive() override {
        ++asked;
        return active;
    }
};

// Answers at once, on the calendar's thread.
struct FakeCalendar final : CalendarSource {
    std::optional<std::vector<BusySpan>> busy = std::vector<BusySpan>{};
    std::optional<std::vector<BusySpan>> busyBetween(std::time_t, std::time_t) override {
        return busy;
    }
    void reconnect() override {}
};

struct Fixture {
    test::VirtualClock clock;
    FakeSignal* microphone = new FakeSignal;
    FakeSignal* screen = new FakeSignal;
    FakeSignal* fullScreen = new FakeSignal;
    FakeCalendar* calendar = new FakeCalendar;
    std::unique_ptr<CallDetectionService> service;

    explicit Fixture(std::time_t meetingFrom = 0, std::time_t meetingTo = 0) {
        const std::time_t now = clock.wallNow().toSecsSinceEpoch();
        if (meetingTo > meetingFrom)
            calendar->busy = std::vector<BusySpan>{{now + meetingFrom, now + meetingTo}};
        CallDetectionService::Sources sources;
        sources.calendars.push_back(
            std::make_unique<BackgroundCalendar>(clock, std::unique_ptr<CalendarSource>(calendar)));
        sources.calendars.back()->waitUntilIdle();
        sources.microphone.reset(microphone);
        sources.screenCast.reset(screen);
        sources.fullScreen.reset(fullScreen);
        service = std::make_unique<CallDetectionService>(clock, std::move(sources));
    }
};

constexpr CallDetector::Wanted both{true, true};

} // namespace

TEST(CallDetectionService, EachReasonInTurnAndOnlyTheWantedOnes) {
    Fixture f(-600, 1200); // a meeting until 20 minutes from now
    const auto meeting = f.service->check(both);
    EXPECT_EQ(meeting.outcome, Outcome::busy);
    EXPECT_EQ(meeting.reason.kind, Kind::meeting);
    EXPECT_EQ(meeting.reason.until, f.clock.wallNow().addSecs(1200));
    EXPECT_EQ(f.microphone->asked, 0); // a meeting spares the microphone

    Fixture g;
    EXPECT_EQ(g.service->check(both).outcome, Outcome::free);
    g.screen->active = true;
    EXPECT_EQ(g.service->check(both).reason.kind, Kind::screenShared);
    g.microphone->active = true;
    EXPECT_EQ(g.service->check(both).reason.kind, Kind::microphone);
    g.microphone->active = g.screen->active = false;
    g.fullScreen->active = true;
    EXPECT_EQ(g.service->check(both).reason.kind, Kind::fullScreen);
    EXPECT_EQ(g.service->check({true, false}).outcome, Outcome::free); // switched off
    g.fullScreen->active = false;
    g.screen->active = true;
    EXPECT_EQ(g.service->check({false, true}).outcome, Outcome::free);

    // Unknown is not free, but a known call wins over a source still silent.
    g.screen->active = false;
    g.microphone->active = std::nullopt;
    EXPECT_EQ(g.service->check(both).outcome, Outcome::unknown);
    EXPECT_EQ(g.service->check({false, true}).outcome, Outcome::free);
    g.fullScreen->active = true;
    EXPECT_EQ(g.service->check(both).outcome, Outcome::busy);
}

TEST(CallDetectionService, MonitorPollsEvery30sCallsBackOnceAndIsReplacedOrCancelled) {
    Fixture f;
    f.microphone->active = true;
    int calls = 0;
    std::vector<Kind> stillBusy;
    f.service->startMonitoring(
        both, [&] { ++calls; },
        [&](const WaitReason& reason) { stillBusy.push_back(reason.kind); });
    f.clock.advance(29.9);
    EXPECT_EQ(f.microphone->asked, 0); // first look only after 30 s
    f.clock.advance(0.1);
    EXPECT_EQ(f.microphone->asked, 1);
    f.microphone->active = false;
    f.screen->active = true; // the call goes on as a shared screen
    f.clock.advance(30);
    f.screen->active = std::nullopt; // cannot tell: still in the call
    f.clock.advance(30);
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(stillBusy, (std::vector<Kind>{Kind::microphone, Kind::screenShared}));

    f.screen->active = false;
    f.clock.advance(30);
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(f.service->isMonitoring());
    f.clock.advance(300);
    EXPECT_EQ(calls, 1);

    // A second start replaces the first; cancelling stops the polling.
    int second = 0;
    f.service->startMonitoring(both, [&] { ++calls; });
    f.clock.advance(20);
    f.service->startMonitoring(both, [&] { ++second; });
    f.clock.advance(20); // 40 s after the first start, 20 s after the second
    EXPECT_EQ(calls + second, 1);
    f.clock.advance(10);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(second, 1);
    f.service->startMonitoring(both, [&] { ++calls; });
    f.service->cancelMonitoring();
    f.clock.advance(120);
    EXPECT_EQ(calls, 1);
}
