#include "platform/wayland/WaylandActivation.h"

#include "xdg-activation-v1-client-protocol.h"

#include <wayland-client.h>

#include <poll.h>

#include <cstring>

namespace velmor {

namespace {

struct Request {
    xdg_activation_v1* activation = nullptr;
    QString token;
    bool done = false;
};

void onGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
    auto* request = static_cast<Request*>(data);
    if (std::strcmp(interface, xdg_activation_v1_interface.name) == 0)
        request->activation = static_cast<xdg_activation_v1*>(
            wl_registry_bind(registry, name, &xdg_activation_v1_interface, 1));
}

void onGlobalRemove(void*, wl_registry*, uint32_t) {}

const wl_registry_listener registryListener = {onGlobal, onGlobalRemove};

void onDone(void* data, xdg_activation_token_v1*, const char* token) {
    auto* request = static_cast<Request*>(data);
    request->token = QString::fromUtf8(token);
    request->done = true;
}

const xdg_activation_token_v1_listener tokenListener = {onDone};

} // namespace

QString requestWaylandActivationToken() {
    wl_display* display = wl_display_connect(nullptr);
    if (!display)
        return {};
    Request request;
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registryListener, &request);
    if (wl_display_roundtrip(display) >= 0 && request.activation) {
        xdg_activation_token_v1* token = xdg_activation_v1_get_activation_token(request.activation);
        xdg_activation_token_v1_add_listener(token, &tokenListener, &request);
        xdg_activation_token_v1_set_app_id(token, "velmor");
        xdg_activation_token_v1_commit(token);
        // A compositor answers at once or not at all: half a second at most.
        for (int waited = 0; !request.done && waited < 500; waited += 50) {
            if (wl_display_flush(display) < 0)
                break;
            pollfd fd{wl_display_get_fd(display), POLLIN, 0};
            if (::poll(&fd, 1, 50) > 0 && wl_display_dispatch(display) < 0)
                break;
            wl_display_dispatch_pending(display);
        }
        xdg_activation_token_v1_destroy(token);
        xdg_activation_v1_destroy(request.activation);
    }
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    return request.token;
}

} // namespace velmor
