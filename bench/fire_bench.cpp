// How far real fires land from their due time: the scheduler on the boot-time clock, armed
// for short waits one after another, each lateness measured on the same clock.
#include "core/session/IdleInhibitor.h"
#include "core/session/VelmoringScheduler.h"
#include "platform/clock/BootClock.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace velmor;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    BootClock clock;
    NoIdleInhibitor inhibitor;
    const std::vector<double> waits = {0.25, 0.5, 1.0, 1.5, 2.0, 0.75, 1.25, 3.0};
    std::vector<double> lateMs;
    double due = 0;
    size_t next = 0;
    VelmoringScheduler* scheduler = nullptr;
    VelmoringScheduler fires(clock, inhibitor, [&] {
        lateMs.push_back((clock.now() - due) * 1000.0);
        if (++next == waits.size()) {
            QCoreApplication::quit();
            return;
        }
        due = clock.now() + waits[next];
        scheduler->scheduleNext(waits[next]);
    });
    scheduler = &fires;
    due = clock.now() + waits[0];
    fires.start(waits[0]);
    app.exec();
    std::sort(lateMs.begin(), lateMs.end());
    std::printf("real fires, %zu waits of 0.25 to 3 s: lateness median %.3f ms, max %.3f ms "
                "(target within 5 ms)\n",
                lateMs.size(), lateMs[lateMs.size() / 2], lateMs.back());
    return 0;
}
