#pragma once

// The X server as another client sees it: atoms and window properties read on a connection of
// the caller's own, never through Qt.

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace velmor::test {

inline xcb_atom_t internAtom(xcb_connection_t* c, const char* name) {
    auto* reply = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, std::uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

// The window's opacity as the X server holds it for the compositor, read on the caller's own
// connection (1 when the property is absent, as compositors take it).
inline double serverOpacity(xcb_connection_t* c, xcb_window_t window) {
    static const xcb_atom_t property = internAtom(c, "_NET_WM_WINDOW_OPACITY");
    auto* reply = xcb_get_property_reply(
        c, xcb_get_property(c, 0, window, property, XCB_ATOM_CARDINAL, 0, 1), nullptr);
    double opacity = 1.0;
    if (reply && xcb_get_property_value_length(reply) == 4)
        opacity =
            *static_cast<const std::uint32_t*>(xcb_get_property_value(reply)) / double(0xffffffffu);
    std::free(reply);
    return opacity;
}

} // namespace velmor::test
