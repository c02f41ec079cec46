#include "platform/microphone/PulseMicrophone.h"

#include <pulse/pulseaudio.h>

#include <chrono>
#include <cstring>
#include <string>
#include <unistd.h>

namespace velmor {

namespace {

// One query walks server info -> default source -> its source outputs, one reply at a time.
struct Query {
    pa_context* context = nullptr;
    bool done = false;
    bool failed = false;
    bool inUse = false;
    uint32_t sourceIndex = PA_INVALID_INDEX;
    std::string ownPid = std::to_string(getpid());
};

void finish(Query& query, bool failed) {
    query.failed = failed;
    query.done = true;
}

bool isLevelMeter(const pa_source_output_info& output) {
    if (output.resample_method && std::strcmp(output.resample_method, "peaks") == 0)
        return true;
    const char* appId = pa_proplist_gets(output.proplist, PA_PROP_APPLICATION_ID);
    return appId && (std::strcmp(appId, "org.PulseAudio.pavucontrol") == 0 ||
                     std::strcmp(appId, "org.gnome.VolumeControl") == 0);
}

bool isOwnStream(const pa_source_output_info& output, const Query& query) {
    const char* pid = pa_proplist_gets(output.proplist, PA_PROP_APPLICATION_PROCESS_ID);
    return pid && query.ownPid == pid;
}

void onSourceOutput(pa_context*, const pa_source_output_info* output, int eol, void* data) {
    auto& query = *static_cast<Query*>(data);
    if (eol < 0)
        return finish(query, true);
    if (eol > 0)
        return finish(query, false);
    if (output->source == query.sourceIndex && !output->corked && !isOwnStream(*output, query) &&
        !isLevelMeter(*output))
        query.inUse = true;
}

void onSource(pa_context* context, const pa_source_info* source, int eol, void* data) {
    auto& query = *static_cast<Query*>(data);
    if (eol < 0)
        return finish(query, true);
    if (eol > 0) {
        if (query.sourceIndex == PA_INVALID_INDEX)
            finish(query, false); // no default source: no microphone
        return;
    }
    if (source->monitor_of_sink != PA_INVALID_INDEX)
        return; // recording what is played is not a microphone
    query.sourceIndex = source->index;
    pa_operation* op = pa_context_get_source_output_info_list(context, onSourceOutput, data);
    if (op)
        pa_operation_unref(op);
    else
        finish(query, true);
}

void onServerInfo(pa_context* context, const pa_server_info* info, void* data) {
    auto& query = *static_cast<Query*>(data);
    if (!info || !info->default_source_name)
        return finish(query, false);
    pa_operation* op =
        pa_context_get_source_info_by_name(context, info->default_source_name, onSource, data);
    if (op)
        pa_operation_unref(op);
    else
        finish(query, true);
}

void onContextState(pa_context* context, void* data) {
    auto& query = *static_cast<Query*>(data);
    switch (pa_context_get_state(context)) {
    case PA_CONTEXT_READY: {
        pa_operation* op = pa_context_get_server_info(context, onServerInfo, data);
        if (op)
            pa_operation_unref(op);
        else
            finish(query, true);
        break;
    }
    case PA_CONTEXT_FAILED:
    case PA_CONTEXT_TERMINATED:
        finish(query, true);
        break;
    default:
        break;
    }
}

} // namespace

PulseMicrophone::PulseMicrophone(QByteArray server, int timeoutMs)
    : server_(std::move(server)), timeoutMs_(timeoutMs) {}

std::optional<bool> PulseMicrophone::query() {
    using Steady = std::chrono::steady_clock;
    const auto deadline = Steady::now() + std::chrono::milliseconds(timeoutMs_);

    pa_mainloop* loop = pa_mainloop_new();
    if (!loop)
        return std::nullopt;
    pa_proplist* props = pa_proplist_new();
    pa_proplist_sets(props, PA_PROP_APPLICATION_NAME, "Velmor");
    pa_proplist_sets(props, PA_PROP_APPLICATION_ID, "velmor");
    Query query;
    query.context = pa_context_new_with_proplist(pa_mainloop_get_api(loop), "Velmor", props);
    pa_proplist_free(props);
    if (!query.context) {
        pa_mainloop_free(loop);
        return std::nullopt;
    }
    pa_context_set_state_callback(query.context, onContextState, &query);
    if (pa_context_connect(query.context, server_.isEmpty() ? nullptr : server_.constData(),
                           PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
        finish(query, true);

    while (!query.done) {
        const auto left =
            std::chrono::duration_cast<std::chrono::microseconds>(deadline - Steady::now());
        if (left.count() <= 0) {
            finish(query, true);
            break;
        }
        if (pa_mainloop_prepare(loop, int(left.count())) < 0 || pa_mainloop_poll(loop) < 0 ||
            pa_mainloop_dispatch(loop) < 0)
            finish(query, true);
    }

    pa_context_set_state_callback(query.context, nullptr, nullptr);
    pa_context_disconnect(query.context);
    pa_context_unref(query.context);
    pa_mainloop_free(loop);
    if (query.failed)
        return std::nullopt;
    return query.inUse;
}

} // namespace velmor
