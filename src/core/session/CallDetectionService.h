#pragma once

#include "core/base/Clock.h"
#include "core/session/BackgroundCalendar.h"
#include "core/session/CallDetector.h"
#include "core/session/CallSignal.h"

#include <memory>
#include <vector>

namespace velmor {

// Tells whether the user is in a call (a calendar meeting now, the microphone in use, the
// screen shared) or another program is full screen, from what each source keeps current, and,
// once an overlay has been held back, polls every 30 s for the end of it.
class CallDetectionService final : public CallDetector {
public:
    static constexpr double pollSeconds = 30.0;

    struct Sources {
        std::vector<std::unique_ptr<BackgroundCalendar>> calendars;
        std::unique_ptr<CallSignal> microphone;
        std::unique_ptr<CallSignal> screenCast;
        std::unique_ptr<CallSignal> fullScreen;
    };

    CallDetectionService(Clock& clock, Sources sources);
    ~CallDetectionService() override;

    // Meetings first, then the microphone, the screen cast and full screen: a later source is
    // not asked once an earlier one is known to hold.
    Check check(Wanted wanted) override;

    // The first look is 30 s after the start; calls back at most once. Replaces a running
    // monitor. A poll that cannot tell yet counts as still in the call.
    void startMonitoring(Wanted wanted, std::function<void()> onCallEnded,
                         std::function<void(const WaitReason&)> onStillBusy = {}) override;
    void cancelMonitoring() override;
    bool isMonitoring() const { return poll_.isPending(); }

    // Connects to the calendars again (they read afresh, off the event loop).
    void requestCalendarAccess();

private:
    void lookForCallEnd();

    Clock& clock_;
    Sources sources_;
    OneShot poll_;
    Wanted monitored_;
    std::function<void()> onCallEnded_;
    std::function<void(const WaitReason&)> onStillBusy_;
};

} // namespace velmor
