#include "platform/microphone/PulseMicrophone.h"

#include <pulse/pulseaudio.h>

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <string>
#include <unistd.h>

namespace velmor {

namespace {

bool isLevelMeter(const pa_source_output_info& output) {
    if (output.resample_method && std::strcmp(output.resample_method, "peaks") == 0)
        return true;
    const char* appId = pa_proplist_gets(output.proplist, PA_PROP_APPLICATION_ID);
    return appId && (std::strcmp(appId, "org.PulseAudio.pavucontrol") == 0 ||
                     std::strcmp(appId, "org.gnome.VolumeControl") == 0);
}

} // namespace

// Everything below the mutex is touched only on the loop's thread, with the loop locked.
struct PulseMicrophone::Connection {
    QByteArray server;
    int firstAnswerMs;
    pa_threaded_mainloop* loop = pa_threaded_mainloop_new();
    pa_context* context = nullptr;

    std::mutex mutex;
    std::condition_variable changed;
    bool connecting = false;
    std::optional<bool> answer; // nullopt while no server has answered

    bool refreshing = false;
    bool refreshAgain = false;
    uint32_t sourceIndex = PA_INVALID_INDEX;
    bool inUse = false;
    std::string ownPid = std::to_string(getpid());

    Connection(QByteArray serverName, int waitMs)
        : server(std::move(serverName)), firstAnswerMs(waitMs) {
        if (loop && pa_threaded_mainloop_start(loop) < 0) {
            pa_threaded_mainloop_free(loop);
            loop = nullptr;
        }
    }

    ~Connection() {
        if (!loop)
            return;
        pa_threaded_mainloop_lock(loop);
        dropContext();
        pa_threaded_mainloop_unlock(loop);
        pa_threaded_mainloop_stop(loop);
        pa_threaded_mainloop_free(loop);
    }

    void dropContext() {
        if (!context)
            return;
        pa_context_set_state_callback(context, nullptr, nullptr);
        pa_context_set_subscribe_callback(context, nullptr, nullptr);
        pa_context_disconnect(context);
        pa_context_unref(context);
        context = nullptr;
    }

    void publish(std::optional<bool> value, bool stillConnecting) {
        {
            std::lock_guard lock(mutex);
            answer = value;
            connecting = stillConnecting;
        }
        changed.notify_all();
    }

