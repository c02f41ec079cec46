#include "core/settings/SettingsStore.h"
#include "FileTraps.h"
#include "TestHome.h"
#include "VirtualClock.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace velmor;
using velmor::test::readFile;
using velmor::test::writeFile;

namespace {
struct StoreFiles {
    test::TestHome home;
    test::VirtualClock clock;
    QString folder = home.configDir() + "/velmor";
    QString path = folder + "/settings.json";
    QStringList kept() const { return QDir(folder).entryList({"settings.json.bad-*"}); }
};
} // namespace

TEST(SettingsStore, WritesOnceShortlyAfterChangesAndReloads) {
    StoreFiles f;
    {
        SettingsStore store(f.path, f.clock);
        store.registerDefault("flag", true);
        EXPECT_TRUE(store.boolValue("flag"));
        store.setValue("theme", "forest");
        store.setValue("soundVolume", 0.25);
        EXPECT_FALSE(QFile::exists(f.path));
        f.clock.advance(1);
        EXPECT_TRUE(QFile::exists(f.path));
        store.setValue("theme", "ember");
    } // destruction flushes the pending change
    SettingsStore reloaded(f.path, f.clock);
    EXPECT_EQ(reloaded.string("theme"), QString("ember"));
    EXPECT_EQ(reloaded.doubleValue("soundVolume"), 0.25);
    EXPECT_FALSE(reloaded.contains("flag")); // a registered default is never written
    EXPECT_TRUE(f.kept().isEmpty());
}

// Damaged JSON is fed to the store in MalformedInputTest; JSON that is not an object is as bad.
TEST(SettingsStore, ANonObjectFileIsKeptAsideBeforeTheFirstWriteNotAtLoad) {
    StoreFiles f;
    writeFile(f.path, "[1,2]");
    test::StdoutLines out;
    SettingsStore store(f.path, f.clock);
    EXPECT_FALSE(store.contains("theme"));
    EXPECT_TRUE(f.kept().isEmpty()); // loading writes nothing
    store.setValue("theme", "ember");
    store.flush();
    ASSERT_EQ(f.kept().size(), 1);
    EXPECT_EQ(readFile(f.folder + "/" + f.kept().first()), "[1,2]");
    EXPECT_EQ(QJsonDocument::fromJson(readFile(f.path)).object().value("theme").toString(),
              "ember");
    EXPECT_EQ(out.lines().size(), 2); // could not be read; kept aside as ...
}
