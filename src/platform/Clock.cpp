#include "platform/Clock.h"

#include "platform/BootClock.h"

namespace velmor {

namespace {
Clock* installedClock = nullptr;
}

Clock& Clock::shared() {
    if (!installedClock) {
        static BootClock bootClock;
        installedClock = &bootClock;
    }
    return *installedClock;
}

void Clock::setShared(Clock* clock) {
    installedClock = clock;
}

void OneShot::startAt(double deadline, std::function<void()> callback) {
    cancel();
    id_ = clock_->startTimer(deadline, [this, callback = std::move(callback)] {
        id_ = 0;
        callback();
    });
}

void OneShot::cancel() {
    if (id_ != 0) {
        clock_->cancel(id_);
        id_ = 0;
    }
}

} // namespace velmor
