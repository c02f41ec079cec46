#pragma once

#include <optional>

namespace velmor {

// Something that holds overlays back while it lasts, like a call: the microphone in use, the
// screen being captured, another program keeping the screen saver off.
class CallSignal {
public:
    virtual ~CallSignal() = default;
    // nullopt while the first answer has not come (just started); afterwards whether it lasts
    // now. A signal that can never tell answers false: it must not hold overlays back for ever.
    // A lookup: never waits.
    virtual std::optional<bool> isActive() = 0;
};

} // namespace velmor
