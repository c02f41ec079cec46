#pragma once

#include "core/base/Clock.h"

#include <map>
#include <memory>

class QSocketNotifier;

namespace velmor {

// Production clock: each timer is a timerfd on CLOCK_BOOTTIME watched by the Qt event loop, so
// nothing wakes the process until a deadline is reached.
class BootClock final : public Clock {
public:
    BootClock();
    ~BootClock() override;

    double now() const override;
    QDateTime wallNow() const override;
    TimerId startTimer(double deadline, std::function<void()> callback) override;
    void cancel(TimerId id) override;

private:
    struct Timer;
    void fire(TimerId id);

    std::map<TimerId, std::unique_ptr<Timer>> timers_;
    TimerId nextId_ = 1;
};

} // namespace velmor
