#pragma once

#include "core/session/CalendarSource.h"

#include <memory>

namespace velmor {

// Meetings from the desktop's calendars through Evolution Data Server: every enabled calendar
// of the user's accounts (local, and Google, CalDAV or Exchange ones set up in GNOME Online
// Accounts or Evolution). EDS expands recurrences and moved occurrences itself.
//
// Built as a module of its own (velmor-eds.so) that DesktopCalendar loads and asks only while
// EDS runs, so that its client libraries cost nothing otherwise. Questions are synchronous
// (connecting at the first, then one instance query per calendar), each step cancelled after
// the time-out. A live view of each calendar tells changed() of new, changed and removed
// events.
class EdsCalendar final : public CalendarSource {
public:
    explicit EdsCalendar(int timeoutMs = 3000);
    ~EdsCalendar() override;
    EdsCalendar(const EdsCalendar&) = delete;
    EdsCalendar& operator=(const EdsCalendar&) = delete;

    // nullopt while no calendar could be opened.
    std::optional<std::vector<BusySpan>> busyBetween(std::time_t from, std::time_t to) override;
    void reconnect() override;

    int connectedCalendars() const;

    struct Connection;

private:
    int timeoutMs_;
    bool failed_ = false;
    std::unique_ptr<Connection> connection_;
};

} // namespace velmor
