#pragma once

#include <ctime>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace velmor {

// A stretch of busy time, in Unix seconds; one without length is busy at its start.
struct BusySpan {
    std::time_t start;
    std::time_t end;
    bool operator==(const BusySpan&) const = default;
};

// One place the user's meetings come from. A meeting is an event instance that is timed (not
// all-day), busy (not TRANSP:TRANSPARENT) and not cancelled; tentative instances count.
// Reading may be slow: a BackgroundCalendar asks on a thread of its own, ahead of time.
class CalendarSource {
public:
    virtual ~CalendarSource() = default;

    // The meetings overlapping [from, to]; nullopt when the source cannot answer at all
    // (nothing to read, no service).
    virtual std::optional<std::vector<BusySpan>> busyBetween(std::time_t from, std::time_t to) = 0;

    // Forgets what was connected or read, so the next question starts afresh.
    virtual void reconnect() = 0;

    // Told, on any thread, when what the source reads has changed. Set before the first question.
    void setOnChanged(std::function<void()> callback) { onChanged_ = std::move(callback); }

protected:
    void changed() const {
        if (onChanged_)
            onChanged_();
    }
    // What changed() calls, for a watcher that may outlive the source.
    const std::function<void()>& changeNotifier() const { return onChanged_; }

private:
    std::function<void()> onChanged_;
};

} // namespace velmor
