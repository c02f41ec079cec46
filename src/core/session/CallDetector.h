#pragma once

#include "core/model/WaitReason.h"

#include <functional>

namespace velmor {

// What session control asks of call detection: is the user in a call (a meeting now, the
// microphone in use, the screen shared) or watching something full screen, and tell me once
// when it has ended.
class CallDetector {
public:
    // Which of the two settings' reasons count.
    struct Wanted {
        bool calls = true;      // meetings, microphone, screen sharing
        bool fullScreen = true; // another program keeps the screen saver off
        bool any() const { return calls || fullScreen; }
    };
    struct Check {
        enum class Outcome { free, busy, unknown };
        Outcome outcome = Outcome::free;
        WaitReason reason; // busy
    };

    virtual ~CallDetector() = default;
    // A lookup in what is kept current: never waits. Busy when any wanted reason is known to
    // hold; else unknown while a wanted source has not answered yet; else free.
    virtual Check check(Wanted wanted) = 0;
    // Polls every 30 s; tells `onStillBusy` at each poll that finds the call going on, and calls
    // `onCallEnded` once, on the event loop, when it is over. A second start replaces the first
    // monitor.
    virtual void startMonitoring(Wanted wanted, std::function<void()> onCallEnded,
                                 std::function<void(const WaitReason&)> onStillBusy = {}) = 0;
    virtual void cancelMonitoring() = 0;
};

} // namespace velmor
