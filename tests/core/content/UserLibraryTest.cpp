#include "core/content/UserLibrary.h"
#include "FileTraps.h"
#include "StateWorld.h"

#include <QDir>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace velmor;
using velmor::test::readFile;
using velmor::test::writeFile;

namespace {

// Stands for sync (whose own tests use the real one): what reaches it.
struct RecordingJournal final : LibraryJournal {
    QList<std::pair<quint64, QList<LibraryChange>>> records;
    int saves = 0;
    void record(const QList<LibraryChange>& changes, quint64 upTo) override {
        records.append({upTo, changes});
    }
    void save() override { ++saves; }
};

using test::userPrompt;

// The library as its file holds it, if there is one.
std::optional<UserLibraryData> onDisk(const test::StateWorld& w) {
    return QFile::exists(w.libraryPath()) ? decodeLibrary(readFile(w.libraryPath())) : std::nullopt;
}

} // namespace

TEST(UserLibrary, NothingIsWrittenUntilAChangeThenOnceAfterTheLast) {
    test::StateWorld f(true);
    UserLibrary& library = f.library;
    EXPECT_EQ(library.data(), UserLibraryData{});
    library.updatePrompt("nobody", "text", std::nullopt); // an unknown id changes nothing
    f.clock.advance(10);
    EXPECT_FALSE(QFile::exists(f.libraryPath()));
    library.toggleFavorite("A");
    f.clock.advance(0.3);
    library.toggleFavorite("A");
    f.clock.advance(0.49);
    EXPECT_FALSE(QFile::exists(f.libraryPath()));
    f.clock.advance(0.02);
    ASSERT_TRUE(onDisk(f));
    EXPECT_FALSE(onDisk(f)->favoriteIds.contains("A"));

    // With sync keeping the library, each change goes to it as it is made, and one save after
    // the last; the library no longer writes its file itself.
    RecordingJournal journal;
    library.setJournal(&journal);
    QFile::remove(f.libraryPath());
    library.toggleFavorite("B");
    library.deletePrompt("B");
    f.clock.advance(1);
    ASSERT_EQ(journal.records.size(), 2);
    EXPECT_EQ(journal.records[0].second,
              (QList<LibraryChange>{{LibraryChange::Kind::favorite, "B", std::nullopt, true}}));
    EXPECT_EQ(journal.records[1].first, 2u);
    EXPECT_EQ(journal.records[1].second.size(), 2); // the prompt and its favourite mark
    EXPECT_EQ(journal.saves, 1);
    EXPECT_FALSE(QFile::exists(f.libraryPath()));
}

// What sync sends back may not hold the newest changes yet: they stay on top of it until it does.
TEST(UserLibrary, AMergedLibraryKeepsTheChangesItDoesNotHoldYet) {
    test::StateWorld f;
    RecordingJournal journal;
    f.library.setJournal(&journal);
    f.library.addPrompt(userPrompt("MINE"));
    f.library.hide("STARTER");
    const UserLibraryData merged{{userPrompt("THEIRS"), userPrompt("MINE")}, {"FAV"}, {}, 1};
    f.library.takeMerged(merged, 1); // holds the prompt, not the mark
    EXPECT_EQ(f.library.data().userPrompts, merged.userPrompts);
    EXPECT_EQ(f.library.data().favoriteIds, merged.favoriteIds);
    EXPECT_EQ(f.library.data().hiddenIds, QSet<QString>{"STARTER"});
    f.library.takeMerged(merged, 2); // holds both: the mark was taken off elsewhere since
    EXPECT_EQ(f.library.data(), merged);
}

TEST(UserLibrary, MutationsFollowTheirRules) {
    test::StateWorld f(true);
    UserLibrary& library = f.library;
    QSignalSpy changed(&library, &UserLibrary::dataChanged);
    library.addPrompt(userPrompt("P", "one"));
    library.addPrompt(userPrompt("Q", "two"));
    library.toggleFavorite("P");
    library.hide("P");
    library.deletePrompt("P");
    EXPECT_EQ(library.data().userPrompts.size(), 1);
    EXPECT_FALSE(library.data().favoriteIds.contains("P"));
    EXPECT_TRUE(library.data().hiddenIds.contains("P")); // a set-aside mark outlives the prompt
    library.unhide("P");
    EXPECT_TRUE(library.data().hiddenIds.isEmpty());

    library.updatePrompt("Q", "changed", QString("me"));
    EXPECT_EQ(library.data().userPrompts[0].text, "changed");
    EXPECT_EQ(library.data().userPrompts[0].source, QString("me"));
    EXPECT_EQ(library.data().userPrompts[0].packSource, PackSource::user);
    EXPECT_EQ(changed.count(), 7);
    f.clock.advance(1);
    ASSERT_TRUE(onDisk(f));
    EXPECT_EQ(*onDisk(f), library.data());
}

TEST(UserLibrary, MergeAddsOnlyNewIdsAndUnitesTheSets) {
    test::StateWorld f(true);
    UserLibrary& library = f.library;
    library.addPrompt(userPrompt("A", "mine"));
    library.toggleFavorite("S1");
    library.mergeLibrary(
        {userPrompt("A", "theirs"), userPrompt("B", "new"), userPrompt("B", "again")}, {"S2"},
        {"S3"});
    const auto& prompts = library.data().userPrompts;
    ASSERT_EQ(prompts.size(), 2); // a prompt is known by its id: the first one is taken
    EXPECT_EQ(prompts[0].text, "mine");
    EXPECT_EQ(prompts[1].text, "new");
    EXPECT_EQ(library.data().favoriteIds, (QSet<QString>{"S1", "S2"}));
    EXPECT_EQ(library.data().hiddenIds, (QSet<QString>{"S3"}));
    EXPECT_TRUE(library.hasPendingSave());
}

// Damaged and vanished files are OwnedFile's (FilesTest) and MalformedInputTest's; here, a path
// that cannot be written: it is not waited on, and the failure is said once.
TEST(UserLibrary, AFifoAtThePathIsNotWaitedOn) {
    test::StateWorld f;
    test::StdoutLines out;
    QDir().mkpath(QFileInfo(f.libraryPath()).path());
    ASSERT_EQ(::mkfifo(QFile::encodeName(f.libraryPath()).constData(), 0600), 0);
    UserLibrary blocked(f.libraryPath(), f.clock);
    blocked.hide("F");
    blocked.flush();
    blocked.hide("G");
    blocked.flush();
    EXPECT_EQ(out.lines().filter("not saved").size(), 1);
}
