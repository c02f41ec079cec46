#include "platform/wayland/PointerMainScreen.h"

#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>

namespace velmor {

PointerMainScreen::PointerMainScreen() {
    if (qGuiApp)
        qGuiApp->installEventFilter(this);
}

bool PointerMainScreen::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::Enter:
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::HoverMove:
        pointerSeen_ = true;
        // One sighting is enough; Qt follows the pointer from here on.
        if (qGuiApp)
            qGuiApp->removeEventFilter(this);
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

QScreen* PointerMainScreen::screen() const {
    if (pointerSeen_)
        if (QScreen* underPointer = QGuiApplication::screenAt(QCursor::pos()))
            return underPointer;
    return QGuiApplication::primaryScreen();
}

} // namespace velmor
