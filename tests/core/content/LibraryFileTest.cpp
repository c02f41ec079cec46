#include "core/content/LibraryFile.h"
#include "FileTraps.h"
#include "StateWorld.h"
#include "core/content/UserLibrary.h"

#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace velmor;
using velmor::test::writeFile;

namespace {
using test::userPrompt;

struct Import : test::StateWorld {
    QString file = home.path() + "/velmor-library.velmor";
};
} // namespace

TEST(LibraryFile, ExportThenImportChangesNothingAndOlderVersionsMergeWithoutOverwriting) {
    Import t;
    t.library.addPrompt(userPrompt("A", "mine"));
    t.library.toggleFavorite("S");
    const UserLibraryData before = t.library.data();
    t.clock.advance(1);
    ASSERT_TRUE(exportLibraryFile(before, t.file));
    EXPECT_EQ(importLibraryFile(t.file, t.library), ImportResult::merged);
    EXPECT_EQ(t.library.data(), before);
    EXPECT_TRUE(t.library.hasPendingSave());

    UserLibraryData incoming;
    incoming.userPrompts << userPrompt("A", "theirs") << userPrompt("B", "new");
    incoming.favoriteIds << "STARTER-ID";
    incoming.schemaVersion = 0;
    writeFile(t.file, encodeLibrary(incoming));
    test::StdoutLines out;
    EXPECT_EQ(importLibraryFile(t.file, t.library), ImportResult::merged);
    EXPECT_EQ(out.lines(), QStringList());
    ASSERT_EQ(t.library.data().userPrompts.size(), 2);
    EXPECT_EQ(t.library.data().userPrompts[0].text, "mine");
    EXPECT_TRUE(t.library.data().favoriteIds.contains("STARTER-ID"));
    EXPECT_EQ(t.library.data().schemaVersion, 1);
}

// Damaged contents are in MalformedInputTest; here, paths that are no file to read or write.
TEST(LibraryFile, ImportOfNoRegularFileAndExportToNoFolderSayWhy) {
    Import t;
    t.library.addPrompt(userPrompt("A", "mine"));
    const UserLibraryData before = t.library.data();
    const QString fifo = t.home.path() + "/fifo.velmor"; // chosen by mistake: not waited on
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString& path : {t.home.path() + "/nowhere.velmor", fifo}) {
        test::StdoutLines out;
        EXPECT_EQ(importLibraryFile(path, t.library), ImportResult::failed);
        const QStringList lines = out.lines();
        ASSERT_EQ(lines.size(), 1);
        EXPECT_TRUE(lines[0].startsWith("Import failed: ")) << lines[0].toStdString();
    }
    EXPECT_EQ(t.library.data(), before);

    writeFile(t.home.path() + "/plain-file", "x");
    test::StdoutLines out;
    EXPECT_FALSE(exportLibraryFile(before, t.home.path() + "/plain-file/lib.velmor"));
    EXPECT_TRUE(out.lines().value(0).startsWith("Export failed: "));
}
