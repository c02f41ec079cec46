#pragma once

#include "core/base/Clock.h"
#include "core/session/CalendarSource.h"

#include <QDateTime>

#include <functional>
#include <memory>

namespace velmor {

// Keeps one calendar's busy times of the next 36 hours in memory, read on a thread of its own
// so a slow or hostile calendar never holds up the event loop: at start, whenever the source
// says it changed, and every 15 minutes. The check when an overlay is due is then a lookup.
class BackgroundCalendar final {
public:
    static constexpr double refreshSeconds = 15 * 60;
    static constexpr std::time_t aheadSeconds = 36 * 3600;
    // Read from a little before now, so a meeting under way is seen with its start.
    static constexpr std::time_t behindSeconds = 3600;

    struct Answer {
        enum class State { unknown, free, busy };
        State state = State::unknown;
        QDateTime until; // busy: when the meeting ends (with those it runs straight into)
    };

    // `beforeReading` runs on the event loop before each reading is handed to the thread (to
    // hand over what only that thread may read, such as settings).
    BackgroundCalendar(Clock& clock, std::unique_ptr<CalendarSource> source,
                       std::function<void()> beforeReading = {});
    // Does not wait for a reading under way; the source then goes when it is done, on its
    // thread, and otherwise here.
    ~BackgroundCalendar();
    BackgroundCalendar(const BackgroundCalendar&) = delete;
    BackgroundCalendar& operator=(const BackgroundCalendar&) = delete;

    // Whether a meeting covers `now` (± 1 s). Unknown until the first reading is done, while
    // one after a change is under way, and when `now` lies past what was read (a new reading
    // is then asked for). A source that cannot answer is free.
    Answer meetingAt(const QDateTime& now);

    // Connects to the source again and reads afresh; unknown until done.
    void reconnect();

    // Blocks until no reading is under way or asked for (tests, benchmarks).
    void waitUntilIdle();
    // Readings done since construction.
    int readings() const;

    struct Shared;

private:
    // Asks for a reading of the window around `around` (default: now).
    void read(bool reconnect, std::optional<std::time_t> around = std::nullopt);

    Clock& clock_;
    std::shared_ptr<Shared> shared_;
    std::function<void()> beforeReading_;
    OneShot refresh_;
};

} // namespace velmor
