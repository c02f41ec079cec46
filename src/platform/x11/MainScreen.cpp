#include "platform/x11/MainScreen.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace velmor {

namespace {

template <typename T> using XcbReply = std::unique_ptr<T, decltype(&std::free)>;

template <typename T> XcbReply<T> reply(T* raw) {
    return XcbReply<T>(raw, &std::free);
}

// The screen whose area (in device pixels, as X11 reports) contains `point`.
QScreen* screenAtNativePoint(const QPoint& point) {
    for (QScreen* screen : QGuiApplication::screens()) {
        const QRect logical = screen->geometry();
        const QRect native(logical.topLeft(), logical.size() * screen->devicePixelRatio());
        if (native.contains(point))
            return screen;
    }
    return nullptr;
}

} // namespace

QScreen* activeWindowScreen() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* c = x11 ? x11->connection() : nullptr;
    if (!c)
        return nullptr;
    const xcb_setup_t* setup = xcb_get_setup(c);
    const xcb_screen_iterator_t roots = xcb_setup_roots_iterator(setup);
    if (!roots.rem)
        return nullptr;
    const xcb_window_t root = roots.data->root;

    static const char name[] = "_NET_ACTIVE_WINDOW";
    auto atom =
        reply(xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, sizeof name - 1, name), nullptr));
    if (!atom || atom->atom == XCB_ATOM_NONE)
        return nullptr;
    auto property = reply(xcb_get_property_reply(
        c, xcb_get_property(c, 0, root, atom->atom, XCB_ATOM_WINDOW, 0, 1), nullptr));
    if (!property || xcb_get_property_value_length(property.get()) < int(sizeof(xcb_window_t)))
        return nullptr;
    const xcb_window_t active = *static_cast<xcb_window_t*>(xcb_get_property_value(property.get()));
    if (active == XCB_WINDOW_NONE)
        return nullptr;

    auto geometry = reply(xcb_get_geometry_reply(c, xcb_get_geometry(c, active), nullptr));
    auto origin = reply(xcb_translate_coordinates_reply(
        c, xcb_translate_coordinates(c, active, root, 0, 0), nullptr));
    if (!geometry || !origin) // the window went away in between
        return nullptr;
    return screenAtNativePoint(
        QPoint(origin->dst_x + geometry->width / 2, origin->dst_y + geometry->height / 2));
}

QScreen* DesktopMainScreen::screen() const {
    if (QScreen* focused = activeWindowScreen())
        return focused;
    if (QScreen* underPointer = QGuiApplication::screenAt(QCursor::pos()))
        return underPointer;
    return QGuiApplication::primaryScreen();
}

} // namespace velmor
