#include "VirtualClock.h"
#include "core/model/VelmorState.h"
#include "core/session/IdleInhibitor.h"
#include "core/session/VelmoringScheduler.h"

#include <gtest/gtest.h>

using namespace velmor;

namespace {
struct CountingInhibitor final : IdleInhibitor {
    int held = 0;
    int acquisitions = 0;
    QString reason;
    void acquire(const QString& why) override {
        ++held;
        ++acquisitions;
        reason = why;
    }
    void release() override { --held; }
};

struct SchedulerFixture {
    test::VirtualClock clock;
    CountingInhibitor inhibitor;
    int fires = 0;
    VelmoringScheduler scheduler{clock, inhibitor, [this] { ++fires; }};
};
} // namespace

TEST(Scheduler, ReplacingAWaitFiresOnceAtTheNewTime) {
    SchedulerFixture f;
    f.scheduler.start(600);
    f.clock.advance(10);
    f.scheduler.scheduleNext(5);
    EXPECT_EQ(f.scheduler.nextFireDate(), f.clock.wallNow().addSecs(5));
    f.clock.advance(4.999);
    EXPECT_EQ(f.fires, 0);
    f.clock.advance(0.002);
    EXPECT_EQ(f.fires, 1);
    f.clock.advance(3600); // it never re-arms itself
    EXPECT_EQ(f.fires, 1);
    EXPECT_TRUE(f.scheduler.isStarted());
    EXPECT_FALSE(f.scheduler.isWaiting());
}

TEST(Scheduler, HoldsOneInhibitionForTheWholeStartedPeriod) {
    SchedulerFixture f;
    f.scheduler.start(60);
    f.scheduler.start(60);
    EXPECT_EQ(f.inhibitor.held, 1);
    EXPECT_EQ(f.inhibitor.reason, "Velmor needs accurate timer scheduling");
    f.clock.advance(60);
    f.scheduler.scheduleNext(60); // re-arming does not touch the inhibition
    EXPECT_EQ(f.inhibitor.acquisitions, 2);
    EXPECT_EQ(f.inhibitor.held, 1);
    f.scheduler.stop();
    f.scheduler.stop();
    EXPECT_EQ(f.inhibitor.held, 0);
    EXPECT_FALSE(f.scheduler.nextFireDate());
    f.clock.advance(600);
    EXPECT_EQ(f.fires, 1); // only the one before stop
}

// Re-arming from the fire itself is what every session does: AppDelegateTest.

// A state that compares equal raises no change signal.
TEST(VelmorState, EqualityComparesKindAndValue) {
    const QDateTime t(QDate(2026, 1, 1), QTime(8, 0), Qt::UTC);
    EXPECT_EQ(VelmorState::scheduled(t), VelmorState::scheduled(t));
    EXPECT_NE(VelmorState::scheduled(t), VelmorState::scheduled(t.addMSecs(1)));
    EXPECT_NE(VelmorState::scheduled(t), VelmorState::snoozed(t));
    EXPECT_NE(VelmorState::velmoring("a"), VelmorState::velmoring("b"));
}
