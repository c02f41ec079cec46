#pragma once

#include "platform/CalendarSource.h"

#include <memory>

namespace velmor {

// Meetings from the desktop's calendars through Evolution Data Server: every enabled calendar
// of the user's accounts (local, and Google, CalDAV or Exchange ones set up in GNOME Online
// Accounts or Evolution). EDS expands recurrences and moved occurrences itself.
//
// The connection is made at the first question and again after reconnect(), never on every
// check. Without a session bus, or when no registry runs or can be started on it, the source
// gives up within the bus time-out and answers nothing until reconnect().
class EdsCalendar final : public CalendarSource {
public:
    explicit EdsCalendar(int busTimeoutMs = 300);
    ~EdsCalendar() override;
    EdsCalendar(const EdsCalendar&) = delete;
    EdsCalendar& operator=(const EdsCalendar&) = delete;

    // nullopt when no calendar is connected.
    std::optional<bool> hasMeetingBetween(const QDateTime& from, const QDateTime& to) override;
    void reconnect() override;

    int connectedCalendars() const;

private:
    struct Connection;
    void connectOnce();

    int busTimeoutMs_;
    bool attempted_ = false;
    std::unique_ptr<Connection> connection_;
};

} // namespace velmor