    // From any thread but the loop's.
    void connect() {
        {
            std::lock_guard lock(mutex);
            connecting = true;
        }
        pa_threaded_mainloop_lock(loop);
        dropContext();
        refreshing = refreshAgain = false;
        pa_proplist* props = pa_proplist_new();
        pa_proplist_sets(props, PA_PROP_APPLICATION_NAME, "Velmor");
        pa_proplist_sets(props, PA_PROP_APPLICATION_ID, "velmor");
        context = pa_context_new_with_proplist(pa_threaded_mainloop_get_api(loop), "Velmor", props);
        pa_proplist_free(props);
        bool failed = !context;
        if (context) {
            pa_context_set_state_callback(context, &Connection::onContextState, this);
            pa_context_set_subscribe_callback(context, &Connection::onEvent, this);
            failed = pa_context_connect(context, server.isEmpty() ? nullptr : server.constData(),
                                        PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0;
        }
        if (failed)
            dropContext();
        pa_threaded_mainloop_unlock(loop);
        if (failed)
            publish(std::nullopt, false);
    }

    std::optional<bool> query() {
        if (!loop)
            return std::nullopt;
        bool lost = false;
        {
            std::lock_guard lock(mutex);
            lost = !connecting && !answer;
        }
        if (lost)
            connect();
        std::unique_lock lock(mutex);
        if (firstAnswerMs > 0)
            changed.wait_for(lock, std::chrono::milliseconds(firstAnswerMs),
                             [this] { return !connecting || answer; });
        return answer;
    }

    // The walk: server info -> default source -> its source outputs. Changes that arrive
    // meanwhile start it again once it is done.
    void refresh() {
        if (refreshing) {
            refreshAgain = true;
            return;
        }
        refreshing = true;
        refreshAgain = false;
        sourceIndex = PA_INVALID_INDEX;
        inUse = false;
        started(pa_context_get_server_info(context, &Connection::onServerInfo, this));
    }

    void started(pa_operation* op) {
        if (op)
            pa_operation_unref(op);
        else
            done(false);
    }

    void done(bool ok) {
        refreshing = false;
        if (!ok)
            return; // the context's state change says what happened
        if (refreshAgain)
            return refresh();
        publish(inUse, false);
    }

    static void onContextState(pa_context* context, void* data) {
        auto* self = static_cast<Connection*>(data);
        switch (pa_context_get_state(context)) {
        case PA_CONTEXT_READY: {
            const auto mask =
                pa_subscription_mask_t(PA_SUBSCRIPTION_MASK_SOURCE_OUTPUT |
                                       PA_SUBSCRIPTION_MASK_SOURCE | PA_SUBSCRIPTION_MASK_SERVER);
            if (pa_operation* op = pa_context_subscribe(context, mask, nullptr, nullptr))
                pa_operation_unref(op);
            self->refresh();
            break;
        }
        case PA_CONTEXT_FAILED:
        case PA_CONTEXT_TERMINATED:
            self->refreshing = false;
            self->publish(std::nullopt, false);
            break;
        default:
            break;
        }
    }

    static void onEvent(pa_context*, pa_subscription_event_type_t, uint32_t, void* data) {
        static_cast<Connection*>(data)->refresh();
    }

    static void onServerInfo(pa_context* context, const pa_server_info* info, void* data) {
        auto* self = static_cast<Connection*>(data);
        if (!info || !info->default_source_name)
            return self->done(true); // no default source: no microphone
        self->started(pa_context_get_source_info_by_name(context, info->default_source_name,
                                                         &Connection::onSource, data));
    }

    static void onSource(pa_context* context, const pa_source_info* source, int eol, void* data) {
        auto* self = static_cast<Connection*>(data);
        if (eol < 0)
            return self->done(true); // the default source went away meanwhile
        if (eol > 0) {
            if (self->sourceIndex == PA_INVALID_INDEX)
                self->done(true);
            return;
        }
        if (source->monitor_of_sink != PA_INVALID_INDEX)
            return; // recording what is played is not a microphone
        self->sourceIndex = source->index;
        self->started(
            pa_context_get_source_output_info_list(context, &Connection::onSourceOutput, data));
    }

    static void onSourceOutput(pa_context*, const pa_source_output_info* output, int eol,
                               void* data) {
        auto* self = static_cast<Connection*>(data);
        if (eol != 0)
            return self->done(eol > 0);
        const char* pid = pa_proplist_gets(output->proplist, PA_PROP_APPLICATION_PROCESS_ID);
        const bool own = pid && self->ownPid == pid;
        if (output->source == self->sourceIndex && !output->corked && !own &&
            !isLevelMeter(*output))
            self->inUse = true;
    }
};

PulseMicrophone::PulseMicrophone(QByteArray server, int firstAnswerMs)
    : connection_(std::make_unique<Connection>(std::move(server), firstAnswerMs)) {
    if (connection_->loop)
        connection_->connect();
}

PulseMicrophone::~PulseMicrophone() = default;
PulseMicrophone::PulseMicrophone(PulseMicrophone&&) noexcept = default;
PulseMicrophone& PulseMicrophone::operator=(PulseMicrophone&&) noexcept = default;

std::optional<bool> PulseMicrophone::query() {
    return connection_ ? connection_->query() : std::nullopt;
}

bool PulseMicrophone::isConnecting() const {
    if (!connection_ || !connection_->loop)
        return false;
    std::lock_guard lock(connection_->mutex);
    return connection_->connecting && !connection_->answer;
}

} // namespace velmor
