#pragma once

#include <functional>

namespace velmor {

// What session control asks of call detection: is the user in a call (a meeting now, or the
// microphone in use), and tell me once when it has ended.
class CallDetector {
public:
    virtual ~CallDetector() = default;
    virtual bool isInCall() = 0;
    // Polls every 30 s; calls back once, on the event loop, when the in-call test turns
    // negative. A second start replaces the first monitor.
    virtual void startMonitoring(std::function<void()> onCallEnded) = 0;
    virtual void cancelMonitoring() = 0;
};

} // namespace velmor
