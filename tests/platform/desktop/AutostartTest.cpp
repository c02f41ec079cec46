#include "platform/desktop/Autostart.h"
#include "TestHome.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace velmor;

namespace {

// A private home with an installed velmor on PATH and a second one in a build folder, both
// real executable files.
class AutostartTest : public ::testing::Test {
protected:
    void SetUp() override {
        oldPath_ = qgetenv("PATH");
        qputenv("PATH", (home.path() + "/bin").toUtf8());
        for (const QString& program : {installed, built}) {
            test::writeFile(program, "#!/bin/sh\n");
            QFile::setPermissions(program, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        }
    }
    void TearDown() override { qputenv("PATH", oldPath_); }

    static QByteArray entry(const QByteArray& exec, const QByteArray& more = {}) {
        return "[Desktop Entry]\nType=Application\nName=Velmor\nExec=" + exec + "\n" + more;
    }
    static QByteArray written() { return test::readFile(XdgAutostart::entryPath()); }

    test::TestHome home;
    const QString installed = home.path() + "/bin/velmor";
    const QString built = home.path() + "/my build/velmor";
    QByteArray oldPath_;
};

} // namespace

TEST_F(AutostartTest, ExecIsTheNameOnPathOrTheQuotedPathAndReadsBack) {
    EXPECT_EQ(XdgAutostart(installed).execLine(), "velmor --background");
    EXPECT_EQ(XdgAutostart(built).execLine(), '"' + built + "\" --background");
    for (const QString& odd : {QStringLiteral("/opt/a b/velmor"), QStringLiteral("/x/\"q\"/velmor"),
                               QStringLiteral("/x/back\\slash/$HOME/velmor"),
                               QStringLiteral("/x/100%/velmor"), QStringLiteral("/usr/bin/velmor")})
        EXPECT_EQ(XdgAutostart::programOf(XdgAutostart::execValue(odd) + " --background"), odd);

    XdgAutostart autostart(installed);
    ASSERT_TRUE(autostart.registerItem());
    EXPECT_TRUE(written().contains("\nExec=velmor --background\n")) << written().constData();
    EXPECT_TRUE(autostart.isEnabled());
}

TEST_F(AutostartTest, SwitchReadsOffWhenHiddenSwitchedOffOrItsProgramIsGone) {
    const XdgAutostart autostart(installed);
    const auto enabledWith = [&](const QString& path, const QByteArray& contents) {
        test::writeFile(path, contents);
        const bool enabled = autostart.isEnabled();
        QFile::remove(path);
        return enabled;
    };
    const QString current = XdgAutostart::entryPath(), older = XdgAutostart::olderEntryPath();
    EXPECT_TRUE(enabledWith(current, entry("velmor")));
    EXPECT_TRUE(enabledWith(older, entry("velmor")));
    EXPECT_FALSE(enabledWith(current, entry("velmor", "Hidden=true\n")));
    EXPECT_FALSE(enabledWith(older, entry("velmor", "X-GNOME-Autostart-enabled=false\n")));
    EXPECT_FALSE(enabledWith(current, entry("/gone/build/velmor --background")));
    EXPECT_FALSE(autostart.isEnabled());
}

TEST_F(AutostartTest, StartRewritesStaleEntriesAndLeavesOthersAlone) {
    XdgAutostart fromBuild(built), fromPath(installed);

    // An older version's entry, for a build folder since deleted: written anew for this program.
    test::writeFile(XdgAutostart::olderEntryPath(), entry("/home/u/velmor/build/velmor"));
    EXPECT_TRUE(fromBuild.review().contains("now starts"));
    EXPECT_FALSE(QFileInfo::exists(XdgAutostart::olderEntryPath()));
    EXPECT_TRUE(written().contains("Exec=\"" + built.toUtf8() + "\" --background\n"));
    EXPECT_EQ(fromBuild.review(), QString()) << "an entry that is right is left alone";

    // Once installed, the installed program takes over from the build folder's.
    EXPECT_TRUE(fromPath.review().contains("now starts"));
    EXPECT_TRUE(written().contains("\nExec=velmor --background\n"));

    // A build run beside the installed program does not take its entry.
    EXPECT_TRUE(fromBuild.review().contains("not this program"));
    EXPECT_TRUE(written().contains("\nExec=velmor --background\n"));

    // One the user switched off stays as the user left it, even with its program gone.
    const QByteArray off = entry("/gone/velmor", "X-GNOME-Autostart-enabled=false\n");
    test::writeFile(XdgAutostart::entryPath(), off);
    EXPECT_EQ(fromPath.review(), QString());
    EXPECT_EQ(written(), off);
}
