#pragma once

#include "core/base/Clock.h"

#include <map>
#include <utility>

namespace velmor::test {

// A clock that stands still until the test advances it; due timers then fire in deadline order
// (ties in start order), each seeing now() equal to its own deadline.
class VirtualClock final : public Clock {
public:
    explicit VirtualClock(double start = 1000.0,
                          QDateTime wallStart = QDateTime(QDate(2026, 12, 5), QTime(9, 0), Qt::UTC))
        : now_(start), wallStart_(std::move(wallStart)), start_(start) {}

    double now() const override { return now_; }
    QDateTime wallNow() const override {
        return wallStart_.addMSecs(qint64((now_ - start_) * 1000.0));
    }

    TimerId startTimer(double deadline, std::function<void()> callback) override {
        const TimerId id = nextId_++;
        timers_.emplace(std::make_pair(deadline, id), std::move(callback));
        return id;
    }

    void cancel(TimerId id) override {
        std::erase_if(timers_, [id](const auto& timer) { return timer.first.second == id; });
    }

    // Moves time forward by `seconds`, firing every timer that falls due on the way.
    void advance(double seconds) { advanceTo(now_ + seconds); }

    void advanceTo(double target) {
        while (!timers_.empty() && timers_.begin()->first.first <= target) {
            auto it = timers_.begin();
            now_ = std::max(now_, it->first.first);
            auto callback = std::move(it->second);
            timers_.erase(it);
            callback();
        }
        now_ = std::max(now_, target);
    }

    size_t pendingTimers() const { return timers_.size(); }

private:
    double now_;
    QDateTime wallStart_;
    double start_;
    TimerId nextId_ = 1;
    std::map<std::pair<double, TimerId>, std::function<void()>> timers_;
};

} // namespace velmor::test
