#include "platform/wayland/WaylandSession.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

namespace velmor {

bool isWaylandSession() {
    return qGuiApp && QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

void prepareFullScreenOn(QWindow* window, QScreen* screen) {
    if (!window || !screen || !isWaylandSession())
        return;
    // The output of the full-screen request is the window's screen when its surface is made:
    // set it first, then the state, so the first configure already carries both.
    window->setScreen(screen);
    window->setGeometry(screen->geometry());
    window->setWindowStates(Qt::WindowFullScreen);
}

} // namespace velmor
