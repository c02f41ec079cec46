// The one policy behind every file Velmor owns: special files are refused without being read,
// what could not be read is kept aside before it is written over, a failed write leaves the
// old file whole, and each failure is said once.
#include "core/base/Files.h"
#include "FileTraps.h"
#include "TestHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace velmor;
using test::readFile;
using test::StdoutLines;
using test::writeFile;

namespace {
QStringList besides(const QString& path, const QString& pattern) {
    const QFileInfo info(path);
    return info.absoluteDir().entryList({info.fileName() + pattern},
                                        QDir::Files | QDir::System | QDir::Hidden);
}
} // namespace

TEST(OwnedFile, SpecialAndUnreadableFilesAreRefusedAndNeverReplaced) {
    test::TestHome home;
    const QString fifo = home.path() + "/fifo.json";
    const QString zero = home.path() + "/zero.json";
    const QString locked = home.path() + "/settings.json";
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link("/dev/zero", zero));
    writeFile(locked, R"({"theme":"forest"})");
    ASSERT_TRUE(QFile::setPermissions(locked, QFileDevice::WriteOwner));
    {
        test::NoPermissionOverride asUser;
        for (const QString& path : {fifo, zero, locked}) {
            StdoutLines out;
            OwnedFile file(path, "Settings");
            const FileRead read = file.read(); // a FIFO would block, /dev/zero never end
            EXPECT_EQ(read.status, FileRead::refused) << path.toStdString();
            EXPECT_TRUE(read.bytes.isEmpty());
            EXPECT_FALSE(file.write("{}")); // no copy can be made: no write
            EXPECT_FALSE(file.write("{}"));
            const QStringList lines = out.lines();
            ASSERT_EQ(lines.size(), 2) << lines.join('|').toStdString(); // refused, then not saved
            EXPECT_TRUE(lines[0].startsWith("Settings could not be read ("));
            EXPECT_EQ(lines[0].contains("(not a regular file)"), path != locked);
            EXPECT_TRUE(lines[1].startsWith("Settings not saved"));
        }
    }
    EXPECT_EQ(QFileInfo(fifo).isFile(), false);
    EXPECT_TRUE(QFileInfo(fifo).exists());
    EXPECT_EQ(QFileInfo(zero).symLinkTarget(), "/dev/zero");
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(readFile(locked), R"({"theme":"forest"})");
    EXPECT_TRUE(QDir(home.path()).entryList({"*.bad-*"}).isEmpty());
}

TEST(OwnedFile, TooLargeFileIsRefusedThenCopiedAsideBeforeAWrite) {
    test::TestHome home;
    const QString path = home.path() + "/user-library.json";
    const QByteArray huge(5 * 1024 * 1024, 'x');
    writeFile(path, huge);
    StdoutLines out;
    OwnedFile file(path, "User library");
    EXPECT_EQ(file.read().status, FileRead::refused);
    ASSERT_TRUE(file.write("new"));
    const QStringList kept = besides(path, ".bad-*");
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(readFile(home.path() + "/" + kept[0]), huge);
    EXPECT_EQ(readFile(path), "new");
}

TEST(OwnedFile, DamagedFileThatVanishedOrLeadsNowhereIsSavedAgain) {
    test::TestHome home;
    StdoutLines out;
    // A link whose damaged target the user deleted: the save goes through the link.
    const QString target = home.path() + "/elsewhere/library.json";
    const QString link = home.path() + "/link.json";
    writeFile(target, "garbage");
    ASSERT_TRUE(QFile::link(target, link));
    OwnedFile second(link, "User library");
    second.read();
    second.markDamaged("not JSON");
    QFile::remove(target);
    EXPECT_TRUE(second.write("through"));
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), target);
    EXPECT_EQ(readFile(target), "through");

    // A link into a folder that is not there (an unmounted drive) cannot be saved: said once.
    const QString dangling = home.path() + "/dangling.json";
    ASSERT_TRUE(QFile::link(home.path() + "/absent/library.json", dangling));
    OwnedFile third(dangling, "User library");
    EXPECT_EQ(third.read().status, FileRead::missing);
    EXPECT_FALSE(third.write("x"));
    EXPECT_FALSE(third.write("x"));
    EXPECT_FALSE(QDir(home.path() + "/absent").exists());
    const QStringList lines = out.lines().filter("could not be saved");
    EXPECT_EQ(lines.size(), 1);
}

TEST(OwnedFile, LeftoverOfAKilledWriteIsRemovedAtStart) {
    test::TestHome home;
    const QString path = home.path() + "/settings.json";
    writeFile(path, "{}");
    writeFile(path + ".velmor-tmp", R"({"the)"); // killed between write and rename
    writeFile(path + ".velmor-tmp.aBcDeF", "");  // killed inside the staging write
    writeFile(path + ".backup", "mine");
    writeFile(path + ".bad-20260101-000000", "kept");
    StdoutLines out;
    OwnedFile file(path, "Settings");
    EXPECT_EQ(besides(path, "*"), (QStringList{"settings.json", "settings.json.backup",
                                               "settings.json.bad-20260101-000000"}));
    EXPECT_EQ(out.lines().size(), 2);
}

TEST(OwnedFile, FullDiskLeavesTheOriginalWhole) {
    test::TestHome home;
    const QString folder = home.path() + "/small";
    test::SmallFilesystem disk(folder, 64);
    if (!disk.isMounted())
        GTEST_SKIP() << "cannot mount a small tmpfs: " << disk.refusal().toStdString();
    const QString path = folder + "/settings.json";
    const QByteArray original = R"({"theme":"forest"})";
    ASSERT_TRUE(writeFileAtomically(path, original));
    disk.fill();

    StdoutLines out;
    OwnedFile file(path, "Settings");
    ASSERT_EQ(file.read().bytes, original);
    const QByteArray larger(3000, 'y');
    EXPECT_FALSE(file.write(larger));
    EXPECT_FALSE(file.write(larger));
    EXPECT_EQ(readFile(path), original);
    EXPECT_EQ(besides(path, "*"), QStringList{"settings.json"});
    const QStringList lines = out.lines();
    ASSERT_EQ(lines.size(), 1) << lines.join("\n").toStdString();
    EXPECT_TRUE(lines[0].startsWith("Settings could not be saved: "));

    disk.empty();
    EXPECT_TRUE(file.write(larger));
    EXPECT_EQ(readFile(path), larger);
}
