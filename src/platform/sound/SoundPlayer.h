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

// One sound file, ready to play at a volume. The file is decoded and the stream to the sound
// server opened only when it plays, on the output that is the default then; both are let go
// when it has finished, so an idle program holds neither samples nor streams, wake-ups or
// timers. Main thread only; the Qt event loop must run to feed the server.
class SoundPlayer final {
public:
    // No player when the file cannot be read as sound or there is no output device now.
    static std::unique_ptr<SoundPlayer> open(const QString& path, double volume);
    ~SoundPlayer();
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    QString path() const { return path_; }

    double volume() const { return volume_; }
    void setVolume(double volume);

    // Stops whatever is ringing and starts again from the first sample. Does nothing when the
    // file can no longer be decoded or no output is there.
    void play();
    void stop();
    bool isPlaying() const;
    // Whether decoded samples are held (only from play() until the sound has finished).
    bool holdsSound() const { return sound_.has_value(); }

private:
    explicit SoundPlayer(QString path);
    void finishWhenDrained();
    void release();

    QString path_;
    double volume_ = 1.0;
    std::optional<DecodedSound> sound_;
    std::unique_ptr<QBuffer> source_;
    std::unique_ptr<QAudioSink> sink_;
};

} // namespace velmor
