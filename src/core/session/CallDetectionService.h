#pragma once

#include "core/base/Clock.h"
#include "core/session/CalendarSource.h"
#include "core/session/CallDetector.h"
#include "core/session/Microphone.h"

#include <functional>
#include <memory>
#include <vector>

namespace velmor {

// Tells whether the user is in a call (a calendar meeting now, or the microphone in use) and,
// once an overlay has been held back, polls every 30 s for the end of it.
class CallDetectionService final : public CallDetector {
public:
    static constexpr double pollSeconds = 30.0;

    CallDetectionService(Clock& clock, std::unique_ptr<Microphone> microphone,
                         std::vector<std::unique_ptr<CalendarSource>> calendars);
    ~CallDetectionService() override;

    // A timed, busy event covers now (± 1 s) in any calendar that answers.
    bool hasMeetingNow();
    bool isMicrophoneInUse();
    // Meeting first: the microphone is not asked when a meeting is found.
    bool isInCall() override;

    // The first look is 30 s after the start; calls back at most once. Replaces a running
    // monitor.
    void startMonitoring(std::function<void()> onCallEnded) override;
    void cancelMonitoring() override;
    bool isMonitoring() const { return poll_.isPending(); }

    // Connects to the calendars again; true when at least one of them answers.
    bool requestCalendarAccess();

private:
    void lookForCallEnd();

    Clock& clock_;
    std::unique_ptr<Microphone> microphone_;
    std::vector<std::unique_ptr<CalendarSource>> calendars_;
    OneShot poll_;
    std::function<void()> onCallEnded_;
};

} // namespace velmor
