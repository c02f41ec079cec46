#include "platform/sound/SoundPlayer.h"

#include <QFile>
#include <QObject>

#include <pulse/pulseaudio.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace velmor {

std::optional<DecodedSound> decodeSoundFile(const QString& path) {
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    SF_INFO info{};
    // Through the descriptor so file names outside the locale's encoding still open.
    SNDFILE* handle = sf_open_fd(file.handle(), SFM_READ, &info, SF_FALSE);
    if (!handle)
        return std::nullopt;
    DecodedSound sound;
    if (info.channels > 0 && info.samplerate > 0) {
        sound.sampleRate = info.samplerate;
        sound.channels = info.channels;
        // Read as float (libsndfile scales every encoding to ±1) and convert ourselves: its
        // own float-to-short path either truncates or normalises to the file's peak, and a
        // soft file must stay soft.
        std::vector<float> block(std::size_t(4096) * std::size_t(info.channels));
        std::vector<qint16> samples;
        samples.reserve(std::size_t(std::max<sf_count_t>(info.frames, 0) * info.channels));
        sf_count_t got;
        while ((got = sf_readf_float(handle, block.data(), 4096)) > 0)
            for (sf_count_t i = 0; i < got * info.channels; ++i)
                samples.push_back(qint16(
                    std::clamp(std::lrint(block[std::size_t(i)] * 32768.0f), -32768L, 32767L)));
        sound.samples = QByteArray(reinterpret_cast<const char*>(samples.data()),
                                   qsizetype(samples.size() * sizeof(qint16)));
    }
    sf_close(handle);
    if (sound.frames() == 0)
        return std::nullopt;
    return sound;
}

namespace {

// The file's header says it is sound libsndfile can read; nothing is decoded.
bool readableSound(const QString& path) {
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return false;
    SF_INFO info{};
    SNDFILE* handle = sf_open_fd(file.handle(), SFM_READ, &info, SF_FALSE);
    if (!handle)
        return false;
    sf_close(handle);
    return info.channels > 0 && info.samplerate > 0 && info.frames > 0;
}

} // namespace

// One sound being played. Filled on the main thread before libpulse's thread sees it; from then
// on the fields from `written` down are touched only with that thread's lock held.
struct SoundPlayer::Playback {
    SoundPlayer* player = nullptr;
    QObject* receiver = nullptr;
    std::uint64_t play = 0;
    const char* data = nullptr;
    std::size_t size = 0;
    std::size_t written = 0;
    pa_sample_spec format{};
    pa_cvolume volume{};
    bool volumeChanged = false;
    pa_stream* stream = nullptr;
    pa_operation* drain = nullptr;

    // Hands the end of the sound (played out, or its stream lost) to the main thread.
    void reportFinished() const {
        QMetaObject::invokeMethod(
            receiver, [owner = player, which = play] { owner->finished(which); },
            Qt::QueuedConnection);
    }
};

