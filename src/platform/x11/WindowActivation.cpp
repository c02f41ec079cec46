#include "platform/x11/WindowActivation.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QWindow>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace velmor {

namespace {

xcb_connection_t* qtConnection() {
    if (!qGuiApp || QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

xcb_window_t rootOf(xcb_connection_t* c) {
    const xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(c));
    return screens.rem > 0 ? screens.data->root : xcb_window_t(XCB_WINDOW_NONE);
}

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
    auto* reply = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, std::uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t found = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return found;
}

// Whether a window manager runs that takes activation requests; without one the focus is
// simply set.
bool managerActivates(xcb_connection_t* c, xcb_window_t root) {
    const xcb_atom_t supported = atom(c, "_NET_SUPPORTED");
    const xcb_atom_t activeWindow = atom(c, "_NET_ACTIVE_WINDOW");
    auto* reply = xcb_get_property_reply(
        c, xcb_get_property(c, 0, root, supported, XCB_ATOM_ATOM, 0, 4096), nullptr);
    bool found = false;
    if (reply && reply->format == 32) {
        const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
        const int count = xcb_get_property_value_length(reply) / 4;
        found = std::find(atoms, atoms + count, activeWindow) != atoms + count;
    }
    std::free(reply);
    return found;
}

// The X server's time now: the time stamp of a property change on a window of a connection
// of our own, so that Qt's event queue does not take the event first.
xcb_timestamp_t serverTime() {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    xcb_timestamp_t time = XCB_CURRENT_TIME;
    if (!xcb_connection_has_error(c)) {
        const xcb_window_t window = xcb_generate_id(c);
        const std::uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_create_window(c, XCB_COPY_FROM_PARENT, window, rootOf(c), -1, -1, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK,
                          &events);
        xcb_change_property(c, XCB_PROP_MODE_APPEND, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                            0, nullptr);
        xcb_flush(c);
        while (xcb_generic_event_t* event = xcb_wait_for_event(c)) {
            const bool found = (event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY;
            if (found)
                time = reinterpret_cast<xcb_property_notify_event_t*>(event)->time;
            std::free(event);
            if (found)
                break;
        }
    }
    xcb_disconnect(c);
    return time;
}

// The "_TIME<n>" part of a startup id, as launchers write it; 0 without one.
xcb_timestamp_t timeOf(const QString& startupId) {
    static const QRegularExpression pattern(QStringLiteral("_TIME(\\d+)$"));
    const QRegularExpressionMatch match = pattern.match(startupId);
    return match.hasMatch() ? xcb_timestamp_t(match.captured(1).toULong()) : 0;
}

void setCardinal(xcb_connection_t* c, xcb_window_t window, const char* name, std::uint32_t value) {
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, atom(c, name), XCB_ATOM_CARDINAL, 32, 1,
                        &value);
}

// "remove: ID=..." in 20-byte pieces to the root window: the launcher stops its busy cursor.
void endStartupNotification(xcb_connection_t* c, xcb_window_t root, xcb_window_t window,
                            const QString& startupId) {
    const QByteArray message = "remove: ID=" + startupId.toUtf8() + '\0';
    const xcb_atom_t begin = atom(c, "_NET_STARTUP_INFO_BEGIN");
    const xcb_atom_t more = atom(c, "_NET_STARTUP_INFO");
    for (qsizetype at = 0; at < message.size(); at += 20) {
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 8;
        event.window = window;
        event.type = at == 0 ? begin : more;
        std::memcpy(event.data.data8, message.constData() + at,
                    size_t(std::min<qsizetype>(20, message.size() - at)));
        xcb_send_event(c, 0, root, XCB_EVENT_MASK_PROPERTY_CHANGE,
                       reinterpret_cast<const char*>(&event));
    }
}

} // namespace

QString x11LaunchStartupId() {
    if (!qtConnection())
        return {};
    const QString given = qEnvironmentVariable("DESKTOP_STARTUP_ID");
    if (!given.isEmpty() && !given.contains(u' '))
        return given;
    // Launched from a terminal or a key binding: the launch happened now.
    const xcb_timestamp_t now = serverTime();
    if (now == XCB_CURRENT_TIME)
        return {};
    return QStringLiteral("velmor-%1_TIME%2").arg(::getpid()).arg(now);
}

void activateX11Window(QWindow* window, const QString& startupId) {
    xcb_connection_t* c = qtConnection();
    if (!c || !window) {
        if (window)
            window->requestActivate();
        return;
    }
    const xcb_window_t id = xcb_window_t(window->winId());
    const xcb_window_t root = rootOf(c);
    if (!managerActivates(c, root)) {
        window->requestActivate();
        return;
    }
    xcb_timestamp_t time = timeOf(startupId);
    if (time == 0)
        time = serverTime();
    if (!startupId.isEmpty() && !startupId.contains(u'"') && !startupId.contains(u'\\'))
        endStartupNotification(c, root, id, startupId);
    // Window managers weigh a window's own user time when they decide whether it may take the
    // focus from the window that has it.
    setCardinal(c, id, "_NET_WM_USER_TIME", time);
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = id;
    event.type = atom(c, "_NET_ACTIVE_WINDOW");
    event.data.data32[0] = 1; // a request from an application, not from a pager
    event.data.data32[1] = time;
    event.data.data32[2] = XCB_WINDOW_NONE;
    xcb_send_event(c, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
    xcb_flush(c);
}

} // namespace velmor
