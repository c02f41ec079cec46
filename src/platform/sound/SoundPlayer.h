#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

class QObject;

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
// timers. Each play uses the sound server running at that moment: one that was restarted or
// started after the player is heard from the next play on; without one, playing is silent.
// Main thread only; the Qt event loop must run for a finished sound to be let go.
class SoundPlayer final {
public:
    // No player when the file cannot be read as sound.
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

    struct Playback;

private:
    explicit SoundPlayer(QString path);
    void finished(std::uint64_t play);
    void release();

    QString path_;
    double volume_ = 1.0;
    std::optional<DecodedSound> sound_;
    std::uint64_t plays_ = 0;
    // The stream of the sound being played, shared with the sound server's thread.
    std::unique_ptr<Playback> playback_;
    // Where that thread's news lands on the main thread; gone with the player.
    std::unique_ptr<QObject> receiver_;
};

} // namespace velmor
