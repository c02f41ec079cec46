#pragma once

namespace velmor {

// The two sounds of an overlay's life, as the overlay manager needs them.
class OverlaySounds {
public:
    virtual ~OverlaySounds() = default;
    virtual void playArrival() = 0;
    virtual void playDeparture() = 0;
};

} // namespace velmor
