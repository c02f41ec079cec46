#include "SyncWorld.h"

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

// Every file under `dir` is a complete library or a complete shared-settings file; returns how
// many prompts the library file named `main` holds (-1 when it is missing).
qsizetype checkFiles(const QString& dir, const QString& main) {
    qsizetype prompts = -1;
    QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        // A write killed before its rename leaves its temporary file; the next one replaces it.
        if (path.endsWith(".velmor-tmp"))
            continue;
        const QByteArray bytes = readFile(path);
        if (it.fileName() == "settings-sync.json") {
            const QJsonObject object = QJsonDocument::fromJson(bytes).object();
            EXPECT_EQ(object.size(), 3) << path.toStdString() << ": " << bytes.constData();
            continue;
        }
        const auto library = decodeLibrary(bytes);
        EXPECT_TRUE(library) << path.toStdString() << " is not a complete library (" << bytes.size()
                             << " bytes)";
        if (library && path == main)
            prompts = library->userPrompts.size();
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
    const QString local = child + "/data/velmor/user-library.json";
    const QString copy = shared + "/Velmor/user-library.json";
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
        QThread::msleep(QRandomGenerator::global()->bounded(5, 60));
        ::kill(pid_t(process.processId()), SIGKILL);
        ASSERT_TRUE(process.waitForFinished(10000));
        ASSERT_EQ(process.exitStatus(), QProcess::CrashExit) << "the child ended by itself";

        const qsizetype nowLocal = checkFiles(child, local);
        const qsizetype nowCopy = checkFiles(shared, copy);
        EXPECT_GE(nowLocal, lastLocal);
        EXPECT_GE(nowCopy, lastCopy);
        lastLocal = nowLocal;
        lastCopy = nowCopy;
    }
    EXPECT_GT(lastCopy, 12); // the rounds did real work
}
