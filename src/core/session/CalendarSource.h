#pragma once

#include <QDateTime>

#include <optional>

namespace velmor {

// One place the user's meetings come from. A meeting is an event instance overlapping the
// asked period that is timed (not all-day), busy (not TRANSP:TRANSPARENT) and not cancelled;
// tentative instances count.
class CalendarSource {
public:
    virtual ~CalendarSource() = default;

    // nullopt when the source cannot answer at all (nothing to read, no service); false when it
    // answered and found no meeting.
    virtual std::optional<bool> hasMeetingBetween(const QDateTime& from, const QDateTime& to) = 0;

    // Forgets what was connected or read, so the next question starts afresh.
    virtual void reconnect() = 0;
};

} // namespace velmor
