#include "SyncWorld.h"
#include "TestApp.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>

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
    std::unique_ptr<Computer> a, b;

    void SetUp() override {
        test::coreApplication();
        QDir().mkpath(shared);
        a = std::make_unique<Computer>(home.path() + "/a");
        b = std::make_unique<Computer>(home.path() + "/b");
    }
    QString syncFile(const QString& name) const { return shared + "/Velmor/" + name; }
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
    return QDir(dir).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

} // namespace

TEST_F(TwoComputers, SharedSettingsTravelAndLocalOnesStay) {
    a->launch(shared);
    b->launch(shared);
    a->state.setTheme(VelmorTheme::twilight);
    a->state.setFixedIntervalMinutes(25);
    ASSERT_TRUE(QTest::qWaitFor([&] { return b->state.theme() == VelmorTheme::twilight; }));
    EXPECT_TRUE(QTest::qWaitFor([&] { return b->state.fixedIntervalMinutes() == 25; }));
    const auto pushed = QJsonDocument::fromJson(readFile(syncFile("settings-sync.json"))).object();
    EXPECT_EQ(pushed.value("velmor.theme").toString(), rawValue(VelmorTheme::twilight));
    EXPECT_EQ(pushed.value("velmor.sound").toString(), rawValue(a->state.selectedSound()));
    EXPECT_EQ(pushed.value("velmor.intervalSeconds").toDouble(), 1500);

    // The volume and the interval mode are this computer's own.
    const QByteArray before = readFile(syncFile("settings-sync.json"));
    a->state.setSoundVolume(0.4);
    a->state.setIntervalMode(IntervalMode::random);
    QTest::qWait(300);
    EXPECT_EQ(readFile(syncFile("settings-sync.json")), before);
    EXPECT_EQ(b->state.soundVolume(), 0.7);

    // What another computer may leave: only known names and positive intervals are taken.
    QSignalSpy intervalPosts(&b->notifications, &Commands::intervalChanged);
    writeFile(syncFile("settings-sync.json"),
              R"({"velmor.theme":"dusk","velmor.sound":"Stone","velmor.intervalSeconds":900})");
    ASSERT_TRUE(QTest::qWaitFor([&] { return b->state.fixedIntervalMinutes() == 15; }));
    EXPECT_GE(intervalPosts.size(), 1);
    EXPECT_EQ(b->state.selectedSound(), VelmorSound::stone);
    EXPECT_EQ(b->state.theme(), VelmorTheme::twilight);
    writeFile(syncFile("settings-sync.json"),
              R"({"velmor.theme":"Ocean","velmor.intervalSeconds":-60})");
    QTest::qWait(400);
    EXPECT_EQ(b->state.fixedIntervalMinutes(), 15);
    EXPECT_EQ(b->state.theme(), VelmorTheme::twilight);
}

TEST_F(TwoComputers, APromptTravelsAndAReloadKeepsAPendingLocalChange) {
    a->launch(shared);
    b->launch(shared);
    QSignalSpy changesOnB(&b->library, &UserLibrary::dataChanged);
    b->library.addPrompt(userPrompt("FROM-B"));
    b->library.toggleFavorite("FROM-B");
    b->settle();
    a->library.addPrompt(userPrompt("FROM-A")); // not saved yet
    ASSERT_TRUE(QTest::qWaitFor([&] { return hasPrompt(*a, "FROM-B"); }));
    EXPECT_TRUE(hasPrompt(*a, "FROM-A"));
    EXPECT_TRUE(a->library.data().favoriteIds.contains("FROM-B"));
    // Its own write does not come back to B as a change.
    QTest::qWait(400);
    EXPECT_EQ(changesOnB.size(), 2);

    a->settle();
    const auto onDisk = decodeLibrary(readFile(syncFile("user-library.json")));
    ASSERT_TRUE(onDisk);
    EXPECT_EQ(onDisk->userPrompts.size(), 2);
    EXPECT_EQ(decodeLibrary(readFile(a->localLibrary)), onDisk);
    ASSERT_TRUE(QTest::qWaitFor([&] { return hasPrompt(*b, "FROM-A"); }));
    EXPECT_FALSE(b->library.hasPendingSave()); // a reload schedules no save
}

TEST_F(TwoComputers, ConflictCopiesFoldIntoOneCopyAndAreKeptAside) {
    writeFile(syncFile("user-library.json"), libraryBytes({userPrompt("BASE")}));
    b->launch(shared);
    ASSERT_TRUE(hasPrompt(*b, "BASE"));

    const QString syncthing = "user-library.sync-conflict-20261205-101500-MFZWI3D.json";
    const QString nextcloud = "user-library (conflicted copy alice 2026-12-05 101501).json";
    writeFile(syncFile(syncthing),
              libraryBytes({userPrompt("BASE"), userPrompt("S")}, {"S"}, {"BASE"}));
    writeFile(syncFile(nextcloud), libraryBytes({userPrompt("N")}, {"BASE"}, {"N"}));
    writeFile(syncFile("user-library.json.bak"), "not mine");
    ASSERT_TRUE(QTest::qWaitFor([&] { return hasPrompt(*b, "S") && hasPrompt(*b, "N"); }));

    const auto merged = decodeLibrary(readFile(syncFile("user-library.json")));
    ASSERT_TRUE(merged);
    EXPECT_EQ(merged->userPrompts.size(), 3);
    EXPECT_EQ(merged->favoriteIds, (QSet<QString>{"S", "BASE"}));
    EXPECT_EQ(merged->hiddenIds, (QSet<QString>{"BASE", "N"}));
    EXPECT_EQ(b->library.data(), *merged);
    EXPECT_EQ(filesIn(shared + "/Velmor"),
              (QStringList{"user-library.json", "user-library.json.bak"}));
    EXPECT_EQ(filesIn(b->folder.resolvedDir()), (QStringList{nextcloud, syncthing}));
}

