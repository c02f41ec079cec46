#include "platform/desktop/SingleInstance.h"
#include "TestApp.h"
#include "TestHome.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace velmor;

namespace {

// One launch of the probe program in its own process.
class Probe {
public:
    // In the test's environment as it is at this moment.
    Probe(const QString& folder, const QString& request, const QString& gate = {}) {
        test::coreApplication();
        process_.setProcessChannelMode(QProcess::MergedChannels);
        QStringList args{folder, request};
        if (!gate.isEmpty())
            args << gate;
        process_.start(QStringLiteral(VELMOR_INSTANCE_PROBE), args);
        process_.waitForStarted();
    }
    ~Probe() {
        process_.kill();
        process_.waitForFinished();
    }
    qint64 pid() const { return process_.processId(); }
    QByteArray output() {
        output_ += process_.readAll();
        return output_;
    }
    bool waitFor(const QByteArray& text, int ms = 8000) {
        const QDeadlineTimer deadline(ms);
        while (!output().contains(text)) {
            if (deadline.hasExpired() || process_.state() == QProcess::NotRunning)
                return output().contains(text);
            process_.waitForReadyRead(100);
        }
        return true;
    }
    // The exit status, or -1 while it still runs after `ms`.
    int exitCode(int ms = 8000) {
        if (process_.state() != QProcess::NotRunning && !process_.waitForFinished(ms))
            return -1;
        output();
        return process_.exitCode();
    }
    bool running() const { return process_.state() == QProcess::Running; }

private:
    QProcess process_;
    QByteArray output_;
};

QString socketIn(const QString& folder) {
    return folder + QStringLiteral("/velmor.socket");
}

// Sends `text` and reads `lines` answer lines; stops early when the instance hangs up.
QList<QByteArray> ask(QLocalSocket& socket, const QByteArray& text, int lines) {
    socket.write(text);
    socket.flush();
    QList<QByteArray> answers;
    const QDeadlineTimer deadline(5000);
    while (answers.size() < lines && !deadline.hasExpired()) {
        while (socket.canReadLine() && answers.size() < lines)
            answers.append(socket.readLine().trimmed());
        if (answers.size() < lines && !socket.waitForReadyRead(100) &&
            socket.state() != QLocalSocket::ConnectedState)
            break;
    }
    return answers;
}

// Writes up to `bytes` without a newline until the other end hangs up; what was sent and what
// came back.
std::pair<qint64, QByteArray> flood(const QString& socketPath, qint64 bytes) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray path = QFile::encodeName(socketPath);
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    const timeval patience{5, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &patience, sizeof patience);
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &patience, sizeof patience);
    qint64 sent = 0;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        const QByteArray chunk(1 << 16, 'x');
        for (ssize_t n = 0; sent < bytes && n >= 0; sent += std::max<ssize_t>(n, 0))
            n = ::send(fd, chunk.constData(), size_t(chunk.size()), MSG_NOSIGNAL);
    }
    char answer[64] = {};
    const ssize_t got = ::recv(fd, answer, sizeof answer, 0);
    ::close(fd);
    return {sent, QByteArray(answer, int(std::max<ssize_t>(got, 0)))};
}

} // namespace

TEST(SingleInstance, LaunchesInTheSameInstantLeaveOne) {
    for (int round = 0; round < 4; ++round) {
        QTemporaryDir folder;
        const QString gate = folder.path() + QStringLiteral("/gate");
        ASSERT_EQ(::mkfifo(QFile::encodeName(gate).constData(), 0600), 0);
        // Held open for writing so the probes' opens do not block: they wait in read().
        const int release = ::open(QFile::encodeName(gate).constData(), O_RDWR);
        std::vector<std::unique_ptr<Probe>> probes;
        for (int i = 0; i < 3; ++i)
            probes.push_back(
                std::make_unique<Probe>(folder.path(), QStringLiteral("reopen"), gate));
        QThread::msleep(500); // all three are waiting on the gate
        ASSERT_EQ(::write(release, "xxx", 3), 3);
        ::close(release);

        int first = -1;
        for (int i = 0; i < 3; ++i) {
            if (probes[i]->waitFor("first", 3000) && first < 0) {
                first = i;
            } else { // a second "first" still runs, and fails here
                EXPECT_EQ(probes[i]->exitCode(), 0) << probes[i]->output().constData();
                EXPECT_TRUE(probes[i]->output().contains("handed over"));
            }
        }
        ASSERT_GE(first, 0) << "no probe took the instance";
        Probe& survivor = *probes[first];
        EXPECT_TRUE(survivor.running());
        EXPECT_TRUE(test::readFile(folder.path() + QStringLiteral("/velmor.lock"))
                        .startsWith(QByteArray::number(survivor.pid()) + '\n'));
        EXPECT_TRUE(survivor.waitFor("got reopen\ngot reopen\n")) << survivor.output().constData();
    }
}

