#include "platform/wayland/WaylandSession.h"

#include <QGuiApplication>

namespace velmor {

bool isWaylandSession() {
    return qGuiApp && QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

} // namespace velmor
