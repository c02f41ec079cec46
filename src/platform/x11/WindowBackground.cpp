#include "platform/x11/WindowBackground.h"

#include <QColor>
#include <QGuiApplication>
#include <QWindow>

#include <xcb/xcb.h>

#include <bit>

namespace velmor {

namespace {

// The 8-bit channel `value` placed into the bits of `mask`.
std::uint32_t channel(int value, std::uint32_t mask) {
    if (mask == 0)
        return 0;
    const int shift = std::countr_zero(mask);
    const int bits = std::popcount(mask);
    const std::uint32_t scaled =
        bits >= 8 ? std::uint32_t(value) << (bits - 8) : std::uint32_t(value) >> (8 - bits);
    return (scaled << shift) & mask;
}

// The root visual of the first screen: Qt makes its opaque windows with it.
const xcb_visualtype_t* rootVisual(xcb_connection_t* connection) {
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    if (!screen)
        return nullptr;
    for (auto depths = xcb_screen_allowed_depths_iterator(screen); depths.rem;
         xcb_depth_next(&depths))
        for (auto visuals = xcb_depth_visuals_iterator(depths.data); visuals.rem;
             xcb_visualtype_next(&visuals))
            if (visuals.data->visual_id == screen->root_visual)
                return visuals.data;
    return nullptr;
}

} // namespace

bool setWindowBackground(QWindow* window, const QColor& colour) {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection || !window || !window->handle())
        return false;
    const xcb_visualtype_t* visual = rootVisual(connection);
    if (!visual || visual->_class != XCB_VISUAL_CLASS_TRUE_COLOR)
        return false;
    const QColor rgb = colour.toRgb();
    const std::uint32_t pixel = channel(rgb.red(), visual->red_mask) |
                                channel(rgb.green(), visual->green_mask) |
                                channel(rgb.blue(), visual->blue_mask);
    const auto id = xcb_window_t(window->winId());
    xcb_change_window_attributes(connection, id, XCB_CW_BACK_PIXEL, &pixel);
    if (window->isVisible())
        xcb_clear_area(connection, 0, id, 0, 0, 0, 0);
    xcb_flush(connection);
    return true;
}

} // namespace velmor
