#include "platform/clock/BootClock.h"

#include "core/base/Log.h"

#include <QSocketNotifier>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <ctime>
#include <sys/timerfd.h>
#include <unistd.h>

namespace velmor {

struct BootClock::Timer {
    int fd = -1;
    std::unique_ptr<QSocketNotifier> notifier;
    std::function<void()> callback;
    ~Timer() {
        notifier.reset();
        if (fd >= 0)
            ::close(fd);
    }
};

BootClock::BootClock() = default;
BootClock::~BootClock() = default;

double BootClock::now() const {
    timespec ts{};
    clock_gettime(CLOCK_BOOTTIME, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

QDateTime BootClock::wallNow() const {
    return QDateTime::currentDateTimeUtc();
}

Clock::TimerId BootClock::startTimer(double deadline, std::function<void()> callback) {
    const TimerId id = nextId_++;
    auto timer = std::make_unique<Timer>();
    timer->callback = std::move(callback);
    timer->fd = timerfd_create(CLOCK_BOOTTIME, TFD_NONBLOCK | TFD_CLOEXEC);
    if (timer->fd < 0) {
        logLine(QStringLiteral("Clock: timerfd_create failed: ") +
                QString::fromLocal8Bit(std::strerror(errno)));
        return id; // never fires; cancel() still works
    }
    // An absolute deadline at or before now would disarm the timer, so clamp it just ahead.
    double target = deadline;
    const double current = now();
    if (!(target > current))
        target = current + 1e-6;
    itimerspec expiry{};
    expiry.it_value.tv_sec = time_t(std::floor(target));
    expiry.it_value.tv_nsec = long((target - std::floor(target)) * 1e9);
    if (expiry.it_value.tv_sec == 0 && expiry.it_value.tv_nsec == 0)
        expiry.it_value.tv_nsec = 1;
    timerfd_settime(timer->fd, TFD_TIMER_ABSTIME, &expiry, nullptr);
    timer->notifier = std::make_unique<QSocketNotifier>(timer->fd, QSocketNotifier::Read);
    QObject::connect(timer->notifier.get(), &QSocketNotifier::activated, timer->notifier.get(),
                     [this, id] { fire(id); });
    timers_.emplace(id, std::move(timer));
    return id;
}

void BootClock::fire(TimerId id) {
    auto it = timers_.find(id);
    if (it == timers_.end())
        return;
    std::uint64_t expirations = 0;
    if (::read(it->second->fd, &expirations, sizeof expirations) < 0 && errno == EAGAIN)
        return; // spurious wake-up
    auto callback = std::move(it->second->callback);
    // Detach before running: the callback may start or cancel timers. The notifier is deleted
    // later because we are inside its signal.
    it->second->notifier->setEnabled(false);
    it->second->notifier.release()->deleteLater();
    timers_.erase(it);
    if (callback)
        callback();
}

void BootClock::cancel(TimerId id) {
    timers_.erase(id);
}

} // namespace velmor
