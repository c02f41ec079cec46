#include "platform/screencast/PipeWireScreenCast.h"

#include <pipewire/impl-module.h>
#include <pipewire/pipewire.h>

#include <QtGlobal>

#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <set>

namespace velmor {

// Everything but `mutex` and `state` is touched only on the loop's thread, with the loop
// locked.
struct PipeWireScreenCast::Graph {
    enum class State { unknown, inactive, active, lost };

    QByteArray remote;
    pw_thread_loop* loop = nullptr;
    pw_context* context = nullptr;
    pw_core* core = nullptr;
    pw_registry* registry = nullptr;
    spa_hook coreListener{};
    spa_hook registryListener{};
    int syncSeq = -1;
    bool listed = false;
    std::set<uint32_t> castNodes;
    std::map<uint32_t, uint32_t> linkSources; // link id -> the node it leaves

    std::mutex mutex;
    State state = State::unknown;

    explicit Graph(QByteArray name) : remote(std::move(name)) {
        static const bool initialised = [] {
            pw_init(nullptr, nullptr);
            // PipeWire's warnings (no real-time threads here, no client modules) are not the
            // user's business; PIPEWIRE_DEBUG still shows them.
            if (qEnvironmentVariableIsEmpty("PIPEWIRE_DEBUG"))
                pw_log_set_level(SPA_LOG_LEVEL_ERROR);
            return true;
        }();
        (void)initialised;
        loop = pw_thread_loop_new("velmor-screencast", nullptr);
        if (!loop)
            return;
        // No client configuration: it would load modules for making streams and devices, and
        // following the graph needs only the protocol.
        context = pw_context_new(pw_thread_loop_get_loop(loop),
                                 pw_properties_new(PW_KEY_CONFIG_NAME, "null", nullptr), 0);
        if (context &&
            !pw_context_load_module(context, "libpipewire-module-protocol-native", nullptr,
                                    nullptr)) {
            pw_context_destroy(context);
            context = nullptr;
        }
        if (!context || pw_thread_loop_start(loop) < 0) {
            if (context)
                pw_context_destroy(context);
            pw_thread_loop_destroy(loop);
            loop = nullptr;
            context = nullptr;
        }
    }

    ~Graph() {
        if (!loop)
            return;
        pw_thread_loop_lock(loop);
        disconnect();
        pw_thread_loop_unlock(loop);
        pw_thread_loop_stop(loop);
        pw_context_destroy(context);
        pw_thread_loop_destroy(loop);
    }

    void publish(State value) {
        std::lock_guard lock(mutex);
        state = value;
    }

    void update() {
        if (!listed)
            return;
        bool active = false;
        for (const auto& [link, node] : linkSources)
            active = active || castNodes.count(node);
        publish(active ? State::active : State::inactive);
    }

    void disconnect() {
        if (registry) {
            spa_hook_remove(&registryListener);
            pw_proxy_destroy(reinterpret_cast<pw_proxy*>(registry));
            registry = nullptr;
        }
        if (core) {
            spa_hook_remove(&coreListener);
            pw_core_disconnect(core);
            core = nullptr;
        }
        castNodes.clear();
        linkSources.clear();
        listed = false;
    }

    // From any thread but the loop's.
    void connect() {
        pw_thread_loop_lock(loop);
        disconnect();
        publish(State::unknown);
        pw_properties* props = nullptr;
        if (!remote.isEmpty())
            props = pw_properties_new(PW_KEY_REMOTE_NAME, remote.constData(), nullptr);
        core = pw_context_connect(context, props, 0);
        if (!core) {
            publish(State::lost); // no PipeWire: nobody can be casting through it
        } else {
            static const pw_core_events coreEvents = [] {
                pw_core_events events{};
                events.version = PW_VERSION_CORE_EVENTS;
                events.done = &Graph::onDone;
                events.error = &Graph::onError;
                return events;
            }();
            static const pw_registry_events registryEvents = [] {
                pw_registry_events events{};
                events.version = PW_VERSION_REGISTRY_EVENTS;
                events.global = &Graph::onGlobal;
                events.global_remove = &Graph::onGlobalRemove;
                return events;
            }();
            pw_core_add_listener(core, &coreListener, &coreEvents, this);
            registry = pw_core_get_registry(core, PW_VERSION_REGISTRY, 0);
            pw_registry_add_listener(registry, &registryListener, &registryEvents, this);
            // Answered once every global that exists now has been announced.
            syncSeq = pw_core_sync(core, PW_ID_CORE, 0);
        }
        pw_thread_loop_unlock(loop);
    }

    static void onDone(void* data, uint32_t id, int seq) {
        auto* self = static_cast<Graph*>(data);
        if (id == PW_ID_CORE && seq == self->syncSeq) {
            self->listed = true;
            self->update();
        }
    }

    static void onError(void* data, uint32_t id, int, int res, const char*) {
        auto* self = static_cast<Graph*>(data);
        if (id == PW_ID_CORE && res == -EPIPE)
            self->publish(State::lost); // PipeWire went away
    }

    static void onGlobal(void* data, uint32_t id, uint32_t, const char* type, uint32_t,
                         const spa_dict* props) {
        auto* self = static_cast<Graph*>(data);
        if (!props)
            return;
        if (std::strcmp(type, PW_TYPE_INTERFACE_Node) == 0) {
            const char* mediaClass = spa_dict_lookup(props, PW_KEY_MEDIA_CLASS);
            if (mediaClass && std::strcmp(mediaClass, "Video/Source") == 0 &&
                !spa_dict_lookup(props, PW_KEY_DEVICE_ID))
                self->castNodes.insert(id);
        } else if (std::strcmp(type, PW_TYPE_INTERFACE_Link) == 0) {
            if (const char* node = spa_dict_lookup(props, PW_KEY_LINK_OUTPUT_NODE))
                self->linkSources[id] = uint32_t(std::strtoul(node, nullptr, 10));
        } else {
            return;
        }
        self->update();
    }

    static void onGlobalRemove(void* data, uint32_t id) {
        auto* self = static_cast<Graph*>(data);
        if (self->castNodes.erase(id) + self->linkSources.erase(id))
            self->update();
    }
};

PipeWireScreenCast::PipeWireScreenCast(QByteArray remote)
    : graph_(std::make_unique<Graph>(std::move(remote))) {
    if (graph_->loop)
        graph_->connect();
}

PipeWireScreenCast::~PipeWireScreenCast() = default;

std::optional<bool> PipeWireScreenCast::isActive() {
    if (!graph_->loop)
        return false;
    Graph::State state;
    {
        std::lock_guard lock(graph_->mutex);
        state = graph_->state;
    }
    switch (state) {
    case Graph::State::unknown:
        return std::nullopt;
    case Graph::State::active:
        return true;
    case Graph::State::inactive:
        return false;
    case Graph::State::lost:
        graph_->connect(); // for the next question
        return false;
    }
    return false;
}

} // namespace velmor
