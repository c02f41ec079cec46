// Sync through a shared folder, each computer on its own sync thread as the program runs it:
// how long a save on one computer takes to reach the library on another; merging three
// computers of 10,000 prompts each; and, with --large, a 100,000-prompt folder arriving: the
// longest stall of the GUI thread and the memory it takes.
#include "core/base/Clock.h"
#include "core/model/Commands.h"
#include "core/settings/AppState.h"
#include "core/settings/SettingsStore.h"
#include "core/settings/SoundPreparer.h"
#include "core/sync/SyncFile.h"
#include "core/sync/SyncService.h"
#include "core/sync/SyncSettings.h"
#include "platform/clock/BootClock.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <malloc.h>
#include <thread>

using namespace velmor;

namespace {

struct Computer {
    Computer(const QString& home, Clock& clock)
        : store(QString(), clock), state(store, notifications, SoundPreparer::shared()),
          library(home + "/user-library.json", clock), settings(state),
          sync(settings, state, library, options(home)) {
        sync.start();
    }
    static FolderSyncOptions options(const QString& home) {
        FolderSyncOptions o = SyncService::thisComputer();
        o.dataDir = home;
        o.machine = home;
        o.releaseMemory = [] { ::malloc_trim(0); }; // as the program does
        return o;
    }
    SettingsStore store;
    Commands notifications;
    AppState state;
    UserLibrary library;
    SyncSettings settings;
    SyncService sync;
};

PromptItem prompt(const QString& id) {
    return PromptItem{id,
                      QStringLiteral("A prompt of ordinary length to sit with for a while, ") + id,
                      PromptCategory::question,
                      QStringLiteral("Someone"),
                      std::nullopt,
                      PackSource::user};
}

// Another computer's file: `count` prompts of its own, a tenth of them favourites.
SyncFile computerFile(const QString& device, int count) {
    SyncFile file;
    file.device = device;
    file.host = device;
    file.machine = device;
    const qint64 start = QDateTime::currentMSecsSinceEpoch() * 1000;
    for (int p = 0; p < count; ++p) {
        const QString id = QStringLiteral("%1-%2").arg(device).arg(p);
        const Stamp stamp{start + p, device};
        file.state.prompts.insert(id, {stamp, prompt(id), stamp.time});
        if (p % 10 == 0)
            file.state.favorites.insert(id, {stamp, true});
    }
    return file;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

long statusKb(const char* key) {
    QFile file("/proc/self/status");
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : file.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(int(std::strlen(key))).trimmed().split(' ').value(0).toLong();
    return -1;
}

double threadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// The longest time this, the GUI, thread worked without returning to its event loop: CPU time
// between two ticks of a 1 ms timer, which a busy shared machine cannot stretch (the gap in
// wall time it also records can be stretched so).
double longestBusy = 0;

// Runs the event loop until `done` holds (or `timeoutMs` passed); returns the longest gap
// between ticks of a 1 ms timer on this, the GUI, thread.
template <typename Done> double longestStall(Done done, int timeoutMs) {
    QElapsedTimer sinceTick, total;
    sinceTick.start();
    total.start();
    double longest = 0;
    double cpuAtTick = threadCpuMs();
    longestBusy = 0;
    QTimer heartbeat;
    heartbeat.setTimerType(Qt::PreciseTimer);
    heartbeat.setInterval(1);
    QEventLoop loop;
    QObject::connect(&heartbeat, &QTimer::timeout, &loop, [&] {
        longest = std::max(longest, double(sinceTick.nsecsElapsed()) / 1e6);
        sinceTick.restart();
        const double cpu = threadCpuMs();
        longestBusy = std::max(longestBusy, cpu - cpuAtTick);
        cpuAtTick = cpu;
        if (done() || total.elapsed() > timeoutMs)
            loop.quit();
    });
    heartbeat.start();
    loop.exec();
    return longest;
}

void waitFor(const std::function<bool()>& done, int timeoutMs) {
    longestStall(done, timeoutMs);
}

int large(int argc, char** argv) {
    BootClock clock;
    Clock::setShared(&clock);
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString shared = dir.path() + "/Sync";
    QDir().mkpath(shared + "/Velmor");
    const long rssBefore = statusKb("VmRSS:");
    Computer b(dir.path() + "/b", clock);
    b.settings.setFolder(shared);
    waitFor([&] { return b.sync.status().state == SyncStatus::State::syncing; }, 5000);
    const QByteArray bytes = encodeSyncFile(computerFile("00000000000000aa", 100000), false);
    QElapsedTimer timer;
    timer.start();
    // The other computer's sync program writes it, not this thread.
    std::thread writer;
    QTimer::singleShot(50, [&] {
        writer = std::thread(
            [&] { writeBytes(shared + "/Velmor/device-00000000000000aa.json", bytes); });
    });
    bool edited = false;
    qint64 arrived = 0;
    const double stall = longestStall(
        [&] {
            if (!edited && b.library.data().userPrompts.size() >= 100000) {
                arrived = timer.elapsed();
                edited = true;
                b.library.addPrompt(prompt(QStringLiteral("HERE")));
            }
            return edited && !b.library.hasPendingSave() && b.sync.status().otherComputers == 1;
        },
        60000);
    writer.join();
    b.sync.finish();
    std::printf("sync: 100,000 prompts (%lld kB) arriving in %lld ms and one change saved, longest "
                "GUI-thread stall %.1f ms wall, %.1f ms of its own work (goal < 16 ms)\n",
                (long long)bytes.size() / 1024, (long long)arrived, stall, longestBusy);
    std::printf("sync: RSS with 100,000 prompts loaded %ld kB (%ld kB before), peak %ld kB\n",
                statusKb("VmRSS:"), rssBefore, statusKb("VmHWM:"));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--large") == 0)
        return large(argc, argv);
    BootClock clock;
    Clock::setShared(&clock);
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString shared = dir.path() + "/Sync";
    QDir().mkpath(shared);

    // Save on A to the library on B.
    {
        Computer a(dir.path() + "/a", clock), b(dir.path() + "/b", clock);
        a.settings.setFolder(shared);
        b.settings.setFolder(shared);
        std::vector<double> ms;
        for (int i = 0; i < 20; ++i) {
            const QString id = QStringLiteral("LATENCY-%1").arg(i);
            a.library.addPrompt(prompt(id));
            QElapsedTimer timer;
            timer.start();
            a.library.save();
            waitFor(
                [&] {
                    const auto& prompts = b.library.data().userPrompts;
                    return !prompts.isEmpty() && prompts.last().id == id;
                },
                5000);
            ms.push_back(double(timer.nsecsElapsed()) / 1e6);
            QEventLoop loop;
            QTimer::singleShot(300, &loop, &QEventLoop::quit); // let the folder go quiet
            loop.exec();
        }
        std::printf("sync: save on A to the library on B, median %.1f ms, max %.1f ms (target < "
                    "200 ms)\n",
                    median(ms), *std::max_element(ms.begin(), ms.end()));
    }

    // Three computers of 10,000 prompts each: a fourth takes in their files (read, decoded,
    // merged, its own files written), and the merge alone.
    {
        const QString root = dir.path() + "/Three";
        QDir().mkpath(root + "/Velmor");
        QList<SyncFile> files;
        for (const char* device : {"00000000000000a1", "00000000000000b2", "00000000000000c3"}) {
            files << computerFile(QString::fromLatin1(device), 10000);
            writeBytes(root + "/Velmor/device-" + device + ".json",
                       encodeSyncFile(files.last(), false));
        }
        std::vector<double> pass, merge;
        for (int run = 0; run < 5; ++run) {
            Computer c(dir.path() + QStringLiteral("/m%1").arg(run), clock);
            QElapsedTimer timer;
            timer.start();
            c.settings.setFolder(root);
            waitFor([&] { return c.library.data().userPrompts.size() == 30000; }, 30000);
            pass.push_back(double(timer.nsecsElapsed()) / 1e6);
            timer.restart();
            SyncState merged;
            for (const SyncFile& file : std::as_const(files))
                merged.merge(file.state);
            const auto library = merged.library();
            merge.push_back(double(timer.nsecsElapsed()) / 1e6);
            if (library.userPrompts.size() != 30000)
                std::printf("sync: the merge lost prompts\n");
        }
        std::printf("sync: three computers of 10,000 prompts each, merged alone median %.1f ms; "
                    "read, merged and written on the sync thread median %.1f ms, max %.1f ms\n",
                    median(merge), median(pass), *std::max_element(pass.begin(), pass.end()));
    }
    return 0;
}
