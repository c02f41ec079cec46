#pragma once

namespace velmor {

// Whether someone is recording from the user's microphone right now. Every failure reads as
// "not in use": a call detector that cannot tell must not hold overlays back for ever.
class Microphone {
public:
    virtual ~Microphone() = default;
    virtual bool isInUse() = 0;
};

} // namespace velmor
