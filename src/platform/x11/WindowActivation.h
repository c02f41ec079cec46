#pragma once

#include <QString>

class QWindow;

namespace velmor {

// A window manager brings a window forward only for the user: it compares the time of the
// request with the user's last input and ignores requests older than that. A later launch of
// Velmor hands the running one its own launch's startup id (the launcher's DESKTOP_STARTUP_ID,
// or one made here with the X server's time of the launch), whose time then vouches for it.

// The startup id a later launch passes on; empty where Qt does not run on X11.
QString x11LaunchStartupId();

// Asks the window manager to show, raise and focus `window` as the launch with `startupId`
// asked (its "_TIME" part is the time of the request), and ends that launch's startup
// notification. Without a usable time, the X server's current time stands in.
void activateX11Window(QWindow* window, const QString& startupId);

} // namespace velmor
