// A level meter as volume controls open one: a peak-detecting record stream on the source
// named on the command line. Runs until killed; the microphone tests use it as a program
// other than the one under test.
#include <pulse/pulseaudio.h>

#include <cstdio>

namespace {

const char* sourceName = nullptr;

void onRead(pa_stream* stream, size_t, void*) {
    const void* data = nullptr;
    size_t length = 0;
    while (pa_stream_readable_size(stream) > 0 && pa_stream_peek(stream, &data, &length) == 0 &&
           length > 0)
        pa_stream_drop(stream);
}

void onState(pa_context* context, void*) {
    if (pa_context_get_state(context) != PA_CONTEXT_READY)
        return;
    const pa_sample_spec format{PA_SAMPLE_FLOAT32LE, 25, 1};
    pa_stream* stream = pa_stream_new(context, "Peak detect", &format, nullptr);
    pa_stream_set_read_callback(stream, onRead, nullptr);
    pa_buffer_attr attr{};
    attr.maxlength = uint32_t(-1);
    attr.fragsize = sizeof(float);
    pa_stream_connect_record(
        stream, sourceName, &attr,
        pa_stream_flags_t(PA_STREAM_DONT_MOVE | PA_STREAM_PEAK_DETECT | PA_STREAM_ADJUST_LATENCY));
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s SOURCE\n", argv[0]);
        return 2;
    }
    sourceName = argv[1];
    pa_mainloop* loop = pa_mainloop_new();
    pa_context* context = pa_context_new(pa_mainloop_get_api(loop), "Level meter");
    pa_context_set_state_callback(context, onState, nullptr);
    if (pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
        return 1;
    int result = 0;
    pa_mainloop_run(loop, &result);
    return result;
}