namespace {

using Playback = SoundPlayer::Playback;

// What the server holds ahead of the listener: enough to ride out a busy moment.
constexpr pa_usec_t bufferMicroseconds = 100'000;

pa_cvolume volumeFor(const pa_sample_spec& format, double volume) {
    pa_cvolume result;
    pa_cvolume_set(&result, format.channels, pa_sw_volume_from_linear(volume));
    return result;
}

void unrefOperation(pa_operation* operation) {
    if (operation)
        pa_operation_unref(operation);
}

void onDrained(pa_stream*, int, void* data) {
    static_cast<Playback*>(data)->reportFinished();
}

void onWritable(pa_stream* stream, std::size_t bytes, void* data) {
    auto& playback = *static_cast<Playback*>(data);
    const std::size_t chunk = std::min(bytes, playback.size - playback.written);
    if (chunk > 0 && pa_stream_write(stream, playback.data + playback.written, chunk, nullptr, 0,
                                     PA_SEEK_RELATIVE) < 0)
        return playback.reportFinished();
    playback.written += chunk;
    if (playback.written < playback.size)
        return;
    // All handed over: the drain also starts a sound shorter than the prebuffer.
    pa_stream_set_write_callback(stream, nullptr, nullptr);
    playback.drain = pa_stream_drain(stream, onDrained, data);
    if (!playback.drain)
        playback.reportFinished();
}

void onStreamState(pa_stream* stream, void* data) {
    auto& playback = *static_cast<Playback*>(data);
    switch (pa_stream_get_state(stream)) {
    case PA_STREAM_READY:
        if (playback.volumeChanged)
            unrefOperation(pa_context_set_sink_input_volume(pa_stream_get_context(stream),
                                                            pa_stream_get_index(stream),
                                                            &playback.volume, nullptr, nullptr));
        playback.volumeChanged = false;
        break;
    case PA_STREAM_FAILED:
    case PA_STREAM_TERMINATED:
        playback.reportFinished();
        break;
    default:
        break;
    }
}

// Opens the playback stream on the server's default sink; the sound starts as soon as the
// server asks for the first samples.
bool startStream(Playback& playback, pa_context* context) {
    pa_proplist* props = pa_proplist_new();
    pa_proplist_sets(props, PA_PROP_MEDIA_ROLE, "event");
    playback.stream =
        pa_stream_new_with_proplist(context, "Velmor sound", &playback.format, nullptr, props);
    pa_proplist_free(props);
    if (!playback.stream)
        return false;
    pa_stream_set_state_callback(playback.stream, onStreamState, &playback);
    pa_stream_set_write_callback(playback.stream, onWritable, &playback);
    pa_buffer_attr attr;
    attr.maxlength = std::uint32_t(-1);
    attr.tlength = std::uint32_t(pa_usec_to_bytes(bufferMicroseconds, &playback.format));
    attr.prebuf = std::uint32_t(-1);
    attr.minreq = std::uint32_t(-1);
    attr.fragsize = std::uint32_t(-1);
    playback.volumeChanged = false;
    return pa_stream_connect_playback(playback.stream, nullptr, &attr, PA_STREAM_NOFLAGS,
                                      &playback.volume, nullptr) >= 0;
}

// The process's one connection to the sound server, served by libpulse's own thread. A
// connection that died (the server quit or restarted) or never came up (no server yet) is
// made anew on the next play, so the server running then is the one used.
class PulseOutput {
public:
    static PulseOutput& shared() {
        // Never destroyed: a sound may still ring while the program quits.
        static PulseOutput* output = new PulseOutput;
        return *output;
    }

    bool running() const { return loop_ != nullptr; }
    void lock() { pa_threaded_mainloop_lock(loop_); }
    void unlock() { pa_threaded_mainloop_unlock(loop_); }

    // Under the lock: plays now, or once the connection is up; false when there is no server.
    bool start(Playback& playback) {
        pa_context* context = liveContext();
        if (!context)
            return false;
        if (pa_context_get_state(context) != PA_CONTEXT_READY) {
            waiting_.push_back(&playback);
            return true;
        }
        return startStream(playback, context);
    }

    // Under the lock: the playback hears nothing more from libpulse.
    void forget(Playback& playback) {
        std::erase(waiting_, &playback);
        if (playback.drain) {
            pa_operation_cancel(playback.drain);
            pa_operation_unref(playback.drain);
            playback.drain = nullptr;
        }
        if (playback.stream) {
            pa_stream_set_state_callback(playback.stream, nullptr, nullptr);
            pa_stream_set_write_callback(playback.stream, nullptr, nullptr);
            pa_stream_disconnect(playback.stream);
            pa_stream_unref(playback.stream);
            playback.stream = nullptr;
        }
    }

    // Connects ahead of the first play so it starts without the handshake; on the main thread.
    void warmUp() {
        if (!running())
            return;
        lock();
        liveContext();
        unlock();
    }

private:
    PulseOutput() : loop_(pa_threaded_mainloop_new()) {
        if (loop_ && pa_threaded_mainloop_start(loop_) < 0) {
            pa_threaded_mainloop_free(loop_);
            loop_ = nullptr;
        }
    }

