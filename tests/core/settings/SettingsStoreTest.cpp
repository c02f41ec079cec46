#include "core/settings/SettingsStore.h"
#include "TestHome.h"
#include "VirtualClock.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace velmor;
using velmor::test::readFile;
using velmor::test::writeFile;

TEST(SettingsStore, TypedReadsFollowWrittenValuesThenDefaults) {
    test::VirtualClock clock;
    SettingsStore store(QString(), clock);
    EXPECT_EQ(store.doubleValue("missing"), 0.0);
    EXPECT_FALSE(store.boolValue("missing"));
    EXPECT_FALSE(store.string("missing"));

    store.registerDefault("flag", true);
    EXPECT_TRUE(store.boolValue("flag"));
    EXPECT_FALSE(store.contains("flag"));
    store.setValue("flag", false);
    EXPECT_FALSE(store.boolValue("flag"));

    store.setValue("number", "12"); // a string is not a double
    EXPECT_EQ(store.doubleValue("number"), 0.0);
    EXPECT_EQ(store.string("number"), QString("12"));
    store.remove("number");
    EXPECT_FALSE(store.contains("number"));
}

TEST(SettingsStore, WritesOnceShortlyAfterChangesAndReloads) {
    test::TestHome home;
    test::VirtualClock clock;
    const QString path = home.configDir() + "/velmor/settings.json";
    {
        SettingsStore store(path, clock);
        store.setValue("theme", "forest");
        store.setValue("soundVolume", 0.25);
        EXPECT_FALSE(QFile::exists(path));
        clock.advance(1);
        EXPECT_TRUE(QFile::exists(path));
        store.setValue("theme", "ember");
    } // destruction flushes the pending change
    SettingsStore reloaded(path, clock);
    EXPECT_EQ(reloaded.string("theme"), QString("ember"));
    EXPECT_EQ(reloaded.doubleValue("soundVolume"), 0.25);
    EXPECT_TRUE(QDir(home.configDir() + "/velmor").entryList({"*.bad-*"}).isEmpty());
}

TEST(SettingsStore, DamagedFileIsKeptAsideAndNotOverwrittenUnseen) {
    test::TestHome home;
    test::VirtualClock clock;
    const QString path = home.configDir() + "/velmor/settings.json";
    for (const QByteArray& damaged : {QByteArray("{\"theme\": \"forest\""), QByteArray("[1,2]")}) {
        writeFile(path, damaged);
        SettingsStore store(path, clock);
        EXPECT_FALSE(store.contains("theme"));
        store.setValue("theme", "ember");
        store.flush();
        const QStringList kept =
            QDir(home.configDir() + "/velmor").entryList({"settings.json.bad-*"});
        ASSERT_FALSE(kept.isEmpty());
        bool original = false;
        for (const QString& name : kept)
            original |= readFile(home.configDir() + "/velmor/" + name) == damaged;
        EXPECT_TRUE(original);
        EXPECT_EQ(QJsonDocument::fromJson(readFile(path)).object().value("theme").toString(),
                  "ember");
    }
}
