#pragma once

#include "core/session/MainScreen.h"

#include <QObject>

namespace velmor {

// Where the desktop tells no program which window has the focus (Wayland): the screen under
// the pointer once the compositor has shown it to us (it passed over one of our windows), else
// the primary screen.
class PointerMainScreen final : public QObject, public MainScreen {
public:
    PointerMainScreen();
    QScreen* screen() const override;
    bool knowsPointer() const { return pointerSeen_; }

private:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool pointerSeen_ = false;
};

} // namespace velmor
