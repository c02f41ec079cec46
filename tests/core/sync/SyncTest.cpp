#include "FileTraps.h"
#include "SyncWorld.h"
#include "TestApp.h"
#include "core/sync/SyncFile.h"

#include <QDir>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

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

// A home copied to another computer takes a new device id there; both go on sharing.
// (A file cut short, links, pipes and an empty mount point are the black-box sync test's.)
TEST_F(TwoComputers, ACopiedHomeGetsItsOwnId) {
    a = computer("a");
    a->choose(shared);
    a->library.addPrompt(userPrompt("SHARED"));
    a->settle();
    a.reset();
    ASSERT_EQ(QProcess::execute("cp", {"-a", home.path() + "/a", home.path() + "/c"}), 0);
    test::StdoutLines out;
    auto c = computer("c");
    EXPECT_EQ(out.lines().filter("another computer writes as this one").size(), 1);
    a = computer("a");
    const QString fileC = fileOf(*c);
    EXPECT_FALSE(fileC.isEmpty());
    EXPECT_NE(fileC, fileOf(*a));
    a->library.addPrompt(userPrompt("AGAIN"));
    a->settle();
    c->sync.rescanNow();
    c->settle();
    EXPECT_TRUE(hasPrompt(*c, "AGAIN"));
    EXPECT_EQ(c->library.data(), a->library.data());
}
