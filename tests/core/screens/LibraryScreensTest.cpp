#include "StateWorld.h"
#include "core/content/ContentManager.h"
#include "core/screens/LibraryList.h"
#include "core/screens/LibraryShelf.h"
#include "core/screens/PromptRowRules.h"

#include <gtest/gtest.h>

#include <memory>

using namespace velmor;

namespace {

using test::userPrompt;

// Three starter prompts (two questions, one poem) and the library over them.
struct Library : test::StateWorld {
    std::unique_ptr<ContentManager> content;
    LibraryActions actions{library, state};
    Library() {
        const QString path = home.path() + "/StarterPrompts.json";
        test::writeFile(path, R"([{"text": "Q1", "category": "question"},
            {"text": "Q2", "category": "question", "source": "Someone"},
            {"text": "P1", "category": "beauty"}])");
        testing::internal::CaptureStdout();
        content = std::make_unique<ContentManager>(state, library, path);
        testing::internal::GetCapturedStdout();
    }
    const PromptItem& starter(int i) const { return content->starterPrompts()[i]; }
    QList<ListEntry> lines(LibraryList& list) {
        list.rebuild(*content, library, state);
        return list.entries();
    }
};

QStringList texts(const QList<ListEntry>& entries) {
    QStringList out;
    for (const ListEntry& e : entries)
        out << (e.kind == ListEntry::Kind::setAsideHeader   ? QString("[header]")
                : e.kind == ListEntry::Kind::editor         ? "[edit " + e.prompt.text + "]"
                : e.kind == ListEntry::Kind::setAsidePrompt ? "aside " + e.prompt.text
                                                            : e.prompt.text);
    return out;
}

QStringList words(const QList<RowActionInfo>& actions) {
    QStringList out;
    for (const RowActionInfo& a : actions)
        out << a.word;
    return out;
}

} // namespace

TEST(LibraryShelf, SummaryAndCountsFollowFavouritesSetAsideAndOwnPrompts) {
    Library l;
    Shelf shelf = buildShelf(*l.content, l.library);
    EXPECT_EQ(shelf.summary, "3 prompts across 3 categories");
    ASSERT_EQ(shelf.rows.size(), 4);
    EXPECT_EQ(shelf.rows[0].name, "Questions");
    EXPECT_EQ(shelf.rows[1].name, "Poems");
    EXPECT_EQ(shelf.rows[3].name, "Yours");
    EXPECT_EQ(shelf.rows[0].count, 2);
    EXPECT_EQ(shelf.rows[3].count, 0);
    EXPECT_TRUE(shelf.rows[3].showAdd);
    EXPECT_FALSE(shelf.rows[0].showAdd);

    // A favourite set aside lowers both counts of its category. (The other row actions are
    // pressed on real rows by the library screen's test.)
    l.actions.perform(RowAction::favorite, l.starter(0));
    l.actions.perform(RowAction::favorite, l.starter(1));
    EXPECT_EQ(buildShelf(*l.content, l.library).rows[0].favoriteCount, 2);
    l.library.hide(l.starter(0).id);
    shelf = buildShelf(*l.content, l.library);
    EXPECT_EQ(shelf.rows[0].count, 1);
    EXPECT_EQ(shelf.rows[0].favoriteCount, 1);
    EXPECT_EQ(shelf.summary, "2 prompts across 3 categories");
    l.actions.perform(RowAction::unfavorite, l.starter(1));
    EXPECT_EQ(buildShelf(*l.content, l.library).rows[0].favoriteCount, 0);

    // One own prompt, set aside: the summary mentions yours, the row counts none.
    l.library.addPrompt(userPrompt("U1"));
    l.library.hide("U1");
    shelf = buildShelf(*l.content, l.library);
    EXPECT_EQ(shelf.summary, "2 prompts across 3 categories + yours");
    EXPECT_EQ(shelf.rows[3].count, 0);
    l.library.unhide("U1");
    l.library.toggleFavorite("U1");
    shelf = buildShelf(*l.content, l.library);
    EXPECT_EQ(shelf.rows[3].count, 1);
    EXPECT_EQ(shelf.rows[3].favoriteCount, 1);
    EXPECT_EQ(shelf.rows[0].count, 2); // own prompts are questions too
    EXPECT_EQ(shelf.summary, "3 prompts across 3 categories + yours");
}

TEST(PromptRowRules, StarterAndOwnRowsOfferTheirOwnActions) {
    RowFlags starter{.canSitWith = true};
    EXPECT_EQ(words(rowActions(starter)), QStringList({"Sit with this", "Favorite", "Set aside"}));
    RowFlags own{.isFavorite = true,
                 .isSitting = true,
                 .canDelete = true,
                 .canEdit = true,
                 .canSitWith = true};
    const QList<RowActionInfo> actions = rowActions(own);
    EXPECT_EQ(words(actions), QStringList({"Edit", "Let go", "Unfavorite", "Delete"}));
    EXPECT_EQ(actions[1].tone, ActionTone::accent);
    EXPECT_EQ(actions[2].tone, ActionTone::favorite);

    const auto menu = contextMenuActions(own);
    ASSERT_EQ(menu.size(), 3);
    EXPECT_EQ(menu[0]->word, "Unfavorite");
    EXPECT_FALSE(menu[1].has_value());
    EXPECT_EQ(menu[2]->word, "Delete");
    EXPECT_EQ(contextMenuActions(starter)[2]->action, RowAction::setAside);
}

