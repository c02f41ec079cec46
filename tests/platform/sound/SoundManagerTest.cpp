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

#include "SoundRecording.h"
#include "SoundServer.h"

#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace velmor;
using namespace velmor::test;

namespace {

class SoundThroughServer : public ::testing::Test {
protected:
    void SetUp() override {
        setResourcesDir(VELMOR_RESOURCES_DIR);
        if (!test::soundServerAnswers())
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

// The samples are held only while a sound plays, and read from the file again for the next.
TEST_F(SoundThroughServer, ArrivalAtTheVolumeAndDepartureAtSixtyPercentOfIt) {
    makeState("Stone", 0.5, true);
    EXPECT_FALSE(manager.arrivalPlayer()->holdsSound());
    EXPECT_FALSE(manager.departurePlayer()->holdsSound());
    manager.playArrival();
    EXPECT_TRUE(manager.arrivalPlayer()->holdsSound());
    expectHeardOnce(recording, "stone", 0.5);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !manager.arrivalPlayer()->holdsSound(); }, 10000))
        << "let go once it has finished";
    EXPECT_FALSE(manager.arrivalPlayer()->isPlaying()) << "the stream outlives the sound";
    recording.restart();
    manager.playDeparture();
    expectHeardOnce(recording, "stone-soft", 0.3);
    recording.restart();
    manager.playArrival();
    expectHeardOnce(recording, "stone", 0.5);
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

    state->setSoundVolume(0.8);
    EXPECT_EQ(manager.arrivalPlayer()->path(), bowl);

    // A second arrival while the bowl rings: two clean starts, the second replaced the first
    // instead of mixing with it.
    recording.restart();
    manager.playArrival();
    recording.keepUntilHeardThen(400);
    manager.playArrival();
    EXPECT_EQ(startsOf("singing-bowl", recording.keepFor(600)).size(), 2u);
}

} // namespace
