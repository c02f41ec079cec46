// The sound manager heard through a real sound server: what it plays is recorded from the
// monitor of the null sink "out" that scripts/run-tests.sh makes the default output.

#include "platform/sound/SoundManager.h"
#include "TestHome.h"
#include "VirtualClock.h"
#include "core/base/Resources.h"
#include "core/model/Commands.h"
#include "core/settings/AppState.h"
#include "core/settings/SettingsStore.h"
#include "platform/sound/SoundPlayer.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

using namespace velmor;

namespace {

constexpr int rate = 48000;
using Samples = std::vector<qint16>;

bool heard(const Samples& s) {
    return std::any_of(s.begin(), s.end(), [](qint16 v) { return std::abs(v) > 4; });
}

// What the default sink plays from now on, 48 kHz mono.
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

Samples fileSamples(const QString& name) {
    const auto decoded = decodeSoundFile(resourcePath("sounds/" + name + ".caf"));
    const auto* data = reinterpret_cast<const qint16*>(decoded->samples.constData());
    return {data, data + decoded->samples.size() / 2};
}

// Each start of the sound in the recording, with its level relative to the file. It compares
// 50 ms taken 40 ms after the attack, almost sample for sample (the server only scales), so a
// sound mixed with another or started elsewhere does not count. The attack itself is skipped:
// a null sink renders ahead and rewinds when a stream joins, which its monitor cannot, so the
// monitor misses the first milliseconds of each sound (a real device plays them).
std::vector<double> startsOf(const QString& name, const Samples& recording) {
    const Samples sound = fileSamples(name);
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

class SoundThroughServer : public ::testing::Test {
protected:
    void SetUp() override {
        setResourcesDir(VELMOR_RESOURCES_DIR);
        if (QMediaDevices::defaultAudioOutput().isNull())
            GTEST_SKIP() << "no sound server";
        ASSERT_TRUE(recording.start()) << "parec cannot record out.monitor";
    }
    void TearDown() override { setResourcesDir(QString()); }

    // Wired as the program wires them: the manager first, the state it reads afterwards.
    void makeState(const QString& sound, double volume, bool departure) {
        store.setValue("selectedSound", sound);
        store.setValue("soundVolume", volume);
        store.setValue("departureEnabled", departure);
        state = std::make_unique<AppState>(store, notifications, manager);
    }

    test::TestHome home;
    test::VirtualClock clock;
    SettingsStore store{QString(), clock};
    Commands notifications;
    std::unique_ptr<AppState> state;
    SoundManager manager{[this] { return state.get(); }};
    Recording recording;
};

TEST_F(SoundThroughServer, ArrivalAtTheVolumeAndDepartureAtSixtyPercentOfIt) {
    makeState("Stone", 0.5, true);
    manager.playArrival();
    const std::vector<double> arrival = startsOf("stone", recording.keepUntilHeardThen(800));
    ASSERT_EQ(arrival.size(), 1u);
    EXPECT_NEAR(arrival[0], 0.5, 0.01);

    recording.restart();
    manager.playDeparture();
    const std::vector<double> departure = startsOf("stone-soft", recording.keepUntilHeardThen(800));
    ASSERT_EQ(departure.size(), 1u);
    EXPECT_NEAR(departure[0], 0.3, 0.01);
    EXPECT_FALSE(manager.arrivalPlayer()->isPlaying()) << "the stream outlives the sound";
}

TEST_F(SoundThroughServer, SilenceAndADisabledDepartureStayQuiet) {
    makeState("Wooden Block", 0.7, false);
    manager.playDeparture();
    EXPECT_FALSE(heard(recording.keepFor(700)));

    state->setSelectedSound(VelmorSound::silence);
    state->setDepartureEnabled(true);
    EXPECT_FALSE(manager.arrivalPlayer());
    EXPECT_FALSE(manager.departurePlayer());
    manager.preview(VelmorSound::silence);
    manager.playArrival();
    manager.playDeparture();
    EXPECT_FALSE(heard(recording.keepFor(700)));

    // A previewed sound is heard, yet with silence chosen no overlay plays it.
    manager.preview(VelmorSound::stone);
    EXPECT_TRUE(heard(recording.keepUntilHeardThen(700)));
    recording.restart();
    manager.playArrival();
    EXPECT_FALSE(heard(recording.keepFor(700)));
}

TEST_F(SoundThroughServer, ASecondArrivalRestartsTheRingingSound) {
    makeState("Singing Bowl", 0.8, false);
    manager.playArrival();
    recording.keepUntilHeardThen(400);
    manager.playArrival();
    // Two clean starts: the second replaced the first instead of mixing with it.
    EXPECT_EQ(startsOf("singing-bowl", recording.keepFor(600)).size(), 2u);
}

TEST_F(SoundThroughServer, PreviewReplacesTheArrivalPlayerUntilTheNextPreparation) {
    makeState("Singing Bowl", 0.6, false);
    const QString bowl = manager.arrivalPlayer()->path();
    manager.preview(VelmorSound::stone);
    EXPECT_DOUBLE_EQ(manager.arrivalPlayer()->volume(), 0.6);
    EXPECT_TRUE(manager.departurePlayer()->path().endsWith("/singing-bowl-soft.caf"));
    recording.keepUntilHeardThen(800);

    recording.restart();
    manager.playArrival();
    const Samples& next = recording.keepUntilHeardThen(800);
    EXPECT_EQ(startsOf("stone", next).size(), 1u);
    EXPECT_TRUE(startsOf("singing-bowl", next).empty());

    state->setSoundVolume(0.6);
    EXPECT_EQ(manager.arrivalPlayer()->path(), bowl);
}

TEST_F(SoundThroughServer, SamplesAreHeldOnlyWhileASoundPlays) {
    makeState("Stone", 0.8, true);
    EXPECT_FALSE(manager.arrivalPlayer()->holdsSound());
    EXPECT_FALSE(manager.departurePlayer()->holdsSound());
    manager.playArrival();
    EXPECT_TRUE(manager.arrivalPlayer()->holdsSound());
    EXPECT_EQ(startsOf("stone", recording.keepUntilHeardThen(400)).size(), 1u);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !manager.arrivalPlayer()->holdsSound(); }, 10000))
        << "let go once it has finished";
    EXPECT_FALSE(manager.arrivalPlayer()->isPlaying());

    // Played again from the file, as the first time.
    recording.restart();
    manager.playArrival();
    EXPECT_EQ(startsOf("stone", recording.keepUntilHeardThen(400)).size(), 1u);
}

} // namespace
