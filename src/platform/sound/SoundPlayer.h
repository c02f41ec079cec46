#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

class QAudioSink;
class QBuffer;

namespace velmor {

// A sound file decoded into memory: interleaved signed 16-bit samples.
struct DecodedSound {
    int sampleRate = 0;
    int channels = 0;
    QByteArray samples;

    qint64 frames() const {
        return channels > 0 ? samples.size() / qint64(sizeof(qint16) * channels) : 0;
    }
};

// Reads any file libsndfile knows (the shipped sounds are .caf); absent when the file is
// missing, unreadable or empty.
std::optional<DecodedSound> decodeSoundFile(const QString& path);

// One sound, decoded and ready, with its output opened at the file's format: play() is heard
// about 20 ms later. The stream to the sound server exists only while the sound plays, so an
// idle program keeps no stream, wake-ups or timers alive. Main thread only; the Qt event loop
// must run to feed the server.
class SoundPlayer final {
public:
    // No player when the file cannot be decoded or there is no sound server or output device.
    static std::unique_ptr<SoundPlayer> open(const QString& path, double volume);
    ~SoundPlayer();
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    QString path() const { return path_; }
    const DecodedSound& sound() const { return sound_; }

    double volume() const { return volume_; }
    void setVolume(double volume);

    // Stops whatever is ringing and starts again from the first sample.
    void play();
    void stop();
    bool isPlaying() const;

private:
    SoundPlayer(QString path, DecodedSound sound, std::unique_ptr<QAudioSink> sink);
    void finishWhenDrained();

    QString path_;
    DecodedSound sound_;
    double volume_ = 1.0;
    std::unique_ptr<QBuffer> source_;
    std::unique_ptr<QAudioSink> sink_;
};

} // namespace velmor
