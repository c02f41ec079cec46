// Feeds truncated and byte-mutated copies of valid documents to every reader: none may crash,
// each must land on its documented fallback, and nothing the user had may be lost.
#include "TestHome.h"
#include "VirtualClock.h"
#include "core/content/ContentManager.h"
#include "core/content/LibraryFile.h"
#include "core/content/UserLibrary.h"
#include "core/model/Commands.h"
#include "core/settings/AppState.h"
#include "core/settings/SettingsStore.h"
#include "core/settings/SoundPreparer.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRandomGenerator>

#include <gtest/gtest.h>

using namespace velmor;
using velmor::test::readFile;
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

QByteArray validLibrary() {
    UserLibraryData data;
    data.userPrompts << PromptItem{"A",           "Sit.",       PromptCategory::body,
                                   QString("me"), std::nullopt, PackSource::user}
                     << PromptItem{"B",          "Look.",         PromptCategory::question,
                                   std::nullopt, QString("work"), PackSource::user};
    data.favoriteIds << "A"
                     << "STARTER";
    data.hiddenIds << "B";
    return encodeLibrary(data);
}

struct QuietStdout {
    QuietStdout() { testing::internal::CaptureStdout(); }
    ~QuietStdout() { testing::internal::GetCapturedStdout(); }
};

} // namespace

TEST(MalformedInput, SettingsFallBackToDefaultsAndKeepTheFileAside) {
    const QByteArray valid =
        R"({"theme":"forest","soundVolume":0.4,"intervalMode":"Random",)"
        R"("fixedIntervalMinutes":5,"pauseDuringCalls":false,"overlayScope":"Every screen"})";
    QuietStdout quiet;
    for (const QByteArray& damaged : damagedCopies(valid, 1)) {
        test::TestHome home;
        test::VirtualClock clock;
        const QString path = home.configDir() + "/velmor/settings.json";
        writeFile(path, damaged);
        const bool parses = QJsonDocument::fromJson(damaged).isObject();
        {
            SettingsStore store(path, clock);
            Commands notifications;
            AppState state(store, notifications, SoundPreparer::shared());
            EXPECT_GE(state.nextIntervalSeconds(), 0.0);
            EXPECT_GE(state.soundVolume(), 0.0);
            EXPECT_LE(state.soundVolume(), 1.0);
            if (!parses) {
                EXPECT_EQ(state.theme(), VelmorTheme::charcoal);
                EXPECT_TRUE(state.pauseDuringCalls());
            }
        }
        if (!parses) {
            const QStringList kept =
                QDir(home.configDir() + "/velmor").entryList({"settings.json.bad-*"});
            ASSERT_EQ(kept.size(), 1) << damaged.toStdString();
            EXPECT_EQ(readFile(home.configDir() + "/velmor/" + kept.first()), damaged);
        }
    }
}

TEST(MalformedInput, LibraryFileStaysAsItWasOrIsKeptAsideBeforeASave) {
    const QByteArray valid = validLibrary();
    QuietStdout quiet;
    for (const QByteArray& damaged : damagedCopies(valid, 2)) {
        test::TestHome home;
        test::VirtualClock clock;
        const QString path = home.dataDir() + "/velmor/user-library.json";
        writeFile(path, damaged);
        const auto decoded = decodeLibrary(damaged);
        UserLibrary library(path, clock);
        EXPECT_EQ(library.data(), decoded.value_or(UserLibraryData{}));
        library.hide("NEW");
        library.flush();
        if (!decoded) {
            const QStringList kept =
                QDir(home.dataDir() + "/velmor").entryList({"user-library.json.bad-*"});
            ASSERT_EQ(kept.size(), 1);
            EXPECT_EQ(readFile(home.dataDir() + "/velmor/" + kept.first()), damaged);
        }
        const auto saved = decodeLibrary(readFile(path));
        ASSERT_TRUE(saved);
        EXPECT_TRUE(saved->hiddenIds.contains("NEW"));
    }
}

TEST(MalformedInput, ImportEitherMergesOrLeavesTheLibraryUnchanged) {
    QuietStdout quiet;
    test::TestHome home;
    const QString file = home.path() + "/import.velmor";
    for (const QByteArray& damaged : damagedCopies(validLibrary(), 3)) {
        test::VirtualClock clock;
        UserLibrary library(QString(), clock);
        library.addPrompt(PromptItem{"KEEP", "mine", PromptCategory::question, std::nullopt,
                                     std::nullopt, PackSource::user});
        const UserLibraryData before = library.data();
        writeFile(file, damaged);
        const ImportResult result = importLibraryFile(file, library);
        if (result != ImportResult::merged) {
            EXPECT_EQ(library.data(), before);
        }
        EXPECT_EQ(library.data().userPrompts.first().text, "mine");
    }
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
    QString error;
    QuietStdout quiet;
    test::VirtualClock clock;
    SettingsStore store(QString(), clock);
    Commands notifications;
    AppState state(store, notifications, SoundPreparer::shared());
    UserLibrary library(QString(), clock);
    test::TestHome home;
    const QString path = home.path() + "/StarterPrompts.json";
    for (const QByteArray& damaged : damagedCopies(valid, 4)) {
        writeFile(path, damaged);
        ContentManager manager(state, library, path);
        const auto decoded = decodeStarterPack(damaged, &error);
        EXPECT_EQ(manager.starterPrompts().size(), decoded ? decoded->size() : 0);
        EXPECT_FALSE(manager.nextPrompt().id.isEmpty()); // always some prompt
    }
}
