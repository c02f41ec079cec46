#include "core/base/Clock.h"

#include <QtGlobal>

namespace velmor {

namespace {
Clock* installedClock = nullptr;
}

Clock& Clock::shared() {
    // The program installs the desktop clock before anything asks for it; running without one
    // would be a wiring fault, not a state to recover from.
    if (!installedClock)
        qFatal("No clock installed");
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
