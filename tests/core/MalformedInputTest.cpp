// Feeds damaged documents to every reader and checks fixed outcomes: settings and library files
// are never written by loading, a damaged one is kept aside byte for byte before it is written
// over, a file that parsed loses nothing it held, and documents load whole or not at all.
#include "FileTraps.h"
#include "StateWorld.h"
#include "core/content/ContentManager.h"
#include "core/content/LibraryFile.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace velmor;
using velmor::test::readFile;
using velmor::test::userPrompt;
using velmor::test::writeFile;

namespace {

constexpr int variantsPerDocument = 150;

// Half the variants are truncations, half flip, insert or delete a few bytes.
QList<QByteArray> damagedCopies(const QByteArray& valid, quint32 seed) {
    QRandomGenerator random(seed);
    QList<QByteArray> out;
    for (int i = 0; i < variantsPerDocument; ++i) {
        QByteArray copy = valid;
        if (i % 2 == 0) {
            copy.truncate(int(random.bounded(quint32(valid.size()))));
        } else {
            const int edits = 1 + int(random.bounded(4u));
            for (int e = 0; e < edits && !copy.isEmpty(); ++e) {
                const int at = int(random.bounded(quint32(copy.size())));
                switch (random.bounded(3u)) {
                case 0:
                    copy[at] = char(random.bounded(256u));
                    break;
                case 1:
                    copy.insert(at, char(random.bounded(256u)));
                    break;
                default:
                    copy.remove(at, 1);
                }
            }
        }
        out << copy;
    }
    return out;
}

const QByteArray validLibrary =
    R"({"userPrompts":[{"id":"A","text":"Sit.","category":"body","source":"me","packSource":"user"},)"
    R"({"id":"B","text":"Look.","category":"question","sourceWork":"work","packSource":"user"}],)"
    R"("favoriteIds":["A","STARTER"],"hiddenIds":["B"],"schemaVersion":1})";

QStringList keptAside(const QString& path) {
    const QFileInfo info(path);
    return info.absoluteDir().entryList({info.fileName() + ".bad-*"});
}

// After a save: a file that could not be read is kept aside byte for byte, one that could is not.
void expectKeptAsideOnlyIfUnread(const QString& path, const QByteArray& damaged, bool read) {
    const QStringList kept = keptAside(path);
    ASSERT_EQ(kept.size(), read ? 0 : 1);
    if (!read) {
        EXPECT_EQ(readFile(QFileInfo(path).absolutePath() + "/" + kept.first()), damaged);
    }
}

} // namespace

TEST(MalformedInput, SettingsAreNeverWrittenByLoadingAndNothingIsLost) {
    const QByteArray valid =
        R"({"theme":"forest","soundVolume":0.4,"intervalMode":"Random",)"
        R"("fixedIntervalMinutes":5,"pauseDuringCalls":false,"overlayScope":"Every screen"})";
    test::StdoutLines quiet;
    for (const QByteArray& damaged : damagedCopies(valid, 1)) {
        SCOPED_TRACE(damaged.toStdString());
        test::TestHome home;
        test::VirtualClock clock;
        const QString path = home.configDir() + "/velmor/settings.json";
        writeFile(path, damaged);
        const QJsonDocument parsed = QJsonDocument::fromJson(damaged);
        {
            SettingsStore store(path, clock);
            Commands notifications;
            AppState state(store, notifications, SoundPreparer::shared());
            if (!parsed.isObject()) {
#define DEFAULTED(Type, name, Name, initial, ...) EXPECT_TRUE(state.name() == Type(initial));
                VELMOR_SETTINGS(DEFAULTED)
#undef DEFAULTED
            }
        }
        ASSERT_EQ(readFile(path), damaged); // loading wrote nothing
        ASSERT_TRUE(keptAside(path).isEmpty());

        {
            SettingsStore store(path, clock);
            Commands notifications;
            AppState state(store, notifications, SoundPreparer::shared());
            state.setSittingWithPromptId(QString("NEW"));
        }
        const QJsonObject saved = QJsonDocument::fromJson(readFile(path)).object();
        EXPECT_EQ(saved.value("sittingWithPromptId").toString(), "NEW");
        expectKeptAsideOnlyIfUnread(path, damaged, parsed.isObject());
        const QJsonObject before = parsed.object();
        for (auto it = before.begin(); it != before.end(); ++it) {
            if (it.key() != "sittingWithPromptId") {
                EXPECT_EQ(saved.value(it.key()), it.value()) << it.key().toStdString();
            }
        }
    }
}

TEST(MalformedInput, LibraryLoadsWholeOrIsKeptAsideBeforeASave) {
    test::StdoutLines quiet;
    for (const QByteArray& damaged : damagedCopies(validLibrary, 2)) {
        SCOPED_TRACE(damaged.toStdString());
        test::TestHome home;
        test::VirtualClock clock;
        const QString path = home.dataDir() + "/velmor/user-library.json";
        writeFile(path, damaged);
        UserLibrary library(path, clock);
        const bool loaded = library.data() != UserLibraryData{};
        if (loaded) {
            EXPECT_EQ(library.data().userPrompts.size(), 2); // no prompt is skipped
        }
        clock.advance(10);
        ASSERT_EQ(readFile(path), damaged); // loading wrote nothing
        ASSERT_TRUE(keptAside(path).isEmpty());

        library.hide("NEW");
        library.flush();
        const auto saved = decodeLibrary(readFile(path));
        ASSERT_TRUE(saved);
        EXPECT_TRUE(saved->hiddenIds.contains("NEW"));
        EXPECT_EQ(saved->userPrompts.size(), loaded ? 2 : 0);
        expectKeptAsideOnlyIfUnread(path, damaged, loaded);
    }
}

