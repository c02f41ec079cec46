#pragma once

#include "core/base/Clock.h"

#include <QDateTime>

#include <functional>
#include <optional>

namespace velmor {

class IdleInhibitor;

// Waits until a moment and then calls onFire once. It never re-arms itself: the next wait
// exists only when scheduleNext is called again. All calls come from the event loop, which
// orders them, so no executor of its own is needed.
class VelmoringScheduler {
public:
    static constexpr const char* inhibitReason = "Velmor needs accurate timer scheduling";

    VelmoringScheduler(Clock& clock, IdleInhibitor& inhibitor, std::function<void()> onFire);
    ~VelmoringScheduler();
    VelmoringScheduler(const VelmoringScheduler&) = delete;
    VelmoringScheduler& operator=(const VelmoringScheduler&) = delete;

    void start(double intervalSeconds);
    void scheduleNext(double afterSeconds);
    void stop();

    bool isStarted() const { return started_; }
    bool isWaiting() const { return timer_.isPending(); }
    std::optional<QDateTime> nextFireDate() const { return nextFireDate_; }

private:
    Clock& clock_;
    IdleInhibitor& inhibitor_;
    std::function<void()> onFire_;
    OneShot timer_;
    std::optional<QDateTime> nextFireDate_;
    bool started_ = false;
};

} // namespace velmor
