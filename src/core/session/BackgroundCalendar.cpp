#include "core/session/BackgroundCalendar.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>

namespace velmor {

struct BackgroundCalendar::Shared {
    std::unique_ptr<CalendarSource> source;
    std::mutex mutex;
    std::condition_variable changed;
    bool stopping = false;
    bool reconnect = false;
    // The newest question not yet taken up; a newer one replaces it.
    std::optional<std::pair<QDateTime, QDateTime>> question;
    quint64 asked = 0;
    quint64 answered = 0;
    bool busy = false;
    std::optional<bool> lastAnswer;
    QDateTime lastAnswerFor;

    void run() {
        std::unique_lock lock(mutex);
        for (;;) {
            changed.wait(lock, [this] { return stopping || reconnect || question; });
            if (stopping)
                return;
            const bool again = std::exchange(reconnect, false);
            const auto asking = std::exchange(question, std::nullopt);
            const quint64 number = asked;
            busy = true;
            lock.unlock();
            if (again)
                source->reconnect();
            std::optional<bool> answer;
            if (asking)
                answer = source->hasMeetingBetween(asking->first, asking->second);
            lock.lock();
            busy = false;
            if (asking) {
                lastAnswer = answer;
                lastAnswerFor = asking->second;
                answered = number;
            }
            changed.notify_all();
        }
    }
};

BackgroundCalendar::BackgroundCalendar(std::unique_ptr<CalendarSource> source, int answerWaitMs,
                                       int staleSeconds, std::function<void()> beforeAsking)
    : shared_(std::make_shared<Shared>()), answerWaitMs_(answerWaitMs), staleSeconds_(staleSeconds),
      beforeAsking_(std::move(beforeAsking)) {
    shared_->source = std::move(source);
    std::thread([shared = shared_] { shared->run(); }).detach();
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
    shared_->changed.notify_all();
}

std::optional<bool> BackgroundCalendar::hasMeetingBetween(const QDateTime& from,
                                                          const QDateTime& to) {
    if (beforeAsking_)
        beforeAsking_();
    std::unique_lock lock(shared_->mutex);
    shared_->question = std::pair(from, to);
    const quint64 number = ++shared_->asked;
    shared_->changed.notify_all();
    if (answerWaitMs_ > 0) // a wait of 0 would still let the answer in while it unlocks
        shared_->changed.wait_for(lock, std::chrono::milliseconds(answerWaitMs_),
                                  [&] { return shared_->answered >= number; });
    if (shared_->answered >= number)
        return shared_->lastAnswer;
    const QDateTime& answeredFor = shared_->lastAnswerFor;
    if (answeredFor.isValid() && qAbs(answeredFor.secsTo(to)) <= staleSeconds_)
        return shared_->lastAnswer;
    return std::nullopt;
}

void BackgroundCalendar::reconnect() {
    {
        std::lock_guard lock(shared_->mutex);
        shared_->reconnect = true;
    }
    shared_->changed.notify_all();
}

void BackgroundCalendar::waitUntilIdle() {
    std::unique_lock lock(shared_->mutex);
    shared_->changed.wait(
        lock, [this] { return !shared_->busy && !shared_->reconnect && !shared_->question; });
}

} // namespace velmor