// Import reads with the library's own decoder: what it refuses, the library never loads either.
TEST(MalformedInput, ImportRefusesNewerOrBrokenFilesAndDropsBadEntries) {
    const auto file = [](const QByteArray& prompts, const QByteArray& version) {
        return R"({"userPrompts":[)" + prompts + R"(],"favoriteIds":["","F"],"hiddenIds":[],)" +
               R"("schemaVersion":)" + version + "}";
    };
    const auto prompt = [](const char* id, const char* text) {
        return QByteArray(R"({"id":")") + id + R"(","text":")" + text +
               R"(","category":"question","packSource":"user"})";
    };
    struct Case {
        QByteArray bytes;
        ImportResult result;
        QString line; // the one line said, as a pattern
    };
    const QString failed = "^Import failed: .+";
    QList<Case> cases;
    for (const char* version : {"2", "2147483648", "4294967297"})
        cases.append({file(prompt("N", "new"), version), ImportResult::newerSchema,
                      QStringLiteral("^Newer schema version: %1$").arg(version)});
    for (const char* version : {"-1", "1.5", "1}x", "\"1\"", "null"})
        cases.append({file(prompt("N", "new"), version), ImportResult::failed, failed});
    cases += QList<Case>{
        {R"({"userPrompts":[],"favoriteIds":["X"],"hiddenIds":[]})", ImportResult::failed, failed},
        {R"({"userPrompts":[],"favoriteIds":["X"],"schemaVersion":1})", ImportResult::failed,
         "^Import failed: .*hiddenIds"},
        // One bad part refuses the whole document.
        {file(prompt("N", "new") + "," + QByteArray(prompt("Z", "t")).replace("question", "Poems"),
              "1"),
         ImportResult::failed, failed},
        {file(prompt("N", "new") + ",7", "1"), ImportResult::failed, failed},
        {R"({"userPrompts":[],"favoriteIds":[3],"hiddenIds":[],"schemaVersion":1})",
         ImportResult::failed, failed},
        {"[]", ImportResult::failed, failed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes.toStdString());
        test::StateWorld world;
        world.library.addPrompt(userPrompt("KEEP", "mine"));
        const UserLibraryData before = world.library.data();
        const QString path = world.home.path() + "/import.velmor";
        writeFile(path, c.bytes);
        test::StdoutLines out;
        EXPECT_EQ(importLibraryFile(path, world.library), c.result);
        const QStringList lines = out.lines();
        ASSERT_EQ(lines.size(), 1);
        EXPECT_TRUE(QRegularExpression(c.line).match(lines[0]).hasMatch())
            << lines[0].toStdString();
        EXPECT_EQ(world.library.data(), before);
    }

    // Entries that cannot stand are dropped; the first of a repeated id stays.
    test::StateWorld world;
    world.library.addPrompt(userPrompt("KEEP", "mine"));
    const QString path = world.home.path() + "/import.velmor";
    writeFile(path,
              file(prompt("D", "first") + "," + prompt("D", "second") + "," + prompt("", "no id") +
                       "," + prompt("E", "") + "," + prompt("W", " \\n ") + "," +
                       prompt("KEEP", "theirs") + "," + prompt("G", "good"),
                   "1"));
    test::StdoutLines out;
    EXPECT_EQ(importLibraryFile(path, world.library), ImportResult::merged);
    QStringList texts;
    for (const PromptItem& item : world.library.data().userPrompts)
        texts << item.text;
    EXPECT_EQ(texts, (QStringList{"mine", "first", "good"}));
    EXPECT_EQ(world.library.data().favoriteIds, QSet<QString>{"F"});
    EXPECT_EQ(out.lines().size(), 1); // how many were skipped
}

TEST(MalformedInput, StarterPackLoadsWholeOrNotAtAll) {
    // The first few prompts of the shipped pack, so every mutation lands on real content.
    QJsonArray shipped =
        QJsonDocument::fromJson(readFile(VELMOR_SOURCE_DIR "/resources/StarterPrompts.json"))
            .array();
    ASSERT_GT(shipped.size(), 8);
    while (shipped.size() > 8)
        shipped.removeLast();
    const QByteArray valid = QJsonDocument(shipped).toJson();
    test::StdoutLines quiet;
    test::StateWorld world;
    const QString path = world.home.path() + "/StarterPrompts.json";
    const auto load = [&](const QByteArray& bytes) {
        writeFile(path, bytes);
        return std::make_unique<ContentManager>(world.state, world.library, path);
    };
    for (const QByteArray& damaged : damagedCopies(valid, 4)) {
        const auto manager = load(damaged);
        const qsizetype count = manager->starterPrompts().size();
        EXPECT_TRUE(count == 0 || count == 8) << count << " from " << damaged.toStdString();
        EXPECT_FALSE(manager->nextPrompt().id.isEmpty()); // always some prompt
    }
    EXPECT_EQ(load(valid)->starterPrompts().size(), 8);
}
