#pragma once

#include <QByteArray>

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
    // nullopt when the text holds no VCALENDAR.
    static std::optional<IcsEvents> parse(const QByteArray& text);

    IcsEvents(IcsEvents&&) noexcept;
    IcsEvents& operator=(IcsEvents&&) noexcept;
    ~IcsEvents();

    // True when a meeting instance overlaps [from, to] (Unix seconds).
    bool hasMeetingBetween(std::time_t from, std::time_t to) const;

private:
    struct Span {
        std::time_t start;
        std::time_t end;
    };
    struct Series {
        icalcomponent_impl* master;
        std::time_t firstStart;
        bool floating; // wall-clock times without a zone: the user's local time
        std::set<std::time_t> replaced;
    };
    struct Free {
        void operator()(icalcomponent_impl* root) const;
    };

    IcsEvents() = default;

    std::unique_ptr<icalcomponent_impl, Free> root_;
    std::vector<Span> spans_;
    std::vector<Series> series_;
};

} // namespace velmor
