#pragma once

#include "core/model/PromptItem.h"

#include <functional>

namespace velmor {

// What session control needs of the overlay: put one on screen, and take it away at once.
class OverlayPresenter {
public:
    virtual ~OverlayPresenter() = default;
    // onDismiss is called at most once, when the overlay begins to leave because of the user or
    // the safety time-out; never by dismissImmediately.
    virtual void present(const PromptItem& prompt, std::function<void()> onDismiss) = 0;
    virtual void dismissImmediately() = 0;
};

} // namespace velmor
