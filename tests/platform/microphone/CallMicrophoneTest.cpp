#include "platform/microphone/AlsaMicrophone.h"
#include "platform/microphone/MicrophoneChain.h"
#include "platform/microphone/PulseMicrophone.h"

#include "SoundServer.h"
#include "TestHome.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>
#include <pulse/simple.h>

#include <memory>

using namespace velmor;

namespace {

void writeStatus(const QString& root, const QString& substream, const QByteArray& state) {
    test::writeFile(root + "/" + substream + "/status",
                    "state: " + state + "\nowner_pid   : 4242\ntrigger_time: 1.0\n");
}

// The answer follows change events: give a change the time to arrive before asserting that it
// made no difference.
std::optional<bool> settled(PulseMicrophone& microphone) {
    QThread::msleep(300);
    return microphone.query();
}

QString pactl(const QStringList& args) {
    QProcess process;
    process.start(QStringLiteral("pactl"), args);
    process.waitForFinished(5000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Whether a process has a recording stream yet (other tests may record from the same server).
bool recordsFrom(const QProcess& process) {
    return pactl({"list", "source-outputs"})
        .contains(QStringLiteral("application.process.id = \"%1\"").arg(process.processId()));
}

// A recorder in its own process, stopped when the test leaves its scope.
struct Recorder {
    QProcess process;
    Recorder(const QString& program, const QStringList& args) {
        process.setStandardOutputFile(QProcess::nullDevice());
        process.start(program, args);
        process.waitForStarted(5000);
    }
    ~Recorder() { stop(); }
    void stop() {
        process.kill();
        process.waitForFinished(5000);
    }
};

} // namespace

TEST(AlsaMicrophone, RunningCaptureSubstreamMeansInUse) {
    test::TestHome home;
    const QString root = home.path() + "/asound";
    EXPECT_FALSE(AlsaMicrophone(root).isInUse()); // no tree at all
    writeStatus(root, "card0/pcm0c/sub0", "PREPARED");
    writeStatus(root, "card0/pcm0p/sub0", "RUNNING"); // playback does not count
    test::writeFile(root + "/card0/pcm1c/sub0/status", "closed\n");
    EXPECT_FALSE(AlsaMicrophone(root).isInUse());
    writeStatus(root, "card1/pcm2c/sub1", "RUNNING");
    EXPECT_TRUE(AlsaMicrophone(root).isInUse());

    // The ALSA tree stands in only when no sound server answers.
    const QByteArray nowhere = "unix:" + home.path().toUtf8() + "/no-such-socket";
    EXPECT_EQ(PulseMicrophone(nowhere, 2000).query(), std::nullopt);
    EXPECT_EQ(MicrophoneChain(PulseMicrophone(nowhere, 2000), AlsaMicrophone(root)).isActive(),
              true);
    EXPECT_EQ(MicrophoneChain(PulseMicrophone(nowhere, 2000), AlsaMicrophone(home.path() + "/none"))
                  .isActive(),
              false);
}

// A server of its own: when it goes, the answer goes with it; when it comes back, the next
// questions find it again.
TEST(PulseMicrophone, LostServerIsFoundAgain) {
    if (QStandardPaths::findExecutable(QStringLiteral("pulseaudio")).isEmpty())
        GTEST_SKIP() << "pulseaudio is not installed";
    test::TestHome home;
    auto server = std::make_unique<test::SoundServer>(home.path() + "/runtime");
    ASSERT_TRUE(server->start());
    PulseMicrophone microphone(server->address(), 2000);
    ASSERT_TRUE(QTest::qWaitFor([&] { return microphone.query() == false; }));
    server.reset();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !microphone.query().has_value(); }));
    test::SoundServer again(home.path() + "/runtime");
    ASSERT_TRUE(again.start());
    EXPECT_TRUE(QTest::qWaitFor([&] { return microphone.query() == false; }));
}

// One test, not several: the cases share the server's default source and must not overlap.
// The answer is kept current by the server's change events: the same object sees each change.
// The private sound server of scripts/run-tests.sh, whose default source is the null sink "mic".
TEST(PulseMicrophone, DefaultSourceRecordedByAnotherProgramIsInUse) {
    test::TestHome home;
    PulseMicrophone microphone({}, 2000);
    ASSERT_TRUE(QTest::qWaitFor([&] { return microphone.query() == false; }))
        << "no sound server: run through scripts/run-tests.sh";

    // Recording what a sink plays is not the microphone.
    Recorder monitor(QStringLiteral("parec"), {"-d", "out.monitor"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return recordsFrom(monitor.process); }));
    EXPECT_EQ(settled(microphone), false);

    // Our own recording stream is not a call either.
    pa_sample_spec format{PA_SAMPLE_S16LE, 16000, 1};
    pa_simple* own = pa_simple_new(nullptr, "velmor-test", PA_STREAM_RECORD, "micsrc", "own",
                                   &format, nullptr, nullptr, nullptr);
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(settled(microphone), false);

    // Nor is a level meter of a volume control.
    Recorder meter(QStringLiteral(VELMOR_PEAK_METER), {"micsrc"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return recordsFrom(meter.process); }));
    EXPECT_EQ(settled(microphone), false);

    {
        Recorder call(QStringLiteral("parecord"), {"-d", "micsrc", home.path() + "/call.wav"});
        EXPECT_TRUE(QTest::qWaitFor([&] { return microphone.query() == true; }));
        call.stop();
        EXPECT_TRUE(QTest::qWaitFor([&] { return microphone.query() == false; }));
    }
    pa_simple_free(own);

    // A monitor chosen as the default source is still not a microphone.
    const QString oldDefault = pactl({"get-default-source"}).trimmed();
    pactl({"set-default-source", "out.monitor"});
    EXPECT_EQ(settled(microphone), false);
    pactl({"set-default-source", oldDefault.isEmpty() ? QStringLiteral("micsrc") : oldDefault});
}
