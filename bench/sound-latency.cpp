// Measures how long preparing a player takes, how soon a prepared player is heard (the time
// from play() to the first non-silent block a monitor recorder receives: an upper bound, it
// includes the recorder's 5 ms blocks and the few milliseconds a null sink's monitor misses
// at the start of a stream), and how often the process wakes while the players sit idle
// after a sound has played to its end.

#include "core/base/Resources.h"
#include "platform/sound/SoundPlayer.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
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
    for (const QString& task :
         QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
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
    QElapsedTimer preparing;
    for (const QString& name : names) {
        preparing.start();
        auto player = SoundPlayer::open(resourcePath("sounds/" + name + ".caf"), 0.7);
        const double ms = preparing.nsecsElapsed() / 1e6;
        if (!player) {
            std::printf("no player for %s (missing file or no sound server)\n", qPrintable(name));
            return 1;
        }
        // Players decode when they play; decoded here only for the figures.
        const auto sound = decodeSoundFile(player->path());
        std::printf("prepared %s (%.1f s of sound, %lld KiB when decoded) in %.1f ms\n",
                    qPrintable(name), sound ? sound->frames() / double(sound->sampleRate) : 0.0,
                    sound ? sound->samples.size() / 1024LL : 0LL, ms);
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
    // parec takes a while to deliver its first blocks; measure only once it streams.
    for (int i = 0; i < 100 && received < 48000 * 2 / 2; ++i)
        waitFor(50);

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
    // The short sound plays to its natural end, which must close its stream too.
    players.front()->play();
    for (int i = 0; i < 100 && players.front()->isPlaying(); ++i)
        waitFor(20);
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
