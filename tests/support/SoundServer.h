#pragma once

// A PulseAudio of a test's own with one null sink "out", in a private runtime folder, started as
// the test runner starts the shared one.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

namespace velmor::test {

// Whether the sound server at `address` (by default the one of XDG_RUNTIME_DIR or PULSE_SERVER)
// is up.
inline bool soundServerAnswers(const QString& address = {}) {
    QProcess pactl;
    pactl.start("pactl", address.isEmpty() ? QStringList{"info"}
                                           : QStringList{"--server=" + address, "info"});
    return pactl.waitForFinished(5000) && pactl.exitStatus() == QProcess::NormalExit &&
           pactl.exitCode() == 0;
}

class SoundServer {
public:
    explicit SoundServer(const QString& runtimeDir) : runtime_(runtimeDir) {
        QDir().mkpath(runtimeDir);
        QFile(runtimeDir).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
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

    QByteArray address() const { return "unix:" + QFile::encodeName(runtime_) + "/pulse/native"; }

    // Started once it answers.
    bool start() {
        process_.start("pulseaudio",
                       {"-n", "--daemonize=no", "--exit-idle-time=-1", "--disallow-exit",
                        "--use-pid-file=no", "--load=module-native-protocol-unix",
                        "--load=module-null-sink sink_name=out"});
        const auto answers = [this] { return soundServerAnswers(QString::fromUtf8(address())); };
        if (process_.waitForStarted(5000) && QTest::qWaitFor(answers, 10000))
            return true;
        ADD_FAILURE() << "pulseaudio did not start:\n" << process_.readAll().toStdString();
        return false;
    }
    // As a crash or a restart by the desktop does it: the process goes, its clients are cut off.
    void stop() {
        process_.terminate();
        process_.waitForFinished(5000);
    }

private:
    QString runtime_;
    QProcess process_;
};

} // namespace velmor::test