    pa_context* liveContext() {
        if (context_) {
            const pa_context_state_t state = pa_context_get_state(context_);
            if (state != PA_CONTEXT_FAILED && state != PA_CONTEXT_TERMINATED)
                return context_;
            dropContext();
        }
        pa_proplist* props = pa_proplist_new();
        pa_proplist_sets(props, PA_PROP_APPLICATION_NAME, "Velmor");
        pa_proplist_sets(props, PA_PROP_APPLICATION_ID, "velmor");
        context_ =
            pa_context_new_with_proplist(pa_threaded_mainloop_get_api(loop_), "Velmor", props);
        pa_proplist_free(props);
        if (!context_)
            return nullptr;
        pa_context_set_state_callback(context_, onContextState, this);
        // Never spawns a server of its own: the desktop's is used, or none.
        if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
            dropContext();
            return nullptr;
        }
        return context_;
    }

    void dropContext() {
        pa_context_set_state_callback(context_, nullptr, nullptr);
        pa_context_disconnect(context_);
        pa_context_unref(context_);
        context_ = nullptr;
    }

    static void onContextState(pa_context* context, void* data) {
        auto& output = *static_cast<PulseOutput*>(data);
        const pa_context_state_t state = pa_context_get_state(context);
        if (state != PA_CONTEXT_READY && state != PA_CONTEXT_FAILED &&
            state != PA_CONTEXT_TERMINATED)
            return;
        std::vector<Playback*> waiting;
        waiting.swap(output.waiting_);
        for (Playback* playback : waiting)
            if (state != PA_CONTEXT_READY || !startStream(*playback, context))
                playback->reportFinished();
    }

    pa_threaded_mainloop* loop_;
    pa_context* context_ = nullptr;
    std::vector<Playback*> waiting_;
};

} // namespace

std::unique_ptr<SoundPlayer> SoundPlayer::open(const QString& path, double volume) {
    if (!readableSound(path))
        return nullptr;
    std::unique_ptr<SoundPlayer> player(new SoundPlayer(path));
    player->setVolume(volume);
    PulseOutput::shared().warmUp();
    return player;
}

SoundPlayer::SoundPlayer(QString path)
    : path_(std::move(path)), receiver_(std::make_unique<QObject>()) {}

SoundPlayer::~SoundPlayer() {
    release();
}

void SoundPlayer::setVolume(double volume) {
    volume_ = std::clamp(volume, 0.0, 1.0);
    if (!playback_)
        return;
    PulseOutput& output = PulseOutput::shared();
    output.lock();
    playback_->volume = volumeFor(playback_->format, volume_);
    pa_stream* stream = playback_->stream;
    if (stream && pa_stream_get_state(stream) == PA_STREAM_READY)
        unrefOperation(pa_context_set_sink_input_volume(pa_stream_get_context(stream),
                                                        pa_stream_get_index(stream),
                                                        &playback_->volume, nullptr, nullptr));
    else
        playback_->volumeChanged = true;
    output.unlock();
}

void SoundPlayer::play() {
    release();
    PulseOutput& output = PulseOutput::shared();
    sound_ = decodeSoundFile(path_);
    if (!sound_ || !output.running() || sound_->channels > int(PA_CHANNELS_MAX)) {
        sound_.reset();
        return;
    }
    playback_ = std::make_unique<Playback>();
    Playback& playback = *playback_;
    playback.player = this;
    playback.receiver = receiver_.get();
    playback.play = ++plays_;
    playback.data = sound_->samples.constData();
    playback.size = std::size_t(sound_->samples.size());
    playback.format = {PA_SAMPLE_S16NE, std::uint32_t(sound_->sampleRate),
                       std::uint8_t(sound_->channels)};
    playback.volume = volumeFor(playback.format, volume_);
    output.lock();
    const bool started = output.start(playback);
    output.unlock();
    if (!started)
        release();
}

void SoundPlayer::stop() {
    release();
}

bool SoundPlayer::isPlaying() const {
    return playback_ != nullptr;
}

void SoundPlayer::finished(std::uint64_t play) {
    if (playback_ && playback_->play == play)
        release();
}

void SoundPlayer::release() {
    if (playback_) {
        PulseOutput& output = PulseOutput::shared();
        output.lock();
        output.forget(*playback_);
        output.unlock();
        playback_.reset();
    }
    sound_.reset();
}

} // namespace velmor