TEST(LibraryList, CategoryListsThenSetAsideSectionExpandedOnlyOnRequest) {
    Library l;
    LibraryList questions = LibraryList::forCategory(PromptCategory::question);
    EXPECT_EQ(texts(l.lines(questions)), QStringList({"Q1", "Q2"}));
    EXPECT_FALSE(questions.entries()[0].flags.canEdit);
    EXPECT_FALSE(questions.entries()[0].flags.canDelete);

    l.library.hide(l.starter(0).id);
    l.library.hide(l.starter(1).id);
    // All set aside: no rows, but the collapsed section, not the empty state.
    EXPECT_EQ(texts(l.lines(questions)), QStringList({"[header]"}));
    EXPECT_FALSE(questions.isEmpty());
    EXPECT_EQ(questions.setAsideCount(), 2);
    EXPECT_EQ(setAsideHeaderText(2), "2 set aside");
    questions.setShowHidden(true);
    const QList<ListEntry> open = l.lines(questions);
    EXPECT_EQ(texts(open), QStringList({"[header]", "aside Q1", "aside Q2"}));
    EXPECT_FALSE(open[1].lastSetAside);
    EXPECT_TRUE(open[2].lastSetAside);

    // Restoring puts the prompt back in its place.
    l.actions.restore(l.starter(1).id);
    EXPECT_EQ(texts(l.lines(questions)), QStringList({"Q2", "[header]", "aside Q1"}));

    LibraryList body = LibraryList::forCategory(PromptCategory::body);
    EXPECT_TRUE(l.lines(body).isEmpty());
    EXPECT_TRUE(body.isEmpty());
}

TEST(LibraryList, YoursShowsOwnPromptsOnceWithEditorAndSetAsideApart) {
    Library l;
    l.library.addPrompt(userPrompt("A", "alpha"));
    l.library.addPrompt(userPrompt("B", "beta"));
    l.library.hide("B"); // as an imported library may mark it
    l.state.setSittingWithPromptId(QString("A"));
    LibraryList yours = LibraryList::forYours();
    yours.setShowHidden(true);
    const QList<ListEntry> lines = l.lines(yours);
    EXPECT_EQ(texts(lines), QStringList({"alpha", "[header]", "aside beta"}));
    EXPECT_TRUE(lines[0].flags.canEdit && lines[0].flags.canDelete && lines[0].flags.isSitting);

    // One editor at a time; a blank text keeps it open, an empty attribution clears the source.
    l.library.addPrompt(userPrompt("C", "gamma"));
    l.library.updatePrompt("C", "gamma", QString("Src"));
    yours.beginEdit(l.library.data().userPrompts[0]);
    yours.beginEdit(l.library.data().userPrompts[2]);
    EXPECT_EQ(yours.editAttribution, "Src");
    EXPECT_EQ(texts(l.lines(yours)),
              QStringList({"alpha", "[edit gamma]", "[header]", "aside beta"}));
    yours.editText = "   ";
    EXPECT_FALSE(yours.saveEdit(l.library));
    EXPECT_EQ(yours.editingId(), QString("C"));
    yours.editText = "  delta \n";
    yours.editAttribution = "  ";
    EXPECT_TRUE(yours.saveEdit(l.library));
    EXPECT_EQ(yours.editingId(), std::nullopt);
    const PromptItem& saved = l.library.data().userPrompts[2];
    EXPECT_EQ(saved.text, "delta");
    EXPECT_EQ(saved.source, std::nullopt);
    EXPECT_EQ(saved.id, "C");

    // An editor whose prompt is deleted closes (Cancel is clicked by the library screen's test).
    yours.beginEdit(l.library.data().userPrompts[0]);
    l.library.deletePrompt("A");
    l.lines(yours);
    EXPECT_EQ(yours.editingId(), std::nullopt);
}

TEST(NewPromptDraft, ReturnAddsTrimmedQuestionWithAttributionAndClears) {
    Library l;
    NewPromptDraft draft;
    draft.setText("   ");
    EXPECT_TRUE(draft.showAttribution()); // spaces count as text for the field
    EXPECT_FALSE(draft.submit(l.actions));
    EXPECT_EQ(draft.text(), "   ");
    EXPECT_TRUE(l.library.data().userPrompts.isEmpty());

    draft.setText("  Notice the light \n");
    draft.setAttribution("  ");
    ASSERT_TRUE(draft.submit(l.actions));
    draft.setText("Breathe");
    draft.setAttribution(" Teacher ");
    ASSERT_TRUE(draft.submit(l.actions));
    EXPECT_EQ(draft.text(), "");
    EXPECT_EQ(draft.attribution(), "");
    EXPECT_FALSE(draft.showAttribution());

    const QList<PromptItem>& prompts = l.library.data().userPrompts;
    ASSERT_EQ(prompts.size(), 2);
    EXPECT_EQ(prompts[0].text, "Notice the light");
    EXPECT_EQ(prompts[0].source, std::nullopt);
    EXPECT_EQ(prompts[0].category, PromptCategory::question);
    EXPECT_EQ(prompts[0].packSource, PackSource::user);
    EXPECT_EQ(prompts[1].source, QString("Teacher"));
    EXPECT_NE(prompts[0].id, prompts[1].id);
    EXPECT_EQ(prompts[1].id, prompts[1].id.toUpper());
    EXPECT_EQ(prompts[1].id.size(), 36);
}