// A killed instance's lock and a stalled instance are checked on the real program by
// tests/app/instance_test.sh.
TEST(SingleInstance, RequestsAreLinesEachAnswered) {
    QTemporaryDir folder;
    Probe running(folder.path(), QStringLiteral("reopen"));
    ASSERT_TRUE(running.waitFor("first"));
    QLocalSocket a, b;
    for (QLocalSocket* s : {&a, &b}) {
        s->connectToServer(socketIn(folder.path()));
        ASSERT_TRUE(s->waitForConnected(2000));
    }

    EXPECT_EQ(ask(a, "pause\nresume\nnow\n", 3), (QList<QByteArray>{"ok", "ok", "ok"}));
    EXPECT_TRUE(running.waitFor("got pause\ngot resume\ngot now\n"));
    EXPECT_EQ(ask(a, "dance\n", 1), QList<QByteArray>{"error: unknown request"});

    // A half-written line on one connection holds up no other.
    EXPECT_EQ(ask(a, "pa", 0), QList<QByteArray>{});
    EXPECT_EQ(ask(b, "resume\r\n", 1), QList<QByteArray>{"ok"});
    EXPECT_EQ(ask(a, "use\n", 1), QList<QByteArray>{"ok"});
    EXPECT_TRUE(running.waitFor("got now\ngot resume\ngot pause\n"));

    // A line with no end is cut off and its sender dropped long before 64 MB have gone.
    const auto [sent, answer] = flood(socketIn(folder.path()), 64 << 20);
    EXPECT_LT(sent, 16 << 20);
    EXPECT_EQ(answer, "error: request too long\n");
    EXPECT_EQ(ask(b, "now\n", 1), QList<QByteArray>{"ok"});
    EXPECT_FALSE(running.output().contains("got dance"));
}

TEST(SingleInstance, RuntimeFolderIsOursAlone) {
    test::coreApplication();
    QTemporaryDir root;
    const QString runtime = root.path() + QStringLiteral("/runtime");
    const QString temp = root.path() + QStringLiteral("/tmp");
    QDir().mkpath(runtime);
    QDir().mkpath(temp);
    ::chmod(QFile::encodeName(runtime).constData(), 0700);
    const QByteArray oldRuntime = qgetenv("XDG_RUNTIME_DIR"), oldTemp = qgetenv("TMPDIR");
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
    qputenv("TMPDIR", QFile::encodeName(temp));
    EXPECT_EQ(SingleInstance::runtimeFolder(), runtime);

    // A runtime folder others may enter is not used; a folder of ours under TMPDIR is.
    ::chmod(QFile::encodeName(runtime).constData(), 0755);
    const QString ours = temp + QStringLiteral("/velmor-") + QString::number(::getuid());
    EXPECT_EQ(SingleInstance::runtimeFolder(), ours);
    struct stat st {};
    ASSERT_EQ(::lstat(QFile::encodeName(ours).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    // Someone else's folder at that name, with a socket listening in it, is passed over and
    // hears nothing from our launches.
    QDir(ours).removeRecursively();
    QDir().mkpath(ours);
    QLocalServer squatter;
    ASSERT_TRUE(squatter.listen(socketIn(ours)));
    if (::getuid() == 0) {
        ASSERT_EQ(::chown(QFile::encodeName(ours).constData(), 65534, 65534), 0);
    } else {
        ::chmod(QFile::encodeName(ours).constData(), 0777); // open to all: not private
    }
    qunsetenv("XDG_RUNTIME_DIR");
    const QString chosen = SingleInstance::runtimeFolder();
    EXPECT_NE(chosen, ours);
    EXPECT_TRUE(chosen.startsWith(temp)) << chosen.toStdString();
    // A link at the next name does not lead us anywhere either.
    QDir(chosen).removeRecursively();
    ASSERT_TRUE(QFile::link(runtime, chosen));
    ::chmod(QFile::encodeName(runtime).constData(), 0700);
    const QString afterLink = SingleInstance::runtimeFolder();
    EXPECT_NE(afterLink, chosen);
    EXPECT_NE(afterLink, ours);

    Probe launch(QStringLiteral("-"), QStringLiteral("now"));
    EXPECT_TRUE(launch.waitFor("first")) << launch.output().constData();
    EXPECT_TRUE(QFile::exists(socketIn(afterLink)));
    EXPECT_FALSE(squatter.waitForNewConnection(300));

    for (const auto& [name, value] :
         {std::pair{"XDG_RUNTIME_DIR", oldRuntime}, {"TMPDIR", oldTemp}})
        value.isEmpty() ? qunsetenv(name) : qputenv(name, value);
}
