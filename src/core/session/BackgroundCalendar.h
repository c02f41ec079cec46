#pragma once

#include "core/session/CalendarSource.h"

#include <functional>
#include <memory>

namespace velmor {

// Asks a calendar source on a thread of its own, so a slow or hostile calendar never holds up
// the event loop: a question waits at most `answerWaitMs` (two calendars together less than a
// frame) for the answer
// and otherwise takes the last one the source gave, if it is at most `staleSeconds` older than
// the question; else it cannot answer. The source is only ever used on that thread.
class BackgroundCalendar final : public CalendarSource {
public:
    // `beforeAsking` runs on the asking thread before each question (to hand over what only
    // that thread may read, such as settings).
    explicit BackgroundCalendar(std::unique_ptr<CalendarSource> source, int answerWaitMs = 6,
                                int staleSeconds = 300, std::function<void()> beforeAsking = {});
    // Does not wait for a question under way; the source then goes when it is done, on its
    // thread, and otherwise here.
    ~BackgroundCalendar() override;
    BackgroundCalendar(const BackgroundCalendar&) = delete;
    BackgroundCalendar& operator=(const BackgroundCalendar&) = delete;

    std::optional<bool> hasMeetingBetween(const QDateTime& from, const QDateTime& to) override;
    // Queued: done on the source's thread before its next question.
    void reconnect() override;

    // Blocks until the source has answered every question asked so far (tests, benchmarks).
    void waitUntilIdle();

    struct Shared;

private:
    std::shared_ptr<Shared> shared_;
    int answerWaitMs_;
    int staleSeconds_;
    std::function<void()> beforeAsking_;
};

} // namespace velmor
