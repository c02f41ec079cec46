// Sound servers that go away and come (back) while the program runs. Each test runs its own
// PulseAudio, stops it and starts a fresh one in the same runtime folder.

#include "SoundServer.h"
#include "SoundRecording.h"
#include "TestApp.h"
#include "TestHome.h"
#include "core/base/Resources.h"
#include "platform/sound/SoundManager.h"
#include "platform/sound/SoundPlayer.h"

#include <QCoreApplication>
#include <QStandardPaths>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace velmor;
using namespace velmor::test;

namespace {

class ComingAndGoingServer : public ::testing::Test {
protected:
    void SetUp() override {
        test::coreApplication();
        if (QStandardPaths::findExecutable("pulseaudio").isEmpty())
            GTEST_SKIP() << "no pulseaudio to start";
        setResourcesDir(VELMOR_RESOURCES_DIR);
        qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
        qunsetenv("PULSE_SERVER");
    }
    void TearDown() override {
        setResourcesDir(QString());
        qputenv("XDG_RUNTIME_DIR", savedRuntime);
    }

    std::unique_ptr<SoundPlayer> player(const QString& name) {
        return SoundPlayer::open(resourcePath("sounds/" + name + ".caf"), 0.5);
    }
    // One clean start of the sound at the player's volume in what the server's sink plays.
    void expectHeardOnce(SoundPlayer& sound, const QString& name) {
        Recording recording;
        ASSERT_TRUE(recording.start()) << "parec cannot record out.monitor";
        sound.play();
        test::expectHeardOnce(recording, name, 0.5);
    }
    static bool released(const SoundPlayer& sound) {
        return QTest::qWaitFor([&] { return !sound.holdsSound() && !sound.isPlaying(); }, 3000);
    }

    QByteArray savedRuntime = qgetenv("XDG_RUNTIME_DIR");
    TestHome home;
    QString runtime = home.path() + "/runtime";
};

// Without a server the players are there all the same, and playing lets the samples go at once
// and says nothing; a server that starts, or starts again, is heard from the next play.
TEST_F(ComingAndGoingServer, PlayersAreHeardFromTheNextPlayOnceAServerRuns) {
    testing::internal::CaptureStderr();
    SoundManager manager([] { return nullptr; });
    manager.prepare(VelmorSound::stone, 0.5);
    auto stone = player("stone");
    auto bowl = player("singing-bowl");
    const bool players = stone && bowl && manager.arrivalPlayer() && manager.departurePlayer();
    if (stone)
        stone->play();
    const bool wasReleased = stone && released(*stone);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    ASSERT_TRUE(players) << "no server yet is no reason for no player";
    EXPECT_TRUE(wasReleased);

    auto first = std::make_unique<SoundServer>(runtime);
    ASSERT_TRUE(first->start());
    expectHeardOnce(*stone, "stone");

    // Gone while a long sound rings: the sound is let go, nothing hangs.
    bowl->play();
    QTest::qWait(300);
    ASSERT_TRUE(bowl->isPlaying());
    first.reset();
    EXPECT_TRUE(released(*bowl));

    SoundServer second(runtime);
    ASSERT_TRUE(second.start());
    expectHeardOnce(*stone, "stone");
    expectHeardOnce(*bowl, "singing-bowl");
}

} // namespace
