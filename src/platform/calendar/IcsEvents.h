#pragma once

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
// the instances their RECURRENCE-ID overrides replace.
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

    // True when a meeting instance overlaps [from, to] (Unix seconds). Not thread-safe: the
    // instances of recurring meetings around the asked time are kept for the next question.
    bool hasMeetingBetween(std::time_t from, std::time_t to) const;

private:
    struct Span {
        std::time_t start;
        std::time_t end;
    };
    // A RECURRENCE-ID;RANGE=THISANDFUTURE override: instances from `from` on (libical's
    // reading) are moved by `shift` and last `length`, or are no meeting at all.
    struct Range {
        std::time_t from;
        std::time_t shift;
        std::time_t length;
        bool meeting;
    };
    struct Series {
        icalcomponent_impl* master;
        std::time_t firstStart;
        bool floating; // wall-clock times without a zone: the user's local time
        std::set<std::time_t> replaced;
        std::vector<Range> ranges; // by `from`
    };
    struct Free {
        void operator()(icalcomponent_impl* root) const;
    };

    IcsEvents() = default;
    void expandSeries(std::time_t from, std::time_t to) const;

    static constexpr std::time_t horizonMargin = 24 * 3600;

    std::unique_ptr<icalcomponent_impl, Free> root_;
    std::vector<Span> spans_;
    std::vector<Series> series_;
    // The series' instances overlapping [horizonFrom_, horizonTo_].
    mutable std::time_t horizonFrom_ = 0;
    mutable std::time_t horizonTo_ = -1;
    mutable std::vector<Span> instances_;
};

} // namespace velmor
