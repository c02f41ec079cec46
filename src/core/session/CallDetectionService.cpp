#include "core/session/CallDetectionService.h"

namespace velmor {

CallDetectionService::CallDetectionService(Clock& clock, Sources sources)
    : clock_(clock), sources_(std::move(sources)), poll_(clock) {}

CallDetectionService::~CallDetectionService() = default;

CallDetector::Check CallDetectionService::check(Wanted wanted) {
    using Outcome = Check::Outcome;
    using Kind = WaitReason::Kind;
    bool unknown = false;
    if (wanted.calls) {
        const QDateTime now = clock_.wallNow();
        for (const auto& calendar : sources_.calendars) {
            const auto answer = calendar->meetingAt(now);
            if (answer.state == BackgroundCalendar::Answer::State::busy)
                return {Outcome::busy, {Kind::meeting, answer.until}};
            unknown = unknown || answer.state == BackgroundCalendar::Answer::State::unknown;
        }
    }
    const std::pair<CallSignal*, Kind> sources[] = {
        {wanted.calls ? sources_.microphone.get() : nullptr, Kind::microphone},
        {wanted.calls ? sources_.screenCast.get() : nullptr, Kind::screenShared},
        {wanted.fullScreen ? sources_.fullScreen.get() : nullptr, Kind::fullScreen}};
    for (const auto& [signal, kind] : sources) {
        if (!signal)
            continue;
        const std::optional<bool> active = signal->isActive();
        if (active.value_or(false))
            return {Outcome::busy, {kind, {}}};
        unknown = unknown || !active;
    }
    return {unknown ? Outcome::unknown : Outcome::free, {}};
}

void CallDetectionService::startMonitoring(Wanted wanted, std::function<void()> onCallEnded,
                                           std::function<void(const WaitReason&)> onStillBusy) {
    monitored_ = wanted;
    onCallEnded_ = std::move(onCallEnded);
    onStillBusy_ = std::move(onStillBusy);
    poll_.startAfter(pollSeconds, [this] { lookForCallEnd(); });
}

void CallDetectionService::cancelMonitoring() {
    poll_.cancel();
    onCallEnded_ = nullptr;
    onStillBusy_ = nullptr;
}

void CallDetectionService::lookForCallEnd() {
    const Check now = check(monitored_);
    if (now.outcome != Check::Outcome::free) {
        poll_.startAfter(pollSeconds, [this] { lookForCallEnd(); });
        if (now.outcome == Check::Outcome::busy && onStillBusy_)
            onStillBusy_(now.reason);
        return;
    }
    // Taken out first: the callback may start a new monitor.
    auto callback = std::move(onCallEnded_);
    onCallEnded_ = nullptr;
    onStillBusy_ = nullptr;
    if (callback)
        callback();
}

void CallDetectionService::requestCalendarAccess() {
    for (const auto& calendar : sources_.calendars)
        calendar->reconnect();
}

} // namespace velmor
