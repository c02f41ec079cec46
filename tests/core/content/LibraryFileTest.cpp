#include "core/content/LibraryFile.h"
#include "StateWorld.h"
#include "core/content/UserLibrary.h"

#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace velmor;
using velmor::test::writeFile;

namespace {
using test::userPrompt;

struct Import {
    test::TestHome home;
    test::VirtualClock clock;
    UserLibrary library{QString(), clock};
    QString file = home.path() + "/velmor-library.velmor";

    std::pair<ImportResult, std::string> run(const QByteArray& bytes) {
        writeFile(file, bytes);
        testing::internal::CaptureStdout();
        const ImportResult result = importLibraryFile(file, library);
        return {result, testing::internal::GetCapturedStdout()};
    }
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
    const auto [result, out] = t.run(encodeLibrary(incoming));
    EXPECT_EQ(result, ImportResult::merged);
    EXPECT_EQ(out, "");
    ASSERT_EQ(t.library.data().userPrompts.size(), 2);
    EXPECT_EQ(t.library.data().userPrompts[0].text, "mine");
    EXPECT_TRUE(t.library.data().favoriteIds.contains("STARTER-ID"));
    EXPECT_EQ(t.library.data().schemaVersion, 1);
}

// Damaged contents are in MalformedInputTest; here, paths that are no file to read.
TEST(LibraryFile, ImportOfNoRegularFileSaysWhyAndChangesNothing) {
    Import t;
    t.library.addPrompt(userPrompt("A", "mine"));
    const UserLibraryData before = t.library.data();
    const QString fifo = t.home.path() + "/fifo.velmor"; // chosen by mistake: not waited on
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString& path : {t.home.path() + "/nowhere.velmor", fifo}) {
        testing::internal::CaptureStdout();
        EXPECT_EQ(importLibraryFile(path, t.library), ImportResult::failed);
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(out.rfind("Import failed: ", 0), 0u) << out;
        EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
    }
    EXPECT_EQ(t.library.data(), before);
}

TEST(LibraryFile, ExportToAnUnwritablePlaceSaysSo) {
    Import t;
    writeFile(t.home.path() + "/plain-file", "x");
    testing::internal::CaptureStdout();
    EXPECT_FALSE(exportLibraryFile(t.library.data(), t.home.path() + "/plain-file/lib.velmor"));
    EXPECT_EQ(testing::internal::GetCapturedStdout().rfind("Export failed: ", 0), 0u);
}
