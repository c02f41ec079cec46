#include "SyncWorld.h"
#include "core/sync/SyncFile.h"

#include <QDirIterator>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

using namespace velmor;
using test::readFile;
using test::writeFile;

namespace {

// Every file under `dir` is complete; returns how many prompts the library, or the fullest
// device file, holds (-1 when there is none).
qsizetype checkFiles(const QString& dir) {
    qsizetype prompts = -1;
    QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString name = it.fileName();
        // A write killed before its rename leaves its temporary file; the next one replaces it.
        if (name.endsWith(".velmor-tmp") || name == "velmor-sync-folder.txt" ||
            name == "settings.json")
            continue;
        const QByteArray bytes = readFile(path);
        if (name.startsWith(
                "user-library")) { // the library, or a conflict copy of the older layout
            const auto library = decodeLibrary(bytes);
            EXPECT_TRUE(library) << path.toStdString() << " is not a complete library ("
                                 << bytes.size() << " bytes)";
            if (library && name == "user-library.json")
                prompts = library->userPrompts.size();
            continue;
        }
        const SyncFileRead read = decodeSyncFile(bytes);
        EXPECT_EQ(read.status, SyncFileRead::read)
            << path.toStdString() << " is not complete (" << bytes.size() << " bytes)";
        if (name.startsWith("device-"))
            prompts = std::max(prompts, read.file.state.library().userPrompts.size());
    }
    return prompts;
}

} // namespace

// A program killed at any moment of a burst of changes leaves only whole files behind, locally
// and in the sync folder, and never fewer prompts than a finished save had.
TEST(SyncCrash, KilledInABurstLeavesOnlyCompleteFiles) {
    test::TestHome home;
    const QString child = home.path() + "/child";
    const QString shared = home.path() + "/Sync";
    QDir().mkpath(shared);
    qsizetype lastLocal = -1, lastCopy = -1;
    for (int round = 0; round < 12; ++round) {
        writeFile(QStringLiteral("%1/Velmor/user-library.sync-conflict-20261205-1000%2-CRASH.json")
                      .arg(shared)
                      .arg(round, 2, 10, QLatin1Char('0')),
                  encodeLibrary({{test::userPrompt(QStringLiteral("C%1").arg(round))}, {}, {}, 1}));
        QProcess process;
        process.start(VELMOR_CRASH_CHILD, {child, shared});
        ASSERT_TRUE(process.waitForStarted());
        ASSERT_TRUE(process.waitForReadyRead(20000)) << "the child never got going";
        QThread::msleep(QRandomGenerator::global()->bounded(20, 120));
        ::kill(pid_t(process.processId()), SIGKILL);
        ASSERT_TRUE(process.waitForFinished(10000));
        ASSERT_EQ(process.exitStatus(), QProcess::CrashExit) << "the child ended by itself";

        const qsizetype nowLocal = checkFiles(child);
        const qsizetype nowCopy = checkFiles(shared);
        EXPECT_GE(nowLocal, lastLocal);
        EXPECT_GE(nowCopy, lastCopy);
        lastLocal = nowLocal;
        lastCopy = nowCopy;
    }
    EXPECT_GT(lastCopy, 12); // the rounds did real work
}
