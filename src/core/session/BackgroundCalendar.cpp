#include "core/session/BackgroundCalendar.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>

namespace velmor {

namespace {

bool overlaps(const BusySpan& span, std::time_t from, std::time_t to) {
    if (span.end <= span.start)
        return span.start >= from && span.start < to;
    return span.start < to && span.end > from;
}

} // namespace

struct BackgroundCalendar::Shared {
    std::unique_ptr<CalendarSource> source;
    std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable idle;
    bool stopping = false;
    bool busy = false;
    bool reconnect = false;
    // The window the next reading covers, once one is asked for.
    std::optional<std::pair<std::time_t, std::time_t>> asked;
    // Changes the source reported, and how many of them the last reading had seen.
    quint64 changes = 0;
    quint64 changesRead = 0;
    bool readOnce = false;
    int readings = 0;
    std::time_t readFrom = 0;
    std::time_t readTo = -1;
    std::optional<std::vector<BusySpan>> spans; // by start; nullopt: the source cannot answer

    void run() {
        std::unique_lock lock(mutex);
        for (;;) {
            wake.wait(lock,
                      [this] { return stopping || asked || reconnect || changes != changesRead; });
            if (stopping)
                return;
            const bool again = std::exchange(reconnect, false);
            // A change re-reads the window last asked for.
            const auto window = asked.value_or(std::pair(readFrom, readTo));
            asked.reset();
            const quint64 seen = changes;
            busy = true;
            lock.unlock();
            if (again)
                source->reconnect();
            auto read = source->busyBetween(window.first, window.second);
            if (read)
                std::sort(read->begin(), read->end(),
                          [](const BusySpan& a, const BusySpan& b) { return a.start < b.start; });
            lock.lock();
            busy = false;
            spans = std::move(read);
            readFrom = window.first;
            readTo = window.second;
            readOnce = true;
            ++readings;
            changesRead = seen;
            idle.notify_all();
        }
    }

    void sourceChanged() {
        {
            std::lock_guard lock(mutex);
            ++changes;
        }
        wake.notify_all();
    }
};

BackgroundCalendar::BackgroundCalendar(Clock& clock, std::unique_ptr<CalendarSource> source,
                                       std::function<void()> beforeReading)
    : clock_(clock), shared_(std::make_shared<Shared>()), beforeReading_(std::move(beforeReading)),
      refresh_(clock) {
    std::weak_ptr<Shared> weak = shared_;
    source->setOnChanged([weak] {
        if (const auto shared = weak.lock())
            shared->sourceChanged();
    });
    shared_->source = std::move(source);
    std::thread([shared = shared_] { shared->run(); }).detach();
    read(false);
}

BackgroundCalendar::~BackgroundCalendar() {
    std::unique_ptr<CalendarSource> idle;
    {
        std::lock_guard lock(shared_->mutex);
        shared_->stopping = true;
        // An idle source goes here, on the thread that made it (a QObject must).
        if (!shared_->busy)
            idle = std::move(shared_->source);
    }
    shared_->wake.notify_all();
}

void BackgroundCalendar::read(bool reconnect, std::optional<std::time_t> around) {
    if (beforeReading_)
        beforeReading_();
    const std::time_t now = around.value_or(clock_.wallNow().toSecsSinceEpoch());
    {
        std::lock_guard lock(shared_->mutex);
        shared_->asked = std::pair(now - behindSeconds, now + aheadSeconds);
        if (reconnect) {
            shared_->reconnect = true;
            ++shared_->changes;
        }
    }
    shared_->wake.notify_all();
    refresh_.startAfter(refreshSeconds, [this] { read(false); });
}

void BackgroundCalendar::reconnect() {
    read(true);
}

BackgroundCalendar::Answer BackgroundCalendar::meetingAt(const QDateTime& now) {
    using State = Answer::State;
    const std::time_t from = now.toSecsSinceEpoch() - 1;
    const std::time_t to = from + 2;
    bool outside = false;
    {
        std::lock_guard lock(shared_->mutex);
        const Shared& s = *shared_;
        if (s.readOnce && s.changesRead == s.changes) {
            if (!s.spans)
                return {State::free, {}};
            if (from >= s.readFrom && to <= s.readTo) {
                Answer answer{State::free, {}};
                std::time_t until = 0;
                for (const BusySpan& span : *s.spans) {
                    if (span.start >= to && (answer.state == State::free || span.start > until))
                        break;
                    if (overlaps(span, from, to) ||
                        (answer.state == State::busy && span.start <= until)) {
                        answer.state = State::busy;
                        until = std::max({until, span.end, span.start});
                    }
                }
                if (answer.state == State::busy)
                    answer.until = QDateTime::fromSecsSinceEpoch(until, Qt::UTC);
                return answer;
            }
            outside = !s.asked && !s.busy;
        }
    }
    // Past what was read (after a long sleep, say): read around now.
    if (outside)
        read(false, from + 1);
    return {};
}

int BackgroundCalendar::readings() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->readings;
}

void BackgroundCalendar::waitUntilIdle() {
    std::unique_lock lock(shared_->mutex);
    shared_->idle.wait(lock, [this] {
        return !shared_->busy && !shared_->asked && !shared_->reconnect &&
               shared_->changesRead == shared_->changes;
    });
}

} // namespace velmor
