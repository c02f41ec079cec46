#pragma once

#include "core/session/CalendarSource.h"

#include <QByteArray>

#include <chrono>
#include <ctime>
#include <memory>
#include <optional>
#include <set>
#include <vector>

struct icalcomponent_impl;

namespace velmor {

// The meetings of one parsed iCalendar text (a .ics file or one vdir item), ready to be asked
// again and again: timed, busy, not cancelled events as plain spans, recurring ones kept with
// the instances their RECURRENCE-ID overrides replace. Not thread-safe.
class IcsEvents {
public:
    enum class Failure { notCalendar, overBudget };
    using Deadline = std::chrono::steady_clock::time_point;

    // nullopt when the text holds no VCALENDAR (`failure` says notCalendar) or when reading it
    // would take past `deadline` (overBudget): time zones whose rules change more often than
    // any real zone, or series that would have to be stepped through second by second. What
    // libical works out later, at each question, is checked here first, so questions about
    // times around now stay cheap.
    static std::optional<IcsEvents> parse(const QByteArray& text, Deadline deadline,
                                          Failure* failure = nullptr);

    IcsEvents(IcsEvents&&) noexcept;
    IcsEvents& operator=(IcsEvents&&) noexcept;
    ~IcsEvents();

    // Adds the meeting instances overlapping [from, to] (Unix seconds) to `out`.
    void busyBetween(std::time_t from, std::time_t to, std::vector<BusySpan>& out) const;

private:
    // A RECURRENCE-ID;RANGE=THISANDFUTURE override: instances from `from` on (libical's
    // reading) are moved by `shift` and last `length`, or are no meeting at all.
    struct Range {
        std::time_t from;
        std::time_t shift;
        std::time_t length;
        bool meeting;
        std::time_t begin; // the override's own start
    };
    struct Series {
        icalcomponent_impl* master;
        std::time_t firstStart;
        bool floating; // wall-clock times without a zone: the user's local time
        std::time_t length;
        std::set<std::time_t> replaced;
        std::vector<Range> ranges;        // by `from`
        std::vector<BusySpan> extraDates; // RDATEs, read by us
    };
    struct Free {
        void operator()(icalcomponent_impl* root) const;
    };

    IcsEvents() = default;

    std::unique_ptr<icalcomponent_impl, Free> root_;
    std::vector<BusySpan> spans_;
    std::vector<Series> series_;
};

} // namespace velmor
