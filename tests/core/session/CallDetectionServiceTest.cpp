#include "core/session/CallDetectionService.h"

#include "VirtualClock.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace velmor;

namespace {

struct FakeMicrophone final : Microphone {
    bool inUse = false;
    int asked = 0;
    bool isInUse() override {
        ++asked;
        return inUse;
    }
};

struct FakeCalendar final : CalendarSource {
    std::optional<bool> answer = false;
    int reconnects = 0;
    QDateTime askedFrom, askedTo;
    std::optional<bool> hasMeetingBetween(const QDateTime& from, const QDateTime& to) override {
        askedFrom = from;
        askedTo = to;
        return answer;
    }
    void reconnect() override { ++reconnects; }
};

struct Fixture {
    test::VirtualClock clock;
    FakeMicrophone* microphone = nullptr;
    FakeCalendar* first = nullptr;
    FakeCalendar* second = nullptr;
    std::unique_ptr<CallDetectionService> service;

    Fixture() {
        auto mic = std::make_unique<FakeMicrophone>();
        microphone = mic.get();
        std::vector<std::unique_ptr<CalendarSource>> calendars;
        for (FakeCalendar** kept : {&first, &second})
            *kept = static_cast<FakeCalendar*>(
                calendars.emplace_back(std::make_unique<FakeCalendar>()).get());
        service =
            std::make_unique<CallDetectionService>(clock, std::move(mic), std::move(calendars));
    }
};

} // namespace

TEST(CallDetectionService, MeetingIsAskedFirstAndSparesTheMicrophoneAndSilenceIsNoMeeting) {
    Fixture f;
    f.second->answer = true;
    EXPECT_TRUE(f.service->isInCall());
    EXPECT_EQ(f.microphone->asked, 0);
    // The question covers now ± 1 s of the wall clock.
    EXPECT_EQ(f.second->askedFrom, f.clock.wallNow().addSecs(-1));
    EXPECT_EQ(f.second->askedTo, f.clock.wallNow().addSecs(1));

    f.second->answer = false;
    EXPECT_FALSE(f.service->isInCall());
    EXPECT_EQ(f.microphone->asked, 1);
    f.microphone->inUse = true;
    EXPECT_TRUE(f.service->isInCall());
    EXPECT_FALSE(f.service->hasMeetingNow());

    // Calendars that cannot answer mean no meeting.
    f.first->answer = std::nullopt;
    f.second->answer = std::nullopt;
    EXPECT_FALSE(f.service->hasMeetingNow());
    EXPECT_FALSE(f.service->requestCalendarAccess());
    EXPECT_EQ(f.first->reconnects, 1);
    EXPECT_EQ(f.second->reconnects, 1);
    f.second->answer = false;
    EXPECT_TRUE(f.service->requestCalendarAccess());
}

TEST(CallDetectionService, MonitorPollsEvery30sCallsBackOnceAndIsReplacedOrCancelled) {
    Fixture f;
    f.microphone->inUse = true;
    int calls = 0;
    f.service->startMonitoring([&] { ++calls; });
    f.clock.advance(29.9);
    EXPECT_EQ(f.microphone->asked, 0); // first look only after 30 s
    f.clock.advance(0.1);
    EXPECT_EQ(f.microphone->asked, 1);
    f.clock.advance(60);
    EXPECT_EQ(f.microphone->asked, 3);
    EXPECT_EQ(calls, 0);

    f.microphone->inUse = false;
    f.clock.advance(30);
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(f.service->isMonitoring());
    f.clock.advance(300);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(f.microphone->asked, 4);

    // A second start replaces the first; cancelling stops the polling.
    int second = 0;
    f.service->startMonitoring([&] { ++calls; });
    f.clock.advance(20);
    f.service->startMonitoring([&] { ++second; });
    f.clock.advance(20); // 40 s after the first start, 20 s after the second
    EXPECT_EQ(calls + second, 1);
    f.clock.advance(10);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(second, 1);
    f.service->startMonitoring([&] { ++calls; });
    f.service->cancelMonitoring();
    f.clock.advance(120);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(f.clock.pendingTimers(), 0u);
}

TEST(CallDetectionService, CallbackMayStartTheNextMonitor) {
    Fixture f;
    int calls = 0;
    std::function<void()> again = [&] {
        if (++calls < 2)
            f.service->startMonitoring(again);
    };
    f.service->startMonitoring(again);
    f.clock.advance(30);
    EXPECT_TRUE(f.service->isMonitoring());
    f.clock.advance(30);
    EXPECT_EQ(calls, 2);
    EXPECT_FALSE(f.service->isMonitoring());
}
