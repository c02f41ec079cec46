#include "platform/sound/SoundPlayer.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QFile>
#include <QMediaDevices>

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace velmor {

namespace {
// What the server holds ahead of the listener: enough to ride out a busy event loop.
constexpr qint64 bufferMicroseconds = 100'000;
} // namespace

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

std::unique_ptr<SoundPlayer> SoundPlayer::open(const QString& path, double volume) {
    if (!readableSound(path) || QMediaDevices::defaultAudioOutput().isNull())
        return nullptr;
    std::unique_ptr<SoundPlayer> player(new SoundPlayer(path));
    player->setVolume(volume);
    return player;
}

SoundPlayer::SoundPlayer(QString path)
    : path_(std::move(path)), source_(std::make_unique<QBuffer>()) {}

SoundPlayer::~SoundPlayer() {
    release();
}

void SoundPlayer::setVolume(double volume) {
    volume_ = std::clamp(volume, 0.0, 1.0);
    if (sink_)
        sink_->setVolume(volume_);
}

void SoundPlayer::play() {
    release();
    sound_ = decodeSoundFile(path_);
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (!sound_ || device.isNull()) {
        sound_.reset();
        return;
    }
    QAudioFormat format;
    format.setSampleRate(sound_->sampleRate);
    format.setChannelCount(sound_->channels);
    format.setSampleFormat(QAudioFormat::Int16);
    sink_ = std::make_unique<QAudioSink>(device, format);
    sink_->setVolume(volume_);
    QObject::connect(sink_.get(), &QAudioSink::stateChanged, sink_.get(),
                     [this](QAudio::State state) {
                         if (state == QAudio::IdleState)
                             finishWhenDrained();
                     });
    source_->setBuffer(&sound_->samples);
    source_->open(QIODevice::ReadOnly);
    sink_->setBufferSize(format.bytesForDuration(bufferMicroseconds));
    sink_->start(source_.get());
}

void SoundPlayer::stop() {
    release();
}

bool SoundPlayer::isPlaying() const {
    return sink_ && (sink_->state() == QAudio::ActiveState || sink_->state() == QAudio::IdleState);
}

void SoundPlayer::finishWhenDrained() {
    // The whole file has been handed over: close the stream and let the samples go.
    if (source_->atEnd())
        release();
}

void SoundPlayer::release() {
    if (sink_) {
        QAudioSink* sink = sink_.release();
        sink->disconnect();
        sink->stop();
        // This may run inside the sink's own signal.
        sink->deleteLater();
    }
    source_->close();
    source_->setBuffer(nullptr); // off the samples before they go
    sound_.reset();
}

} // namespace velmor
