#include "platform/wayland/LayerShell.h"

#include "core/base/Log.h"

#include <QSocketNotifier>
#include <QStringList>

#include "viewporter-client-protocol.h"
// The protocol names an argument "namespace", which C++ reserves.
#define namespace layerNamespace
#include "wlr-layer-shell-unstable-v1-client-protocol.h"
#undef namespace
#include "xdg-output-unstable-v1-client-protocol.h"
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

namespace velmor {

namespace {

struct Output {
    uint32_t global = 0;
    wl_output* output = nullptr;
    zxdg_output_v1* xdgOutput = nullptr;
    QString name;
    int scale = 1;
};

constexpr QSize backgroundPixels(3, 3);

template <typename T>
T* bind(wl_registry* registry, uint32_t name, const wl_interface* interface, uint32_t offered,
        uint32_t wanted) {
    return static_cast<T*>(wl_registry_bind(registry, name, interface, std::min(offered, wanted)));
}

} // namespace

struct LayerShell::State {
    LayerShell* self = nullptr;
    wl_display* display = nullptr;
    wl_registry* registry = nullptr;
    wl_compositor* compositor = nullptr;
    wl_subcompositor* subcompositor = nullptr;
    wl_shm* shm = nullptr;
    zwlr_layer_shell_v1* layerShell = nullptr;
    wp_viewporter* viewporter = nullptr;
    zxdg_output_manager_v1* xdgOutputs = nullptr;
    wl_seat* seat = nullptr;
    wl_keyboard* keyboard = nullptr;
    wl_pointer* pointer = nullptr;
    xkb_context* xkb = nullptr;
    xkb_keymap* keymap = nullptr;
    xkb_state* keyState = nullptr;
    std::vector<std::unique_ptr<Output>> outputs;
    std::vector<LayerSurface*> surfaces;
    wl_surface* keyboardFocus = nullptr;
    wl_surface* pointerFocus = nullptr;
    QSocketNotifier* notifier = nullptr;
    bool dead = false;

