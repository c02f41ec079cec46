#include "TestApp.h"
#include "VirtualClock.h"
#include "platform/clock/BootClock.h"

#include <QEventLoop>
#include <QTimer>

#include <gtest/gtest.h>

using namespace velmor;

TEST(BootClock, FiresAtItsDeadlineInTheEventLoopAndNotWhenCancelled) {
    test::coreApplication();
    BootClock clock;
    const double start = clock.now();
    double firedAt = 0;
    bool cancelledFired = false;
    int pastFired = 0;
    QEventLoop loop;
    const auto cancelled = clock.after(0.05, [&] { cancelledFired = true; });
    // A past deadline fires at once, and a callback may start a timer.
    clock.startTimer(clock.now() - 10, [&] { clock.after(0, [&] { ++pastFired; }); });
    clock.after(0.15, [&] {
        firedAt = clock.now();
        loop.quit();
    });
    clock.cancel(cancelled);
    QTimer::singleShot(5000, &loop, &QEventLoop::quit); // guard only
    loop.exec();
    EXPECT_GE(firedAt - start, 0.15);
    EXPECT_FALSE(cancelledFired);
    EXPECT_EQ(pastFired, 1);
}

TEST(OneShot, RearmingReplacesThePendingWaitAndDestructionCancels) {
    test::VirtualClock clock;
    int first = 0, second = 0;
    {
        OneShot shot(clock);
        shot.startAfter(600, [&] { ++first; });
        clock.advance(10);
        shot.startAfter(5, [&] { ++second; });
        clock.advance(5);
        EXPECT_EQ(second, 1);
        EXPECT_FALSE(shot.isPending());
        shot.startAfter(1, [&] { ++second; });
    }
    clock.advance(1000);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(second, 1);
    EXPECT_EQ(clock.pendingTimers(), 0u);
}
