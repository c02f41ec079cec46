// Asks a window to close as a window manager does (the close button, Alt+F4): a
// WM_DELETE_WINDOW message, for displays that run no window manager.
//   close-window WINDOW_ID
#include "XServer.h"

#include <cstdio>
#include <cstdlib>

using velmor::test::internAtom;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: close-window WINDOW_ID\n", stderr);
        return 2;
    }
    const auto window = xcb_window_t(std::strtoul(argv[1], nullptr, 0));
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fputs("close-window: no X display\n", stderr);
        return 1;
    }
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = internAtom(connection, "WM_PROTOCOLS");
    message.data.data32[0] = internAtom(connection, "WM_DELETE_WINDOW");
    message.data.data32[1] = XCB_CURRENT_TIME;
    const auto sent = xcb_send_event_checked(connection, 0, window, XCB_EVENT_MASK_NO_EVENT,
                                             reinterpret_cast<const char*>(&message));
    xcb_generic_error_t* error = xcb_request_check(connection, sent);
    const int status = error ? 1 : 0;
    if (error)
        std::fprintf(stderr, "close-window: no window %s\n", argv[1]);
    std::free(error);
    xcb_disconnect(connection);
    return status;
}
