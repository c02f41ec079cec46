#include "core/session/VelmoringScheduler.h"

#include "core/session/IdleInhibitor.h"

#include <algorithm>

namespace velmor {

VelmoringScheduler::VelmoringScheduler(Clock& clock, IdleInhibitor& inhibitor,
                                       std::function<void()> onFire)
    : clock_(clock), inhibitor_(inhibitor), onFire_(std::move(onFire)), timer_(clock) {}

VelmoringScheduler::~VelmoringScheduler() {
    stop();
}

void VelmoringScheduler::start(double intervalSeconds) {
    stop();
    started_ = true;
    inhibitor_.acquire(QString::fromLatin1(inhibitReason));
    scheduleNext(intervalSeconds);
}

void VelmoringScheduler::scheduleNext(double afterSeconds) {
    // The wall-clock due time is what the screens show; the wait itself runs on the boot-time
    // clock so that suspended time counts.
    const qint64 afterMs = qint64(afterSeconds * 1000.0);
    nextFireDate_ = clock_.wallNow().addMSecs(afterMs);
    timer_.startAfter(std::max(0.0, afterSeconds), [callback = onFire_] { callback(); });
}

void VelmoringScheduler::stop() {
    timer_.cancel();
    nextFireDate_.reset();
    if (started_) {
        started_ = false;
        inhibitor_.release();
    }
}

} // namespace velmor
