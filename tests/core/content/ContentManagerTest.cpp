#include "core/content/ContentManager.h"
#include "StateWorld.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <memory>

using namespace velmor;

namespace {

using test::userPrompt;

struct Content : test::StateWorld {
    std::unique_ptr<ContentManager> manager;

    // Builds the manager over a pack written from `packJson` (null: no pack file at all).
    ContentManager& build(const QByteArray& packJson = "[]", quint32 seed = 3) {
        QString path = home.path() + "/missing/StarterPrompts.json";
        if (!packJson.isNull()) {
            path = home.path() + "/StarterPrompts.json";
            test::writeFile(path, packJson);
        }
        auto generator = std::make_shared<QRandomGenerator>(seed);
        manager = std::make_unique<ContentManager>(state, library, path,
                                                   [generator] { return generator->generate64(); });
        return *manager;
    }
};

const QByteArray threeStarters = R"([
  {"text": "One", "category": "question"},
  {"text": "Two", "category": "beauty", "source": "Poet", "sourceWork": "Poem", "extra": 1},
  {"text": "Three", "category": "body"}])";

} // namespace

TEST(StarterPack, LoadsInFileOrderWithStableIdsAndReportsItsCount) {
    Content c;
    testing::internal::CaptureStdout();
    ContentManager& m = c.build(threeStarters);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Loaded 3 starter prompts\n");
    ASSERT_EQ(m.starterPrompts().size(), 3);
    const PromptItem& two = m.starterPrompts()[1];
    EXPECT_EQ(two.text, "Two");
    EXPECT_EQ(two.id, starterPromptId("Two", QString("Poet")));
    EXPECT_EQ(two.sourceWork, QString("Poem"));
    EXPECT_EQ(two.packSource, PackSource::starter);
}

// One element that is not a prompt, after good ones, fails the whole pack.
TEST(StarterPack, MissingMalformedOrEmptyPackLeavesNoStarterPrompts) {
    const std::string failed = "Failed to load prompts: ";
    for (const auto& [pack, line] :
         {std::pair{QByteArray(), std::string("StarterPrompts.json not found in bundle\n")},
          std::pair{threeStarters.chopped(1) + R"(, {"text": "x", "category": "Poems"}])", failed},
          std::pair{threeStarters.chopped(1) + R"(, {"category": "body"}])", failed},
          std::pair{threeStarters.chopped(1) + R"(, "a string"])", failed},
          std::pair{QByteArray("{\"text\": 1"), failed},
          std::pair{QByteArray("[]"), std::string("Loaded 0 starter prompts\n")}}) {
        Content c;
        testing::internal::CaptureStdout();
        ContentManager& m = c.build(pack);
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(out.rfind(line, 0), 0u) << out;
        EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
        EXPECT_TRUE(m.starterPrompts().isEmpty());
    }
}

TEST(StarterPack, TheShippedPackIsSoundAndBalanced) {
    QString error;
    const auto prompts = decodeStarterPack(
        test::readFile(VELMOR_SOURCE_DIR "/resources/StarterPrompts.json"), &error);
    ASSERT_TRUE(prompts) << error.toStdString();
    EXPECT_GE(prompts->size(), 90);
    QSet<QString> ids;
    std::map<PromptCategory, int> perCategory;
    for (const PromptItem& p : *prompts) {
        ids.insert(p.id);
        ++perCategory[p.category];
        EXPECT_FALSE(p.text.trimmed().isEmpty());
        if (p.category == PromptCategory::beauty) {
            EXPECT_TRUE(p.source && p.sourceWork) << p.text.toStdString();
        }
    }
    EXPECT_EQ(ids.size(), prompts->size());
    for (PromptCategory category : allCategories)
        EXPECT_GE(perCategory[category], prompts->size() / 4);
}

// Set-aside prompts are never drawn: with every one set aside, there is nothing to draw.
TEST(NextPrompt, WithNothingAvailableAlternatesEmptyAndFallback) {
    Content c;
    ContentManager& m = c.build(threeStarters);
    for (const PromptItem& p : m.starterPrompts())
        c.library.hide(p.id);
    EXPECT_EQ(m.nextPrompt(), ContentManager::emptyPrompt());
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(m.nextPrompt(), ContentManager::fallbackPrompt()) << i;
    EXPECT_EQ(m.nextPrompt(), ContentManager::emptyPrompt());
}

TEST(NextPrompt, SitWithWinsEvenWhenSetAsideAndIsNotRecorded) {
    Content c;
    ContentManager& m = c.build(threeStarters);
    c.library.addPrompt(userPrompt("MINE"));
    c.library.hide("MINE");
    c.state.setSittingWithPromptId(QString("MINE"));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(m.nextPrompt().id, "MINE");
    EXPECT_TRUE(m.recentlyShown().isEmpty());

    c.state.setSittingWithPromptId(QString("GONE"));
    const PromptItem drawn = m.nextPrompt();
    EXPECT_NE(drawn.id, "GONE");
    EXPECT_FALSE(c.state.sittingWithPromptId());
    EXPECT_FALSE(c.store.contains("sittingWithPromptId"));
    EXPECT_EQ(m.recentlyShown(), QStringList{drawn.id});
}

TEST(NextPrompt, RecentWindowSkipsShownPromptsThenAllowsRepeats) {
    Content c;
    ContentManager& m = c.build(threeStarters);
    for (const PromptItem& p : m.starterPrompts())
        m.recordShown(p);
    EXPECT_EQ(m.nextPrompt(), ContentManager::emptyPrompt()); // the only fresh one
    // Now everything, the empty prompt included, was shown recently: repeats are allowed.
    const PromptItem repeat = m.nextPrompt();
    EXPECT_EQ(repeat.packSource, PackSource::starter);
    EXPECT_NE(repeat, ContentManager::emptyPrompt());
    EXPECT_NE(repeat, ContentManager::fallbackPrompt());

    for (int i = 0; i < 11; ++i)
        m.recordShown(userPrompt(QString::number(i)));
    QStringList expected;
    for (int i = 1; i < 11; ++i)
        expected << QString::number(i);
    EXPECT_EQ(m.recentlyShown(), expected);
}

TEST(NextPrompt, FavouritesAreDrawnTwiceAsOften) {
    Content c;
    ContentManager& m = c.build("[]", 99);
    c.library.addPrompt(userPrompt("A"));
    c.library.addPrompt(userPrompt("B"));
    c.library.toggleFavorite("A");
    int a = 0;
    const int draws = 6000;
    for (int i = 0; i < draws; ++i) {
        // Fill the window with the empty prompt's id so the pool is exactly A and B.
        for (int k = 0; k < ContentManager::maxRecent; ++k)
            m.recordShown(ContentManager::emptyPrompt());
        a += m.nextPrompt().id == "A";
    }
    // Expected 2/3; the tolerance is about five standard deviations.
    EXPECT_NEAR(double(a) / draws, 2.0 / 3.0, 0.03);
}
