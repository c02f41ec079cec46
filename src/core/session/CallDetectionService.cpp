#include "core/session/CallDetectionService.h"

namespace velmor {

CallDetectionService::CallDetectionService(Clock& clock, std::unique_ptr<Microphone> microphone,
                                           std::vector<std::unique_ptr<CalendarSource>> calendars)
    : clock_(clock), microphone_(std::move(microphone)), calendars_(std::move(calendars)),
      poll_(clock) {}

CallDetectionService::~CallDetectionService() = default;

bool CallDetectionService::hasMeetingNow() {
    const QDateTime now = clock_.wallNow();
    const QDateTime from = now.addSecs(-1);
    const QDateTime to = now.addSecs(1);
    for (const auto& calendar : calendars_)
        if (calendar->hasMeetingBetween(from, to).value_or(false))
            return true;
    return false;
}

bool CallDetectionService::isMicrophoneInUse() {
    return microphone_ && microphone_->isInUse();
}

bool CallDetectionService::isInCall() {
    return hasMeetingNow() || isMicrophoneInUse();
}

void CallDetectionService::startMonitoring(std::function<void()> onCallEnded) {
    onCallEnded_ = std::move(onCallEnded);
    poll_.startAfter(pollSeconds, [this] { lookForCallEnd(); });
}

void CallDetectionService::cancelMonitoring() {
    poll_.cancel();
    onCallEnded_ = nullptr;
}

void CallDetectionService::lookForCallEnd() {
    if (isInCall()) {
        poll_.startAfter(pollSeconds, [this] { lookForCallEnd(); });
        return;
    }
    // Taken out first: the callback may start a new monitor.
    auto callback = std::move(onCallEnded_);
    onCallEnded_ = nullptr;
    if (callback)
        callback();
}

bool CallDetectionService::requestCalendarAccess() {
    const QDateTime now = clock_.wallNow();
    bool answered = false;
    for (const auto& calendar : calendars_) {
        calendar->reconnect();
        answered =
            calendar->hasMeetingBetween(now.addSecs(-1), now.addSecs(1)).has_value() || answered;
    }
    return answered;
}

} // namespace velmor