    ~State();
    void addOutput(uint32_t global, uint32_t version);
    void askOutputName(Output& output);
    Output* output(const QString& name) const;
    LayerSurface* surface(wl_surface* s) const;
    void seatCapabilities(uint32_t capabilities);
    void readEvents();
    void flush();
    void fail();
};

// --- outputs and globals ---

static const wl_output_listener outputListener = {
    .geometry = [](void*, wl_output*, int32_t, int32_t, int32_t, int32_t, int32_t, const char*,
                   const char*, int32_t) {},
    .mode = [](void*, wl_output*, uint32_t, int32_t, int32_t, int32_t) {},
    .done = [](void*, wl_output*) {},
    .scale = [](void* data, wl_output*,
                int32_t factor) { static_cast<Output*>(data)->scale = std::max(1, factor); },
    .name = [](void* data, wl_output*,
               const char* name) { static_cast<Output*>(data)->name = QString::fromUtf8(name); },
    .description = [](void*, wl_output*, const char*) {},
};

static const zxdg_output_v1_listener xdgOutputListener = {
    .logical_position = [](void*, zxdg_output_v1*, int32_t, int32_t) {},
    .logical_size = [](void*, zxdg_output_v1*, int32_t, int32_t) {},
    .done = [](void*, zxdg_output_v1*) {},
    .name =
        [](void* data, zxdg_output_v1*, const char* name) {
            auto* output = static_cast<Output*>(data);
            if (output->name.isEmpty())
                output->name = QString::fromUtf8(name);
        },
    .description = [](void*, zxdg_output_v1*, const char*) {},
};

void LayerShell::State::addOutput(uint32_t global, uint32_t version) {
    auto output = std::make_unique<Output>();
    output->global = global;
    output->output = bind<wl_output>(registry, global, &wl_output_interface, version, 4);
    wl_output_add_listener(output->output, &outputListener, output.get());
    askOutputName(*output);
    outputs.push_back(std::move(output));
}

void LayerShell::State::askOutputName(Output& output) {
    // Older compositors name their outputs through xdg-output only.
    if (xdgOutputs && !output.xdgOutput &&
        wl_proxy_get_version(reinterpret_cast<wl_proxy*>(output.output)) <
            WL_OUTPUT_NAME_SINCE_VERSION) {
        output.xdgOutput = zxdg_output_manager_v1_get_xdg_output(xdgOutputs, output.output);
        zxdg_output_v1_add_listener(output.xdgOutput, &xdgOutputListener, &output);
    }
}

Output* LayerShell::State::output(const QString& name) const {
    for (const auto& output : outputs)
        if (output->name == name)
            return output.get();
    return nullptr;
}

LayerSurface* LayerShell::State::surface(wl_surface* s) const {
    for (LayerSurface* surface : surfaces)
        if (surface->h && s && wl_surface_get_user_data(s) == surface)
            return surface;
    return nullptr;
}

static const wl_registry_listener registryListener = {
    .global =
        [](void* data, wl_registry* registry, uint32_t name, const char* interface,
           uint32_t version) {
            auto* d = static_cast<LayerShell::State*>(data);
            const auto is = [interface](const wl_interface& i) {
                return std::strcmp(interface, i.name) == 0;
            };
            if (is(wl_compositor_interface) && version >= 4)
                d->compositor =
                    bind<wl_compositor>(registry, name, &wl_compositor_interface, version, 4);
            else if (is(wl_subcompositor_interface))
                d->subcompositor =
                    bind<wl_subcompositor>(registry, name, &wl_subcompositor_interface, version, 1);
            else if (is(wl_shm_interface))
                d->shm = bind<wl_shm>(registry, name, &wl_shm_interface, version, 1);
            else if (is(zwlr_layer_shell_v1_interface))
                d->layerShell = bind<zwlr_layer_shell_v1>(
                    registry, name, &zwlr_layer_shell_v1_interface, version, 1);
            else if (is(wp_viewporter_interface))
                d->viewporter =
                    bind<wp_viewporter>(registry, name, &wp_viewporter_interface, version, 1);
            else if (is(zxdg_output_manager_v1_interface) && version >= 2) {
                d->xdgOutputs = bind<zxdg_output_manager_v1>(
                    registry, name, &zxdg_output_manager_v1_interface, version, 3);
                for (auto& output : d->outputs)
                    d->askOutputName(*output);
            } else if (is(wl_output_interface))
                d->addOutput(name, version);
            else if (is(wl_seat_interface) && !d->seat) {
                d->seat = bind<wl_seat>(registry, name, &wl_seat_interface, version, 5);
                static const wl_seat_listener seatListener = {
                    .capabilities =
                        [](void* state, wl_seat*, uint32_t capabilities) {
                            static_cast<LayerShell::State*>(state)->seatCapabilities(capabilities);
                        },
                    .name = [](void*, wl_seat*, const char*) {},
                };
                wl_seat_add_listener(d->seat, &seatListener, d);
            }
        },
    .global_remove =
        [](void* data, wl_registry*, uint32_t name) {
            auto* d = static_cast<LayerShell::State*>(data);
            // A surface on a removed output is closed by the compositor; only ours goes here.
            std::erase_if(d->outputs, [name](const std::unique_ptr<Output>& output) {
                if (output->global != name)
                    return false;
                if (output->xdgOutput)
                    zxdg_output_v1_destroy(output->xdgOutput);
                wl_output_destroy(output->output);
                return true;
            });
        },
};

// --- input ---

static const wl_keyboard_listener keyboardListener = {
    .keymap =
        [](void* data, wl_keyboard*, uint32_t format, int32_t fd, uint32_t size) {
            auto* d = static_cast<LayerShell::State*>(data);
            if (format != WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1) {
                close(fd);
                return;
            }
            void* text = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
            close(fd);
            if (text == MAP_FAILED)
                return;
            xkb_keymap* keymap =
                xkb_keymap_new_from_buffer(d->xkb, static_cast<const char*>(text),
                                           strnlen(static_cast<const char*>(text), size),
                                           XKB_KEYMAP_FORMAT_TEXT_V1, XKB_KEYMAP_COMPILE_NO_FLAGS);
            munmap(text, size);
            if (!keymap)
                return;
            xkb_state_unref(d->keyState);
            xkb_keymap_unref(d->keymap);
            d->keymap = keymap;
            d->keyState = xkb_state_new(keymap);
        },
    .enter = [](void* data, wl_keyboard*, uint32_t, wl_surface* surface,
                wl_array*) { static_cast<LayerShell::State*>(data)->keyboardFocus = surface; },
    .leave =
        [](void* data, wl_keyboard*, uint32_t, wl_surface* surface) {
            auto* d = static_cast<LayerShell::State*>(data);
            if (d->keyboardFocus == surface)
                d->keyboardFocus = nullptr;
        },
    .key =
        [](void* data, wl_keyboard*, uint32_t, uint32_t, uint32_t key, uint32_t state) {
            auto* d = static_cast<LayerShell::State*>(data);
            if (state != WL_KEYBOARD_KEY_STATE_PRESSED || !d->keyState)
                return;
            LayerSurface* surface = d->surface(d->keyboardFocus);
            if (!surface)
                return;
            // Evdev codes are 8 below XKB's.
            const xkb_keysym_t sym = xkb_state_key_get_one_sym(d->keyState, key + 8);
            const bool control = xkb_state_mod_name_is_active(d->keyState, XKB_MOD_NAME_CTRL,
                                                              XKB_STATE_MODS_EFFECTIVE) > 0;
            emit surface->keyPressed(sym, control);
        },
    .modifiers =
        [](void* data, wl_keyboard*, uint32_t, uint32_t depressed, uint32_t latched,
           uint32_t locked, uint32_t group) {
            auto* d = static_cast<LayerShell::State*>(data);
            if (d->keyState)
                xkb_state_update_mask(d->keyState, depressed, latched, locked, 0, 0, group);
        },
    .repeat_info = [](void*, wl_keyboard*, int32_t, int32_t) {},
};

static const wl_pointer_listener pointerListener = {
    .enter = [](void* data, wl_pointer*, uint32_t, wl_surface* surface, wl_fixed_t,
                wl_fixed_t) { static_cast<LayerShell::State*>(data)->pointerFocus = surface; },
    .leave =
        [](void* data, wl_pointer*, uint32_t, wl_surface* surface) {
            auto* d = static_cast<LayerShell::State*>(data);
            if (d->pointerFocus == surface)
                d->pointerFocus = nullptr;
        },
    .motion = [](void*, wl_pointer*, uint32_t, wl_fixed_t, wl_fixed_t) {},
    .button =
        [](void* data, wl_pointer*, uint32_t, uint32_t, uint32_t, uint32_t state) {
            auto* d = static_cast<LayerShell::State*>(data);
            if (state != WL_POINTER_BUTTON_STATE_PRESSED)
                return;
            if (LayerSurface* surface = d->surface(d->pointerFocus))
                emit surface->pointerPressed();
        },
    .axis = [](void*, wl_pointer*, uint32_t, uint32_t, wl_fixed_t) {},
    .frame = [](void*, wl_pointer*) {},
    .axis_source = [](void*, wl_pointer*, uint32_t) {},
    .axis_stop = [](void*, wl_pointer*, uint32_t, uint32_t) {},
    .axis_discrete = [](void*, wl_pointer*, uint32_t, int32_t) {},
    .axis_value120 = [](void*, wl_pointer*, uint32_t, int32_t) {},
};

void LayerShell::State::seatCapabilities(uint32_t capabilities) {
    const bool hasKeyboard = capabilities & WL_SEAT_CAPABILITY_KEYBOARD;
    const bool hasPointer = capabilities & WL_SEAT_CAPABILITY_POINTER;
    if (hasKeyboard && !keyboard) {
        keyboard = wl_seat_get_keyboard(seat);
        wl_keyboard_add_listener(keyboard, &keyboardListener, this);
    } else if (!hasKeyboard && keyboard) {
        wl_keyboard_release(keyboard);
        keyboard = nullptr;
        keyboardFocus = nullptr;
    }
    if (hasPointer && !pointer) {
        pointer = wl_seat_get_pointer(seat);
        wl_pointer_add_listener(pointer, &pointerListener, this);
    } else if (!hasPointer && pointer) {
        wl_pointer_release(pointer);
        pointer = nullptr;
        pointerFocus = nullptr;
    }
}

// --- the connection ---

void LayerShell::State::readEvents() {
    if (dead)
        return;
    while (wl_display_prepare_read(display) != 0)
        wl_display_dispatch_pending(display);
    if (wl_display_read_events(display) < 0 || wl_display_dispatch_pending(display) < 0) {
        fail();
        return;
    }
    flush();
}

void LayerShell::State::flush() {
    if (!dead && wl_display_flush(display) < 0 && errno != EAGAIN)
        fail();
}

void LayerShell::State::fail() {
    if (dead)
        return;
    dead = true;
    notifier->setEnabled(false);
    logLine(QStringLiteral("Overlay: the connection to the compositor failed (error %1); "
                           "using windows of its own")
                .arg(wl_display_get_error(display)));
    emit self->failed();
}

LayerShell::State::~State() {
    delete notifier;
    if (!display)
        return;
    for (auto& output : outputs) {
        if (output->xdgOutput)
            zxdg_output_v1_destroy(output->xdgOutput);
        wl_output_destroy(output->output);
    }
    if (keyboard)
        wl_keyboard_destroy(keyboard);
    if (pointer)
        wl_pointer_destroy(pointer);
    xkb_state_unref(keyState);
    xkb_keymap_unref(keymap);
    xkb_context_unref(xkb);
    // Only the client's side of the globals: the connection's end is what the compositor sees.
    for (void* global : {static_cast<void*>(seat), static_cast<void*>(xdgOutputs),
                         static_cast<void*>(viewporter), static_cast<void*>(layerShell),
                         static_cast<void*>(shm), static_cast<void*>(subcompositor),
                         static_cast<void*>(compositor), static_cast<void*>(registry)})
        if (global)
            wl_proxy_destroy(static_cast<wl_proxy*>(global));
    wl_display_disconnect(display);
}

LayerShell::LayerShell() : d(std::make_unique<State>()) {
    d->self = this;
}

LayerShell::~LayerShell() = default;

std::unique_ptr<LayerShell> LayerShell::connect() {
    const auto fallBack = [](const QString& why) {
        logLine(QStringLiteral("Overlay: %1; using windows of its own").arg(why));
        return nullptr;
    };
    wl_display* display = wl_display_connect(nullptr);
    if (!display)
        return fallBack(QStringLiteral("cannot connect to the Wayland compositor"));
    std::unique_ptr<LayerShell> shell(new LayerShell);
    State& d = *shell->d;
    d.display = display;
    d.xkb = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    d.registry = wl_display_get_registry(display);
    wl_registry_add_listener(d.registry, &registryListener, &d);
    // Globals first, then what they tell at once (output names, seat capabilities).
    if (wl_display_roundtrip(display) < 0 || wl_display_roundtrip(display) < 0)
        return fallBack(QStringLiteral("the compositor broke the connection"));
    QStringList missing;
    if (!d.layerShell)
        missing << QStringLiteral("zwlr_layer_shell_v1");
    if (!d.compositor)
        missing << QStringLiteral("wl_compositor 4");
    if (!d.subcompositor)
        missing << QStringLiteral("wl_subcompositor");
    if (!d.shm)
        missing << QStringLiteral("wl_shm");
    if (!d.viewporter)
        missing << QStringLiteral("wp_viewporter");
    if (!d.xkb)
        missing << QStringLiteral("an xkbcommon context");
    if (!missing.isEmpty())
        return fallBack(QStringLiteral("the compositor offers no %1").arg(missing.join(u", ")));
    d.notifier = new QSocketNotifier(wl_display_get_fd(display), QSocketNotifier::Read);
    QObject::connect(d.notifier, &QSocketNotifier::activated, shell.get(),
                     [&d] { d.readEvents(); });
    return shell;
}

bool LayerShell::hasOutput(const QString& name) const {
    return d->output(name) != nullptr;
}

bool LayerShell::isAlive() const {
    return !d->dead;
}

std::unique_ptr<LayerSurface> LayerShell::createSurface(const QString& outputName,
                                                        bool takesKeyboard) {
    Output* output = d->output(outputName);
    if (!output || d->dead)
        return nullptr;
    std::unique_ptr<LayerSurface> surface(new LayerSurface(*this, output, takesKeyboard));
    d->surfaces.push_back(surface.get());
    d->flush();
    return surface;
}

// --- surfaces ---

struct LayerSurface::Handles {
    wl_surface* surface = nullptr;
    zwlr_layer_surface_v1* layer = nullptr;
    wp_viewport* viewport = nullptr;
    wl_surface* foreground = nullptr;
    wl_subsurface* subsurface = nullptr;
    wl_callback* frame = nullptr;
    std::vector<std::unique_ptr<Buffer>> buffers;
};

// A buffer in shared memory of its own; busy from attachment until the compositor releases it.
struct LayerSurface::Buffer {
    wl_buffer* buffer = nullptr;
    void* data = nullptr;
    size_t bytes = 0;
    QSize pixels;
    bool busy = false;

