// Measures how soon a prepared player is heard: the time from play() to the first non-silent
// block a monitor recorder receives (an upper bound: it includes the recorder's own 5 ms
// blocks), and how many times the process wakes while the players sit idle.

#include "platform/Resources.h"
#include "platform/SoundPlayer.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

using namespace velmor;

namespace {

void waitFor(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

// Voluntary context switches of every thread of this process.
long contextSwitches() {
    long total = 0;
    for (const QString& task : QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile status(QStringLiteral("/proc/self/task/%1/status").arg(task));
        if (!status.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("voluntary_ctxt_switches:"))
                total += line.mid(24).trimmed().toLong();
    }
    return total;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc > 1)
        setResourcesDir(QString::fromLocal8Bit(argv[1]));
    const QStringList names{"stone", "wooden-block", "meditation-bell", "singing-bowl"};
    std::vector<std::unique_ptr<SoundPlayer>> players;
    for (const QString& name : names) {
        auto player = SoundPlayer::open(resourcePath("sounds/" + name + ".caf"), 0.7);
        if (!player) {
            std::printf("no player for %s (missing file or no sound server)\n", qPrintable(name));
            return 1;
        }
        players.push_back(std::move(player));
    }

    QProcess recorder;
    recorder.start("parec", {"-d", "out.monitor", "--raw", "--format=s16le", "--rate=48000",
                             "--channels=1", "--latency-msec=5"});
    if (!recorder.waitForStarted(5000)) {
        std::printf("parec did not start\n");
        return 1;
    }
    qint64 received = 0;
    bool heard = false;
    qint64 heardAt = 0;
    QElapsedTimer clock;
    clock.start();
    QObject::connect(&recorder, &QProcess::readyReadStandardOutput, [&] {
        const QByteArray block = recorder.readAllStandardOutput();
        received += block.size();
        const auto* s = reinterpret_cast<const qint16*>(block.constData());
        for (qsizetype i = 0; i < block.size() / 2; ++i)
            if (std::abs(s[i]) > 8 && !heard) {
                heard = true;
                heardAt = clock.nsecsElapsed();
            }
    });
    waitFor(500);

    const int rounds = 10;
    std::vector<double> latencies;
    for (int round = 0; round < rounds; ++round) {
        for (auto& player : players) {
            heard = false;
            const qint64 start = clock.nsecsElapsed();
            player->play();
            while (!heard && clock.nsecsElapsed() - start < 2'000'000'000LL)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
            if (heard)
                latencies.push_back((heardAt - start) / 1e6);
            if (qEnvironmentVariableIsSet("VERBOSE"))
                std::printf("%s %d %.1f state %d rec %lld\n", qPrintable(player->path()), heard, heard ? (heardAt - start) / 1e6 : -1.0, int(player->isPlaying()), received);
            player->stop();
            waitFor(100);
        }
    }
    std::sort(latencies.begin(), latencies.end());
    if (latencies.empty()) {
        std::printf("nothing was heard\n");
        return 1;
    }
    std::printf("play() to first sound heard: median %.1f ms, max %.1f ms over %zu plays\n",
                latencies[latencies.size() / 2], latencies.back(), latencies.size());

    recorder.kill();
    recorder.waitForFinished();
    waitFor(300);
    const long before = contextSwitches();
    QEventLoop idle;
    QTimer::singleShot(3000, &idle, &QEventLoop::quit);
    idle.exec();
    const long after = contextSwitches();
    std::printf("idle with %zu prepared players: %ld voluntary context switches in 3 s\n",
                players.size(), after - before);
    return 0;
}
