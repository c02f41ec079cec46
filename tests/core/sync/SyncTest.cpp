#include "FileTraps.h"
#include "SyncWorld.h"
#include "TestApp.h"
#include "core/sync/SyncFile.h"

#include <QDir>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

#include <sys/stat.h>

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << text.toStdString();
}

using namespace velmor;
using test::Computer;
using test::readFile;
using test::userPrompt;
using test::writeFile;

namespace {

// Two computers with separate homes and one shared sync folder.
struct TwoComputers : ::testing::Test {
    test::TestHome home;
    QString shared = home.path() + "/Sync";
    QString dir = shared + "/Velmor/";
    std::unique_ptr<Computer> a, b;

    void SetUp() override {
        test::coreApplication();
        QDir().mkpath(shared);
    }
    std::unique_ptr<Computer> computer(const QString& name, bool watch = false) {
        auto c = std::make_unique<Computer>(home.path() + "/" + name, nullptr, watch);
        c->start();
        return c;
    }
    QString fileOf(const Computer& c) const {
        const QStringList all = QDir(dir).entryList({"device-*.json"}, QDir::Files | QDir::System);
        for (const QString& name : all)
            if (decodeSyncFile(readFile(dir + name)).file.machine == c.dataDir.chopped(12))
                return dir + name;
        return {};
    }
};

bool hasPrompt(const Computer& c, const QString& id) {
    const QList<PromptItem>& prompts = c.library.data().userPrompts;
    return std::any_of(prompts.begin(), prompts.end(), [&](const auto& p) { return p.id == id; });
}

QByteArray libraryBytes(QList<PromptItem> prompts, QSet<QString> favorites = {},
                        QSet<QString> hidden = {}, int schema = 1) {
    return encodeLibrary(UserLibraryData{prompts, favorites, hidden, schema});
}

QStringList filesIn(const QString& dir) {
    QStringList names = QDir(dir).entryList(QDir::Files | QDir::System);
    names.sort();
    return names;
}

} // namespace

// Through the folder watcher, as the program runs: a prompt and the shared settings travel and
// a change made meanwhile on the other computer stays; other settings stay local; values this
// version does not know are left for the ones it has.
TEST_F(TwoComputers, PromptsAndSharedSettingsTravelAndLocalOnesStay) {
    a = computer("a", true);
    b = computer("b", true);
    a->choose(shared);
    b->choose(shared);
    a->state.setTheme(VelmorTheme::twilight);
    a->state.setFixedIntervalMinutes(25);
    a->state.setSoundVolume(0.4);
    a->library.addPrompt(userPrompt("FROM-A"));
    a->library.toggleFavorite("FROM-A");
    a->settle();
    b->library.addPrompt(userPrompt("FROM-B")); // not saved yet
    ASSERT_TRUE(QTest::qWaitFor([&] { return hasPrompt(*b, "FROM-A"); }));
    EXPECT_TRUE(hasPrompt(*b, "FROM-B"));
    EXPECT_TRUE(b->library.data().favoriteIds.contains("FROM-A"));
    EXPECT_EQ(b->state.theme(), VelmorTheme::twilight);
    EXPECT_EQ(b->state.fixedIntervalMinutes(), 25);
    EXPECT_EQ(b->state.soundVolume(), 0.7);
    b->settle();
    ASSERT_TRUE(QTest::qWaitFor([&] { return hasPrompt(*a, "FROM-B"); }));
    EXPECT_EQ(a->library.data(), b->library.data());
    EXPECT_EQ(decodeLibrary(readFile(b->localLibrary)), b->library.data());
    EXPECT_EQ(a->sync.status().otherComputers, 1);
    EXPECT_TRUE(a->sync.status().lastExchange.isValid());

    // A computer on a newer Velmor may set a theme this one does not know, or a bad interval.
    SyncFile newer;
    newer.device = "00000000000000ff";
    newer.state.settings.insert("velmor.theme",
                                {{Q_INT64_C(9000000000000000), newer.device}, QJsonValue("dusk")});
    newer.state.settings.insert("velmor.intervalSeconds",
                                {{Q_INT64_C(9000000000000000), newer.device}, QJsonValue(-60)});
    newer.state.settings.insert("velmor.sound", {{Q_INT64_C(9000000000000000), newer.device},
                                                 QJsonValue(rawValue(VelmorSound::stone))});
    writeFile(dir + "device-00000000000000ff.json", encodeSyncFile(newer, false));
    ASSERT_TRUE(QTest::qWaitFor([&] { return b->state.selectedSound() == VelmorSound::stone; }));
    EXPECT_EQ(b->state.theme(), VelmorTheme::twilight);
    EXPECT_EQ(b->state.fixedIntervalMinutes(), 25);
    EXPECT_TRUE(QTest::qWaitFor([&] { return a->sync.status().otherComputers == 2; }));
}

