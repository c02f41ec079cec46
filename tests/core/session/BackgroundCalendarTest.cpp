#include "core/session/BackgroundCalendar.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <set>
#include <thread>

using namespace velmor;

namespace {

// A calendar that answers only when let through, and notes the threads it is used on.
struct GatedCalendar final : CalendarSource {
    std::mutex mutex;
    std::condition_variable opened;
    bool open = true;
    std::optional<bool> answer = true;
    int questions = 0;
    int reconnects = 0;
    std::set<std::thread::id> threads;

    std::optional<bool> hasMeetingBetween(const QDateTime&, const QDateTime&) override {
        std::unique_lock lock(mutex);
        threads.insert(std::this_thread::get_id());
        opened.wait(lock, [this] { return open; });
        ++questions;
        return answer;
    }
    void reconnect() override {
        std::lock_guard lock(mutex);
        threads.insert(std::this_thread::get_id());
        ++reconnects;
    }
    void setOpen(bool value) {
        {
            std::lock_guard lock(mutex);
            open = value;
        }
        opened.notify_all();
    }
};

const QDateTime noon(QDate(2026, 12, 7), QTime(12, 0), Qt::UTC);

} // namespace

TEST(BackgroundCalendar, StuckSourceNeverHoldsTheAskerAndItsLastAnswerAgesOut) {
    auto owned = std::make_unique<GatedCalendar>();
    GatedCalendar& source = *owned;
    BackgroundCalendar calendar(std::move(owned), 2000, 300);

    // Answers within the wait come straight through, on the calendar's own thread.
    EXPECT_EQ(calendar.hasMeetingBetween(noon, noon.addSecs(1)), true);
    calendar.reconnect();
    calendar.waitUntilIdle();
    EXPECT_EQ(source.reconnects, 1);
    EXPECT_EQ(source.threads.size(), 1u);
    EXPECT_EQ(source.threads.count(std::this_thread::get_id()), 0u);

    // Stuck: the asker gets the last answer while it is recent, then nothing.
    source.setOpen(false);
    BackgroundCalendar quick(std::make_unique<GatedCalendar>(), 0, 300);
    EXPECT_EQ(quick.hasMeetingBetween(noon, noon.addSecs(1)), std::nullopt); // nothing yet
    {
        std::lock_guard lock(source.mutex);
        source.answer = false;
    }
    // Each returns after the wait although the source is stuck.
    EXPECT_EQ(calendar.hasMeetingBetween(noon.addSecs(60), noon.addSecs(61)), true);
    EXPECT_EQ(calendar.hasMeetingBetween(noon.addSecs(400), noon.addSecs(401)), std::nullopt);

    // Let through, the newest question is answered, once.
    source.setOpen(true);
    calendar.waitUntilIdle();
    EXPECT_EQ(calendar.hasMeetingBetween(noon.addSecs(420), noon.addSecs(421)), false);
    EXPECT_LE(source.questions, 4);
}