TEST_F(TwoComputers, SchemaVersionsDecideAndBadCopiesAreSkippedButMoved) {
    Computer& c = *b;
    ASSERT_TRUE(c.folder.signIn(shared));
    const QString dir = shared + "/Velmor/";
    writeFile(dir + "user-library.json", libraryBytes({userPrompt("ONE")}));
    writeFile(dir + "user-library.sync-conflict-20261205-100000-AAAAAAA.json", "{\"userPr");
    writeFile(dir + "user-library.sync-conflict-20261205-100001-BBBBBBB.json",
              libraryBytes({userPrompt("TWO")}, {"TWO"}, {}, 2));
    writeFile(dir + "user-library_conflict-20261205-100002.json",
              libraryBytes({userPrompt("OLD")}, {}, {}, 1));
    writeFile(dir + "user-library (Sam's conflicted copy 2026-12-05).json",
              libraryBytes({userPrompt("OLDER")}, {}, {}, 0));

    const auto read = c.librarySync.readICloudCopy(c.librarySync.iCloudFileURL());
    ASSERT_TRUE(read);
    EXPECT_EQ(read->schemaVersion, 2);
    ASSERT_EQ(read->userPrompts.size(), 1);
    EXPECT_EQ(read->userPrompts.first().id, "TWO");
    EXPECT_EQ(filesIn(dir), QStringList{"user-library.json"});
    EXPECT_EQ(filesIn(c.folder.resolvedDir()).size(), 4);

    // Copies of one version add only prompts that are new, in their order.
    LibraryFold fold;
    fold.add(UserLibraryData{{userPrompt("X")}, {}, {}, 1});
    fold.add(UserLibraryData{{userPrompt("Y"), userPrompt("X", "other")}, {}, {}, 1});
    fold.add(UserLibraryData{{userPrompt("Z"), userPrompt("Y", "again")}, {}, {}, 1});
    ASSERT_EQ(fold.result()->userPrompts.size(), 3);
    EXPECT_EQ(fold.result()->userPrompts[1].id, "Y");
    EXPECT_EQ(fold.result()->userPrompts[1].text, "text Y");
    EXPECT_EQ(fold.result()->userPrompts[0].text, "text X"); // never overwritten
}

TEST(SyncConflicts, NamesOfTheSyncProgramsAreRecognised) {
    for (const char* name : {"user-library.sync-conflict-20261205-101500-MFZWI3D.json",
                             "user-library (conflicted copy 2026-12-05 101501).json",
                             "user-library (conflicted copy alice 2026-12-05 101501).json",
                             "user-library_conflict-20261205-101501.json",
                             "user-library (Sam's conflicted copy 2026-12-05).json",
                             "user-library (Sam's Conflicted Copy (2)).json"})
        EXPECT_TRUE(isConflictCopyName(name, "user-library")) << name;
    for (const char* name :
         {"user-library.json", "user-library.json.bak", "user-library (copy).json",
          "settings-sync.sync-conflict-1-2-X.json",
          "user-library.sync-conflict-20261205-101500-MFZWI3D.txt", ".user-library.json.tmp"})
        EXPECT_FALSE(isConflictCopyName(name, "user-library")) << name;
}

TEST_F(TwoComputers, AVanishedFolderLeavesTheLocalLibraryWorking) {
    // A folder missing at launch: sync stays off for the run, the setting stays, and choosing
    // it again once it is back turns sync on.
    const QString later = home.path() + "/later";
    testing::internal::CaptureStdout();
    b->launch(later);
    EXPECT_EQ(QString::fromStdString(testing::internal::GetCapturedStdout()).count('\n'), 1);
    EXPECT_FALSE(b->folder.isSignedIn());
    EXPECT_EQ(b->settings.folder(), later);
    QDir().mkpath(later);
    b->settings.setFolder(later);
    EXPECT_TRUE(b->folder.isSignedIn());

    a->launch(shared);
    a->library.addPrompt(userPrompt("SAVED"));
    a->settle();
    ASSERT_TRUE(QDir(shared).removeRecursively());

    testing::internal::CaptureStdout();
    a->library.addPrompt(userPrompt("LOCAL-1"));
    a->settle();
    a->library.toggleFavorite("LOCAL-1");
    a->settle();
    a->library.load();
    QTest::qWait(300);
    const QString out = QString::fromStdString(testing::internal::GetCapturedStdout());
    EXPECT_EQ(out.count("UserLibrary iCloud write failed: "), 2) << out.toStdString();
    EXPECT_EQ(out.count('\n'), 2) << out.toStdString();

    EXPECT_FALSE(QFile::exists(shared)); // never recreated behind the user's back
    const auto local = decodeLibrary(readFile(a->localLibrary));
    ASSERT_TRUE(local);
    EXPECT_EQ(local->userPrompts.size(), 2);
    EXPECT_TRUE(local->favoriteIds.contains("LOCAL-1"));
    EXPECT_EQ(a->library.data(), *local);
    EXPECT_EQ(a->settings.folder(), shared);
}