// The older layout's files and every conflict copy are folded in and moved, never deleted, to
// resolved-conflicts; files that cannot be read now, or come from a newer Velmor, stay as they
// are and are named in the status.
TEST_F(TwoComputers, TheOlderLayoutIsFoldedInAndKeptAside) {
    const QString syncthing = "user-library.sync-conflict-20261205-101500-MFZWI3D.json";
    const QString nextcloud = "user-library (conflicted copy alice 2026-12-05 101501).json";
    const QString damaged = "user-library (Sam's conflicted copy 2026-12-05).json";
    const QString newer = "user-library_conflict-20261205-101502.json";
    writeFile(dir + "user-library.json", libraryBytes({userPrompt("BASE")}, {}, {"GONE"}));
    writeFile(dir + syncthing, libraryBytes({userPrompt("BASE", "older"), userPrompt("S")}, {"S"}));
    writeFile(dir + nextcloud, libraryBytes({userPrompt("N")}, {"BASE"}, {"N"}));
    writeFile(dir + damaged, "{\"userPr");
    writeFile(dir + newer, libraryBytes({userPrompt("TWO")}, {}, {}, 2));
    writeFile(dir + "settings-sync.json",
              R"({"velmor.theme":"forest","velmor.intervalSeconds":900})");
    writeFile(dir + "user-library.json.bak", "not mine");
    // This computer set one aside and had a prompt before it was updated.
    b = std::make_unique<Computer>(home.path() + "/b", nullptr, false);
    b->library.addPrompt(userPrompt("LOCAL"));
    b->library.flush();
    b->settings.setFolder(shared); // chosen at an earlier run: the older files say so
    b.reset();
    b = computer("b");

    const UserLibraryData& data = b->library.data();
    QStringList ids;
    for (const PromptItem& p : data.userPrompts)
        ids << p.id + ":" + p.text;
    ids.sort();
    EXPECT_EQ(ids, (QStringList{"BASE:text BASE", "LOCAL:text LOCAL", "N:text N", "S:text S"}));
    EXPECT_EQ(data.favoriteIds, (QSet<QString>{"S", "BASE"}));
    EXPECT_EQ(data.hiddenIds, (QSet<QString>{"GONE", "N"}));
    EXPECT_EQ(b->state.theme(), VelmorTheme::forest);
    EXPECT_EQ(b->state.fixedIntervalMinutes(), 15);
    const QString resolved = b->dataDir + "/resolved-conflicts";
    EXPECT_EQ(filesIn(resolved),
              (QStringList{"settings-sync.json", nextcloud, "user-library.json", syncthing}));
    EXPECT_EQ(readFile(resolved + "/" + syncthing),
              libraryBytes({userPrompt("BASE", "older"), userPrompt("S")}, {"S"}));
    const QStringList left = filesIn(dir);
    EXPECT_TRUE(left.contains(damaged) && left.contains(newer) &&
                left.contains("user-library.json.bak") && left.contains("velmor-sync-folder.txt"))
        << left.join(", ").toStdString();
    EXPECT_EQ(left.size(), 5);
    ASSERT_EQ(b->sync.status().problems.size(), 2);
    EXPECT_EQ(b->sync.status().problems[0].kind, SyncStatus::Problem::Kind::unreadable);
    EXPECT_EQ(b->sync.status().problems[1].kind, SyncStatus::Problem::Kind::newerFormat);

    // A computer still on the older layout writes its library again: its new prompt comes in,
    // a prompt deleted here stays deleted.
    b->library.deletePrompt("S");
    b->settle();
    writeFile(dir + "user-library.json", libraryBytes({userPrompt("S"), userPrompt("OLD-NEW")}));
    b->sync.rescanNow();
    b->settle();
    EXPECT_TRUE(hasPrompt(*b, "OLD-NEW"));
    EXPECT_FALSE(hasPrompt(*b, "S"));
    EXPECT_EQ(filesIn(resolved).size(), 5);
}

