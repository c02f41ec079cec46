#include "platform/x11/Flush.h"

#include <QGuiApplication>

#include <xcb/xcb.h>

namespace velmor {

void flushWindowSystem() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (xcb_connection_t* connection = x11 ? x11->connection() : nullptr)
        xcb_flush(connection);
}

} // namespace velmor
