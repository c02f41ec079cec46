// Sync through a shared folder: how long a save on one computer takes to reload the library on
// another (through the folder watcher), and how long folding 20 conflict copies of 1,000
// prompts each takes.
#include "core/base/Clock.h"
#include "core/model/Commands.h"
#include "core/settings/AppState.h"
#include "core/settings/SettingsStore.h"
#include "core/settings/SoundPreparer.h"
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
#include <ctime>
#include <memory>

using namespace velmor;

namespace {

struct Computer {
    Computer(const QString& home, Clock& clock)
        : store(QString(), clock), state(store, notifications, SoundPreparer::shared()),
          library(home + "/user-library.json", clock), settings(state),
          sync(settings, state, library, home + "/resolved-conflicts") {}
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

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

} // namespace

int main(int argc, char** argv) {
    BootClock clock;
    Clock::setShared(&clock);
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString shared = dir.path() + "/Sync";
    QDir().mkpath(shared);

    // Save on A to reload on B.
    {
        Computer a(dir.path() + "/a", clock), b(dir.path() + "/b", clock);
        a.settings.setFolder(shared);
        b.settings.setFolder(shared);
        a.sync.start();
        b.sync.start();
        std::vector<double> ms;
        for (int i = 0; i < 20; ++i) {
            const QString id = QStringLiteral("LATENCY-%1").arg(i);
            QEventLoop loop;
            QObject::connect(&b.library, &UserLibrary::dataChanged, &loop, [&] {
                if (!b.library.data().userPrompts.isEmpty() &&
                    b.library.data().userPrompts.last().id == id)
                    loop.quit();
            });
            QTimer::singleShot(5000, &loop, &QEventLoop::quit);
            a.library.addPrompt(prompt(id));
            QElapsedTimer timer;
            timer.start();
            a.library.save();
            loop.exec();
            ms.push_back(double(timer.nsecsElapsed()) / 1e6);
            QTimer::singleShot(300, &loop, &QEventLoop::quit); // let the folder go quiet
            loop.exec();
        }
        std::printf("sync: save on A to reload on B, median %.1f ms, max %.1f ms (target < 200 "
                    "ms)\n",
                    median(ms), *std::max_element(ms.begin(), ms.end()));
    }

    // Folding 20 conflict copies of 1,000 prompts each.
    {
        Computer c(dir.path() + "/c", clock);
        const QString root = dir.path() + "/Conflicts";
        QDir().mkpath(root);
        c.sync.folder().signIn(root);
        const QString folder = root + "/Velmor/";
        std::vector<double> ms, cpu;
        size_t total = 0;
        for (int run = 0; run < 5; ++run) {
            QDir(folder).removeRecursively();
            QDir().mkpath(folder);
            UserLibraryData base;
            for (int p = 0; p < 1000; ++p)
                base.userPrompts << prompt(QStringLiteral("BASE-%1").arg(p));
            writeBytes(folder + "user-library.json", encodeLibrary(base));
            for (int copy = 0; copy < 20; ++copy) {
                UserLibraryData version;
                for (int p = 0; p < 1000; ++p) {
                    const QString id = QStringLiteral("C%1-%2").arg(copy).arg(p);
                    version.userPrompts << prompt(id);
                    if (p % 10 == 0)
                        version.favoriteIds.insert(id);
                }
                writeBytes(folder + QStringLiteral("user-library.sync-conflict-20261205-1000%1-"
                                                   "DEVICE.json")
                                        .arg(copy, 2, 10, QLatin1Char('0')),
                           encodeLibrary(version));
            }
            QElapsedTimer timer;
            const std::clock_t cpuStart = std::clock();
            timer.start();
            const auto merged =
                c.sync.librarySync().readICloudCopy(c.sync.librarySync().iCloudFileURL());
            ms.push_back(double(timer.nsecsElapsed()) / 1e6);
            cpu.push_back(1000.0 * double(std::clock() - cpuStart) / CLOCKS_PER_SEC);
            total = merged ? size_t(merged->userPrompts.size()) : 0;
        }
        // Where the time goes: decoding the 21 files and encoding the result.
        {
            QList<QByteArray> files;
            for (const QString& name :
                 QDir(dir.path() + "/c/resolved-conflicts").entryList(QDir::Files))
                if (files.size() < 21) {
                    QFile file(dir.path() + "/c/resolved-conflicts/" + name);
                    if (file.open(QIODevice::ReadOnly))
                        files << file.readAll();
                }
            std::clock_t start = std::clock();
            qsizetype decoded = 0;
            for (const QByteArray& bytes : std::as_const(files))
                decoded += decodeLibrary(bytes) ? 1 : 0;
            const double decodeMs = 1000.0 * double(std::clock() - start) / CLOCKS_PER_SEC;
            UserLibraryData all;
            for (int p = 0; p < 21000; ++p)
                all.userPrompts << prompt(QStringLiteral("ALL-%1").arg(p));
            start = std::clock();
            const QByteArray encoded = encodeLibrary(all);
            const double encodeMs = 1000.0 * double(std::clock() - start) / CLOCKS_PER_SEC;
            std::printf("sync: of which (CPU) decoding %lld copies %.1f ms, encoding 21,000 "
                        "prompts (%lld kB) %.1f ms\n",
                        (long long)decoded, decodeMs, (long long)encoded.size() / 1024, encodeMs);
        }
        std::printf("sync: folding 20 conflict copies of 1,000 prompts (result %zu prompts), "
                    "median %.1f ms, max %.1f ms, CPU median %.1f ms (target < 100 ms)\n",
                    total, median(ms), *std::max_element(ms.begin(), ms.end()), median(cpu));
    }
    return 0;
}