// Another computer's file that cannot be read right now is never taken as empty, never written,
// and read again once it changes. Links, pipes and huge files are never opened or written
// through, whatever they are named; this computer's file is replaced, never written through.
TEST_F(TwoComputers, FilesThatCannotBeReadNowAreLeftAloneAndNothingIsWrittenThroughALink) {
    a = computer("a");
    b = computer("b");
    a->choose(shared);
    b->choose(shared);
    for (int i = 0; i < 3; ++i)
        a->library.addPrompt(userPrompt(QStringLiteral("A%1").arg(i)));
    a->settle();
    b->sync.rescanNow();
    b->settle();
    ASSERT_EQ(b->library.data().userPrompts.size(), 3);

    const QString fileA = fileOf(*a);
    const QByteArray whole = readFile(fileA);
    writeFile(fileA, whole.left(whole.size() / 2)); // a sync program writing it in place
    const QString victim = home.path() + "/.bashrc";
    writeFile(victim, "export KEEP=1\n");
    const QString fileB = fileOf(*b);
    ASSERT_FALSE(fileB.isEmpty());
    QFile::remove(fileB);
    ASSERT_TRUE(QFile::link(victim, fileB));
    ASSERT_TRUE(QFile::link(victim, dir + "device-0000000000000001.json"));
    ASSERT_TRUE(QFile::link("/dev/zero", dir + "device-0000000000000002.json"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir + "device-0000000000000003.json").constData(), 0600),
              0);
    {
        QFile huge(dir + "device-0000000000000004.json");
        ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(Q_INT64_C(3) << 30)); // sparse
    }
    test::StdoutLines out;
    b->library.addPrompt(userPrompt("B"));
    b->sync.rescanNow();
    b->settle();
    EXPECT_EQ(b->library.data().userPrompts.size(), 4);
    EXPECT_EQ(readFile(victim), "export KEEP=1\n");
    EXPECT_FALSE(QFileInfo(fileB).isSymLink());
    EXPECT_TRUE(decodeSyncFile(readFile(fileB)).file.state.prompts.contains("A2"));
    EXPECT_EQ(readFile(fileA), whole.left(whole.size() / 2));
    QStringList problems;
    for (const auto& p : b->sync.status().problems)
        problems << describeProblem(p);
    EXPECT_EQ(problems.size(), 5) << problems.join('\n').toStdString();
    EXPECT_EQ(out.lines().filter("Sync folder: ").size(), 5);

    writeFile(fileA, whole); // the sync program is done
    a->library.addPrompt(userPrompt("A-LATER"));
    a->settle();
    b->sync.rescanNow();
    b->settle();
    EXPECT_TRUE(hasPrompt(*b, "A-LATER"));
    EXPECT_EQ(b->sync.status().problems.size(), 4);
}

// A folder that is not there yet (an empty mount point, the drive not yet mounted) is waited
// for, never taken for a fresh folder; what the user does meanwhile is shared once it is back.
// A home copied to another computer takes a new device id there.
TEST_F(TwoComputers, AnEmptyMountPointIsWaitedForAndACopiedHomeGetsItsOwnId) {
    a = computer("a");
    a->choose(shared);
    a->library.addPrompt(userPrompt("SHARED"));
    a->settle();
    b = computer("b");
    b->choose(shared);
    b.reset();
    const QString drive = home.path() + "/drive";
    ASSERT_TRUE(QDir().rename(shared, drive)); // unmounted: the mount point is empty
    QDir().mkpath(shared);
    b = computer("b");
    b->library.addPrompt(userPrompt("WHILE-AWAY"));
    b->settle();
    EXPECT_EQ(b->sync.status().state, SyncStatus::State::waiting);
    EXPECT_TRUE(QDir(shared).isEmpty());
    ASSERT_TRUE(QDir().rmdir(shared) && QDir().rename(drive, shared)); // mounted
    b->sync.rescanNow();
    b->settle();
    EXPECT_EQ(b->sync.status().state, SyncStatus::State::syncing);
    EXPECT_TRUE(hasPrompt(*b, "SHARED"));
    a->sync.rescanNow();
    a->settle();
    EXPECT_TRUE(hasPrompt(*a, "WHILE-AWAY"));

    a.reset();
    ASSERT_EQ(QProcess::execute("cp", {"-a", home.path() + "/a", home.path() + "/c"}), 0);
    test::StdoutLines out;
    auto c = computer("c");
    EXPECT_EQ(out.lines().filter("another computer writes as this one").size(), 1);
    const QString fileC = fileOf(*c);
    EXPECT_FALSE(fileC.isEmpty());
    EXPECT_NE(fileC, fileOf(*b));
    EXPECT_EQ(c->library.data(), b->library.data());
}
