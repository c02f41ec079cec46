#pragma once

#include "core/session/CalendarSource.h"

#include <memory>

namespace velmor {

// Meetings from the desktop's calendars through Evolution Data Server: every enabled calendar
// of the user's accounts (local, and Google, CalDAV or Exchange ones set up in GNOME Online
// Accounts or Evolution). EDS expands recurrences and moved occurrences itself.
//
// The connection starts at reconnect() or at the first question and completes in the background
// on the event loop; until a calendar is open the source answers nothing. Without a session bus,
// or when no registry runs or can be started on it, the source gives up within the bus time-out
// and answers nothing until reconnect().
class EdsCalendar final : public CalendarSource {
public:
    explicit EdsCalendar(int busTimeoutMs = 300);
    ~EdsCalendar() override;
    EdsCalendar(const EdsCalendar&) = delete;
    EdsCalendar& operator=(const EdsCalendar&) = delete;

    // nullopt while no calendar is open (yet).
    std::optional<bool> hasMeetingBetween(const QDateTime& from, const QDateTime& to) override;
    void reconnect() override;

    int connectedCalendars() const;
    // The registry or a calendar is still being opened.
    bool isConnecting() const;

private:
    struct Connection;
    void connectOnce();

    int busTimeoutMs_;
    bool attempted_ = false;
    std::unique_ptr<Connection> connection_;
};

} // namespace velmor
