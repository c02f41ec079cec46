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

// Stands for the sync-folder copy (read by the sync tests through the real one): counts writes.
struct RecordingMirror final : LibraryMirror {
    QList<QByteArray> writes;
    bool isAvailable() const override { return true; }
    std::optional<UserLibraryData> read() override { return std::nullopt; }
    void write(const QByteArray& bytes) override { writes << bytes; }
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
    RecordingMirror mirror;
    library.setMirror(&mirror);
    library.toggleFavorite("A");
    f.clock.advance(0.3);
    library.toggleFavorite("A");
    f.clock.advance(0.49);
    EXPECT_TRUE(mirror.writes.isEmpty());
    EXPECT_FALSE(QFile::exists(f.libraryPath()));
    f.clock.advance(0.02);
    ASSERT_EQ(mirror.writes.size(), 1);
    ASSERT_TRUE(onDisk(f));
    EXPECT_FALSE(onDisk(f)->favoriteIds.contains("A"));
    EXPECT_EQ(readFile(f.libraryPath()), mirror.writes.first());
    f.clock.advance(10);
    EXPECT_EQ(mirror.writes.size(), 1);
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
    ASSERT_EQ(prompts.size(), 3); // a repeated incoming id is appended each time
    EXPECT_EQ(prompts[0].text, "mine");
    EXPECT_EQ(prompts[1].text, "new");
    EXPECT_EQ(prompts[2].text, "again");
    EXPECT_EQ(library.data().favoriteIds, (QSet<QString>{"S1", "S2"}));
    EXPECT_EQ(library.data().hiddenIds, (QSet<QString>{"S3"}));
    EXPECT_TRUE(library.hasPendingSave());
}

// Damaged and vanished files are OwnedFile's (FilesTest) and MalformedInputTest's; here, a path
// that cannot be written: the sync copy is still written, and the failure is said once.
TEST(UserLibrary, AFifoAtThePathIsNotWaitedOnAndTheSyncCopyStillWritten) {
    test::StateWorld f;
    test::StdoutLines out;
    QDir().mkpath(QFileInfo(f.libraryPath()).path());
    ASSERT_EQ(::mkfifo(QFile::encodeName(f.libraryPath()).constData(), 0600), 0);
    UserLibrary blocked(f.libraryPath(), f.clock);
    RecordingMirror mirror;
    blocked.setMirror(&mirror);
    blocked.hide("F");
    blocked.flush();
    blocked.hide("G");
    blocked.flush();
    EXPECT_EQ(mirror.writes.size(), 2);
    EXPECT_EQ(out.lines().filter("not saved").size(), 1);
}
