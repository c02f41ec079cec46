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

std::unique_ptr<SoundPlayer> SoundPlayer::open(const QString& path, double volume) {
    std::optional<DecodedSound> sound = decodeSoundFile(path);
    if (!sound)
        return nullptr;
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        return nullptr;
    QAudioFormat format;
    format.setSampleRate(sound->sampleRate);
    format.setChannelCount(sound->channels);
    format.setSampleFormat(QAudioFormat::Int16);
    auto sink = std::make_unique<QAudioSink>(device, format);
    std::unique_ptr<SoundPlayer> player(new SoundPlayer(path, std::move(*sound), std::move(sink)));
    player->setVolume(volume);
    return player;
}

SoundPlayer::SoundPlayer(QString path, DecodedSound sound, std::unique_ptr<QAudioSink> sink)
    : path_(std::move(path)), sound_(std::move(sound)), source_(std::make_unique<QBuffer>()),
      sink_(std::move(sink)) {
    source_->setBuffer(&sound_.samples);
    source_->open(QIODevice::ReadOnly);
    QObject::connect(sink_.get(), &QAudioSink::stateChanged, sink_.get(),
                     [this](QAudio::State state) {
                         if (state == QAudio::IdleState)
                             finishWhenDrained();
                     });
}

SoundPlayer::~SoundPlayer() {
    stop();
}

void SoundPlayer::setVolume(double volume) {
    volume_ = std::clamp(volume, 0.0, 1.0);
    sink_->setVolume(volume_);
}

void SoundPlayer::play() {
    stop();
    source_->seek(0);
    // Qt keeps the size the server granted last time and asks for less on every restart;
    // asking for the same size each time keeps restarts alike.
    sink_->setBufferSize(sink_->format().bytesForDuration(bufferMicroseconds));
    sink_->start(source_.get());
}

void SoundPlayer::stop() {
    if (sink_->state() != QAudio::StoppedState)
        sink_->stop();
}

bool SoundPlayer::isPlaying() const {
    return sink_->state() == QAudio::ActiveState || sink_->state() == QAudio::IdleState;
}

void SoundPlayer::finishWhenDrained() {
    // The whole file has been handed over; close the stream so nothing runs while idle.
    if (source_->atEnd())
        sink_->stop();
}

} // namespace velmor