    ~Buffer() {
        if (buffer)
            wl_buffer_destroy(buffer);
        if (data)
            munmap(data, bytes);
    }
};

static const wl_buffer_listener bufferListener = {
    .release =
        [](void* data, wl_buffer*) {
            // Reaches only live buffers: events for destroyed proxies are dropped.
            *static_cast<bool*>(data) = false;
        },
};

LayerSurface::LayerSurface(LayerShell& shell, void* outputData, bool takesKeyboard)
    : shell_(shell), h(std::make_unique<Handles>()) {
    LayerShell::State& d = *shell.d;
    auto* output = static_cast<Output*>(outputData);
    scale_ = output->scale;
    h->surface = wl_compositor_create_surface(d.compositor);
    wl_surface_set_user_data(h->surface, this);
    h->layer = zwlr_layer_shell_v1_get_layer_surface(d.layerShell, h->surface, output->output,
                                                     ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY, "velmor");
    static const zwlr_layer_surface_v1_listener layerListener = {&LayerSurface::onConfigure,
                                                                 &LayerSurface::onClosed};
    zwlr_layer_surface_v1_add_listener(h->layer, &layerListener, this);
    zwlr_layer_surface_v1_set_anchor(
        h->layer, ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM |
                      ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT | ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT);
    // Over panels and docks too, not moved aside by them.
    zwlr_layer_surface_v1_set_exclusive_zone(h->layer, -1);
    zwlr_layer_surface_v1_set_keyboard_interactivity(
        h->layer, takesKeyboard ? ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_EXCLUSIVE
                                : ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_NONE);
    h->viewport = wp_viewporter_get_viewport(d.viewporter, h->surface);

    h->foreground = wl_compositor_create_surface(d.compositor);
    wl_surface_set_user_data(h->foreground, this);
    h->subsurface = wl_subcompositor_get_subsurface(d.subcompositor, h->foreground, h->surface);
    // Clicks on the text land on the surface below it.
    wl_region* none = wl_compositor_create_region(d.compositor);
    wl_surface_set_input_region(h->foreground, none);
    wl_region_destroy(none);
    wl_surface_commit(h->foreground);
    wl_surface_commit(h->surface);
}

LayerSurface::~LayerSurface() {
    LayerShell::State& d = *shell_.d;
    std::erase(d.surfaces, this);
    if (d.keyboardFocus == h->surface)
        d.keyboardFocus = nullptr;
    if (d.pointerFocus == h->surface)
        d.pointerFocus = nullptr;
    if (h->frame)
        wl_callback_destroy(h->frame);
    wl_subsurface_destroy(h->subsurface);
    wl_surface_destroy(h->foreground);
    wp_viewport_destroy(h->viewport);
    zwlr_layer_surface_v1_destroy(h->layer);
    wl_surface_destroy(h->surface);
    h->buffers.clear();
    d.flush();
}

int LayerSurface::scale() const {
    return scale_;
}

void LayerSurface::onConfigure(void* data, zwlr_layer_surface_v1* layer, uint32_t serial,
                               uint32_t width, uint32_t height) {
    auto* self = static_cast<LayerSurface*>(data);
    zwlr_layer_surface_v1_ack_configure(layer, serial);
    const bool first = self->size_.isEmpty();
    self->size_ = QSize(int(width), int(height));
    if (first && !self->size_.isEmpty())
        emit self->configured();
}

void LayerSurface::onClosed(void* data, zwlr_layer_surface_v1*) {
    emit static_cast<LayerSurface*>(data)->closed();
}

void LayerSurface::onFrame(void* data, wl_callback* callback, uint32_t) {
    auto* self = static_cast<LayerSurface*>(data);
    wl_callback_destroy(callback);
    self->h->frame = nullptr;
    self->framePending_ = false;
    emit self->frameDone();
}

LayerSurface::Buffer* LayerSurface::freeBuffer(QSize pixels) {
    for (auto& buffer : h->buffers)
        if (!buffer->busy && buffer->pixels == pixels)
            return buffer.get();
    // An idle foreground buffer of another size is not needed again (the backgrounds'
    // buffers stay for the next frame).
    std::erase_if(h->buffers, [pixels](const std::unique_ptr<Buffer>& b) {
        return !b->busy && b->pixels != pixels && b->pixels != backgroundPixels &&
               pixels != backgroundPixels;
    });
    auto buffer = std::make_unique<Buffer>();
    buffer->pixels = pixels;
    const int stride = pixels.width() * 4;
    buffer->bytes = size_t(stride) * size_t(pixels.height());
    const int fd = memfd_create("velmor-overlay", MFD_CLOEXEC);
    if (fd < 0)
        return nullptr;
    if (ftruncate(fd, off_t(buffer->bytes)) < 0) {
        close(fd);
        return nullptr;
    }
    void* data = mmap(nullptr, buffer->bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (data == MAP_FAILED) {
        close(fd);
        return nullptr;
    }
    buffer->data = data;
    wl_shm_pool* pool = wl_shm_create_pool(shell_.d->shm, fd, int32_t(buffer->bytes));
    // ARGB8888 is Qt's premultiplied ARGB32 on a little-endian machine.
    buffer->buffer = wl_shm_pool_create_buffer(pool, 0, pixels.width(), pixels.height(), stride,
                                               WL_SHM_FORMAT_ARGB8888);
    wl_shm_pool_destroy(pool);
    close(fd);
    wl_buffer_add_listener(buffer->buffer, &bufferListener, &buffer->busy);
    h->buffers.push_back(std::move(buffer));
    return h->buffers.back().get();
}

void LayerSurface::setBackground(const QColor& colour) {
    if (!isConfigured())
        return;
    // One colour in 3x3 pixels of which the middle one is scaled over the output: a compositor
    // that filters the scaled buffer finds the same colour beyond the edges, not transparency.
    Buffer* buffer = freeBuffer(backgroundPixels);
    if (!buffer)
        return;
    std::fill_n(static_cast<uint32_t*>(buffer->data), 9, qPremultiply(colour.rgba()));
    buffer->busy = true;
    wl_surface_attach(h->surface, buffer->buffer, 0, 0);
    wl_surface_damage_buffer(h->surface, 0, 0, 3, 3);
    wp_viewport_set_source(h->viewport, wl_fixed_from_int(1), wl_fixed_from_int(1),
                           wl_fixed_from_int(1), wl_fixed_from_int(1));
    wp_viewport_set_destination(h->viewport, size_.width(), size_.height());
}

QImage* LayerSurface::beginForeground(const QRect& rect) {
    foregroundDirty_ = true;
    foregroundRect_ = rect;
    foreground_ = nullptr;
    foregroundImage_ = QImage();
    if (rect.isEmpty())
        return nullptr;
    // Kept apart from the 3x3 background buffers by their size.
    Buffer* buffer = freeBuffer(rect.size() * scale_);
    if (!buffer || buffer->pixels == backgroundPixels)
        return nullptr;
    foreground_ = buffer;
    foregroundImage_ =
        QImage(static_cast<uchar*>(buffer->data), buffer->pixels.width(), buffer->pixels.height(),
               buffer->pixels.width() * 4, QImage::Format_ARGB32_Premultiplied);
    foregroundImage_.fill(Qt::transparent);
    foregroundImage_.setDevicePixelRatio(scale_);
    return &foregroundImage_;
}

void LayerSurface::commit(bool wantFrame) {
    if (shell_.d->dead)
        return;
    if (foregroundDirty_) {
        foregroundDirty_ = false;
        // A synchronised subsurface: its new content shows with the parent's commit below.
        if (foreground_) {
            foreground_->busy = true;
            wl_subsurface_set_position(h->subsurface, foregroundRect_.x(), foregroundRect_.y());
            wl_surface_attach(h->foreground, foreground_->buffer, 0, 0);
            wl_surface_set_buffer_scale(h->foreground, scale_);
            wl_surface_damage_buffer(h->foreground, 0, 0, INT32_MAX, INT32_MAX);
        } else {
            wl_surface_attach(h->foreground, nullptr, 0, 0);
        }
        wl_surface_commit(h->foreground);
        foreground_ = nullptr;
        foregroundImage_ = QImage();
    }
    if (wantFrame && !h->frame) {
        h->frame = wl_surface_frame(h->surface);
        static const wl_callback_listener frameListener = {&LayerSurface::onFrame};
        wl_callback_add_listener(h->frame, &frameListener, this);
        framePending_ = true;
    }
    wl_surface_commit(h->surface);
    shell_.d->flush();
}

} // namespace velmor
