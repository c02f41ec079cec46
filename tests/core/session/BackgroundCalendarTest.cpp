#include "core/session/BackgroundCalendar.h"

#include "VirtualClock.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <set>
#include <thread>

using namespace velmor;
using State = BackgroundCalendar::Answer::State;

namespace {

// A calendar that answers only when let through, and notes the threads and windows it is
// asked on.
struct GatedCalendar final : CalendarSource {
    std::mutex mutex;
    std::condition_variable opened;
    bool open = true;
    std::optional<std::vector<BusySpan>> busy = std::vector<BusySpan>{};
    std::vector<std::pair<std::time_t, std::time_t>> windows;
    int reconnects = 0;
    std::set<std::thread::id> threads;

    std::optional<std::vector<BusySpan>> busyBetween(std::time_t from, std::time_t to) override {
        std::unique_lock lock(mutex);
        threads.insert(std::this_thread::get_id());
        opened.wait(lock, [this] { return open; });
        windows.emplace_back(from, to);
        return busy;
    }
    void reconnect() override {
        std::lock_guard lock(mutex);
        ++reconnects;
    }
    void setOpen(bool value) {
        {
            std::lock_guard lock(mutex);
            open = value;
        }
        opened.notify_all();
    }
    void set(std::optional<std::vector<BusySpan>> spans) {
        std::lock_guard lock(mutex);
        busy = std::move(spans);
    }
    using CalendarSource::changed;
};

struct World {
    test::VirtualClock clock; // 5 December 2026, 09:00 UTC
    GatedCalendar* source = nullptr;
    std::unique_ptr<BackgroundCalendar> calendar;

    explicit World(bool open = true) {
        auto owned = std::make_unique<GatedCalendar>();
        source = owned.get();
        source->open = open;
        calendar = std::make_unique<BackgroundCalendar>(clock, std::move(owned));
    }
    std::time_t at(int minutes) const { return clock.wallNow().toSecsSinceEpoch() + minutes * 60; }
    BackgroundCalendar::Answer in(int minutes) {
        return calendar->meetingAt(clock.wallNow().addSecs(minutes * 60));
    }
};

} // namespace

TEST(BackgroundCalendar, ReadsTheNext36HoursAheadAndAnswersFromMemory) {
    World w(false);
    // Nothing read yet: unknown, and the asker is not held up by the stuck source.
    EXPECT_EQ(w.in(0).state, State::unknown);
    w.source->set(std::vector<BusySpan>{{w.at(30), w.at(60)},
                                        {w.at(60), w.at(90)},
                                        {w.at(100), w.at(120)},
                                        {w.at(200), w.at(200)}});
    w.source->setOpen(true);
    w.calendar->waitUntilIdle();
    ASSERT_EQ(w.source->windows.size(), 1u);
    EXPECT_EQ(w.source->windows[0], std::pair(w.at(-60), w.at(36 * 60)));
    EXPECT_EQ(w.source->threads.count(std::this_thread::get_id()), 0u);

    EXPECT_EQ(w.in(10).state, State::free);
    // Back-to-back meetings end together; the one after a gap does not.
    const auto meeting = w.in(45);
    EXPECT_EQ(meeting.state, State::busy);
    EXPECT_EQ(meeting.until, w.clock.wallNow().addSecs(90 * 60));
    EXPECT_EQ(w.in(95).state, State::free);
    EXPECT_EQ(w.in(200).state, State::busy); // a meeting without length, at its start

    // Every 15 minutes a new window, and the old answer stands meanwhile.
    w.source->setOpen(false);
    w.clock.advance(15 * 60);
    EXPECT_EQ(w.in(30).state, State::busy);
    w.source->setOpen(true);
    w.calendar->waitUntilIdle();
    EXPECT_EQ(w.source->windows.size(), 2u);
    EXPECT_EQ(w.source->windows[1].first, w.at(-60));
}

TEST(BackgroundCalendar, AChangeOrAnAskPastTheWindowIsUnknownUntilReadAgain) {
    World w;
    w.calendar->waitUntilIdle();
    EXPECT_EQ(w.in(0).state, State::free);

    // The source says it changed: unknown until the new reading, which sees the new meeting.
    w.source->setOpen(false);
    w.source->set(std::vector<BusySpan>{{w.at(-5), w.at(25)}});
    w.source->changed();
    EXPECT_EQ(w.in(0).state, State::unknown);
    w.source->setOpen(true);
    w.calendar->waitUntilIdle();
    EXPECT_EQ(w.in(0).state, State::busy);

    // Two days on without a refresh (the timer was not run): unknown, and read around then.
    const QDateTime later = w.clock.wallNow().addDays(2);
    EXPECT_EQ(w.calendar->meetingAt(later).state, State::unknown);
    w.calendar->waitUntilIdle();
    EXPECT_EQ(w.source->windows.back().first, later.toSecsSinceEpoch() - 3600);

    // A source that cannot answer is free, and asking again reconnects it first.
    w.source->set(std::nullopt);
    w.calendar->reconnect();
    w.calendar->waitUntilIdle();
    EXPECT_EQ(w.source->reconnects, 1);
    EXPECT_EQ(w.in(0).state, State::free);
}
