#pragma once

#include <functional>
#include <utility>

namespace velmor {

// Whether the session is locked or the screen saver shows: no overlay may appear then.
class ScreenLock {
public:
    using Listener = std::function<void(bool locked)>;

    virtual ~ScreenLock() = default;
    virtual bool isLocked() const = 0;
    // Told on the event loop each time isLocked() changes.
    void setListener(Listener listener) { listener_ = std::move(listener); }

protected:
    void notify(bool locked) {
        if (listener_)
            listener_(locked);
    }

private:
    Listener listener_;
};

} // namespace velmor
