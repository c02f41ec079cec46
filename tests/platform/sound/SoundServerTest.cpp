// Sound servers that go away and come (back) while the program runs. Each test runs its own
// PulseAudio, started as the test runner starts the shared one but in a private runtime
// folder, stops it by its process id and starts a fresh one in the same folder.

#include "SoundRecording.h"
#include "TestApp.h"
#include "TestHome.h"
#include "core/base/Resources.h"
#include "platform/sound/SoundPlayer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>
#include <memory>

using namespace velmor;
using namespace velmor::test;

namespace {

class SoundServer {
public:
    explicit SoundServer(const QString& runtimeDir) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", runtimeDir);
        // Off the session bus and the display: a server claims the bus name of the one sound
        // server per session, so two tests' servers running side by side would refuse each other.
        env.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus");
        env.remove("DISPLAY");
        process_.setProcessEnvironment(env);
        process_.setProcessChannelMode(QProcess::MergedChannels);
    }
    ~SoundServer() { stop(); }

    // Started once its sink is there to record.
    bool start() {
        process_.start("pulseaudio",
                       {"-n", "--daemonize=no", "--exit-idle-time=-1", "--disallow-exit",
                        "--use-pid-file=no", "--load=module-native-protocol-unix",
                        "--load=module-null-sink sink_name=out"});
        if (process_.waitForStarted(5000) && QTest::qWaitFor(soundServerAnswers, 10000))
            return true;
        ADD_FAILURE() << "pulseaudio did not start:\n" << process_.readAll().toStdString();
        return false;
    }
    // As a crash or a restart by the desktop does it: the process goes, its clients are cut off.
    void stop() {
        if (process_.state() == QProcess::NotRunning)
            return;
        ::kill(pid_t(process_.processId()), SIGTERM);
        process_.waitForFinished(5000);
    }

private:
    QProcess process_;
};

class ComingAndGoingServer : public ::testing::Test {
protected:
    void SetUp() override {
        test::coreApplication();
        if (QStandardPaths::findExecutable("pulseaudio").isEmpty())
            GTEST_SKIP() << "no pulseaudio to start";
        setResourcesDir(VELMOR_RESOURCES_DIR);
        ASSERT_TRUE(QDir().mkpath(runtime));
        QFile(runtime).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
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

TEST_F(ComingAndGoingServer, ARestartedServerIsHeardFromTheNextPlay) {
    auto first = std::make_unique<SoundServer>(runtime);
    ASSERT_TRUE(first->start());
    auto stone = player("stone");
    auto bowl = player("singing-bowl");
    ASSERT_TRUE(stone && bowl);
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

TEST_F(ComingAndGoingServer, APlayerMadeBeforeTheServerStartsIsHeardOnceItRuns) {
    auto stone = player("stone");
    ASSERT_TRUE(stone) << "no server yet is no reason for no player";
    stone->play();
    EXPECT_TRUE(released(*stone));

    SoundServer server(runtime);
    ASSERT_TRUE(server.start());
    expectHeardOnce(*stone, "stone");
}

} // namespace
