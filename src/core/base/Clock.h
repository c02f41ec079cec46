#pragma once

#include <QDateTime>

#include <cstdint>
#include <functional>

namespace velmor {

// The one clock behind every timed wait. "now" counts suspended time (CLOCK_BOOTTIME), so a
// wait that ends while the machine sleeps fires right after it wakes.
class Clock {
public:
    using TimerId = std::uint64_t;

    virtual ~Clock() = default;

    // Seconds on the boot-time clock.
    virtual double now() const = 0;
    virtual QDateTime wallNow() const = 0;

    // Runs `callback` once at `deadline` (boot-time seconds) on the event loop. A deadline in
    // the past fires as soon as the loop runs. Returns an id for cancel(); never 0.
    virtual TimerId startTimer(double deadline, std::function<void()> callback) = 0;
    // Cancelling an unknown, fired or already cancelled timer does nothing.
    virtual void cancel(TimerId id) = 0;

    TimerId after(double seconds, std::function<void()> callback) {
        return startTimer(now() + seconds, std::move(callback));
    }

    // The process-wide clock (boot-time in production; tests install a virtual one).
    static Clock& shared();
    static void setShared(Clock* clock);
};

// A one-shot timer owned by an object: cancelled when re-armed or destroyed, so a replaced
// wait never fires.
class OneShot {
public:
    explicit OneShot(Clock& clock) : clock_(&clock) {}
    ~OneShot() { cancel(); }
    OneShot(const OneShot&) = delete;
    OneShot& operator=(const OneShot&) = delete;

    void startAt(double deadline, std::function<void()> callback);
    void startAfter(double seconds, std::function<void()> callback) {
        startAt(clock_->now() + seconds, std::move(callback));
    }
    void cancel();
    bool isPending() const { return id_ != 0; }

private:
    Clock* clock_;
    Clock::TimerId id_ = 0;
};

} // namespace velmor
