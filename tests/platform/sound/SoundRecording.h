#pragma once

// Recording what a sound server plays, through the monitor of its null sink, and finding a
// sound file in the recording.

#include "core/base/Resources.h"
#include "platform/sound/SoundPlayer.h"

#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace velmor::test {

constexpr int rate = 48000;
using Samples = std::vector<qint16>;

inline bool heard(const Samples& s) {
    return std::any_of(s.begin(), s.end(), [](qint16 v) { return std::abs(v) > 4; });
}

// What the sink "out" of the server in XDG_RUNTIME_DIR plays from now on, 48 kHz mono.
class Recording {
public:
    bool start() {
        parec_.start("parec", {"-d", "out.monitor", "--raw", "--format=s16le", "--rate=48000",
                               "--channels=1", "--latency-msec=10"});
        // parec is slow to deliver its first blocks; measure only once it streams.
        return parec_.waitForStarted(5000) &&
               QTest::qWaitFor([this] { return parec_.bytesAvailable() >= rate / 5; }, 10000);
    }
    ~Recording() { parec_.kill(), parec_.waitForFinished(); }

    void restart() { QTest::qWait(50), parec_.readAll(), samples_.clear(); }
    const Samples& keepFor(int ms) { return QTest::qWait(ms), collect(); }
    const Samples& keepUntilHeardThen(int ms) {
        static_cast<void>(QTest::qWaitFor([this] { return heard(collect()); }, 5000));
        return keepFor(ms);
    }

private:
    const Samples& collect() {
        const QByteArray bytes = parec_.readAll();
        const auto* data = reinterpret_cast<const qint16*>(bytes.constData());
        samples_.insert(samples_.end(), data, data + bytes.size() / 2);
        return samples_;
    }
    QProcess parec_;
    Samples samples_;
};

inline Samples samplesOf(const DecodedSound& sound) {
    const auto* data = reinterpret_cast<const qint16*>(sound.samples.constData());
    return {data, data + sound.samples.size() / 2};
}

// Each start of the sound in the recording, with its level relative to the file. It compares
// 50 ms taken 40 ms after the attack, almost sample for sample (the server only scales), so a
// sound mixed with another or started elsewhere does not count. The attack itself is skipped:
// a null sink renders ahead and rewinds when a stream joins, which its monitor cannot, so the
// monitor misses the first milliseconds of each sound (a real device plays them).
inline std::vector<double> startsOf(const QString& name, const Samples& recording) {
    const Samples sound = samplesOf(*decodeSoundFile(resourcePath("sounds/" + name + ".caf")));
    const int peak = std::abs(*std::max_element(
        sound.begin(), sound.end(), [](int a, int b) { return std::abs(a) < std::abs(b); }));
    const auto attack =
        std::find_if(sound.begin(), sound.end(), [&](qint16 v) { return std::abs(v) >= peak / 4; });
    const Samples part(attack + rate / 25, attack + rate / 25 + rate / 20);
    double partNorm = 0;
    for (qint16 v : part)
        partNorm += double(v) * v;
    std::vector<double> gains;
    for (std::size_t lag = 0; lag + part.size() <= recording.size(); ++lag) {
        double dot = 0, norm = 0;
        for (std::size_t k = 0; k < part.size(); ++k) {
            dot += double(recording[lag + k]) * part[k];
            norm += double(recording[lag + k]) * recording[lag + k];
        }
        if (norm > 0 && dot / std::sqrt(norm * partNorm) > 0.999) {
            gains.push_back(dot / partNorm);
            lag += rate / 50;
        }
    }
    return gains;
}

// One clean start of the sound, at `gain` of the file's level, in what is recorded from now on.
inline void expectHeardOnce(Recording& recording, const QString& name, double gain) {
    const std::vector<double> starts = startsOf(name, recording.keepUntilHeardThen(600));
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_NEAR(starts[0], gain, 0.01);
}

} // namespace velmor::test
