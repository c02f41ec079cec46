#include "../Pixels.h"
#include "LibraryWorld.h"
#include "TestApp.h"
#include "core/content/UserLibrary.h"
#include "ui/library/ContentLibraryScreen.h"
#include "ui/library/LibraryMotion.h"
#include "ui/library/PlainButton.h"
#include "ui/library/PromptList.h"
#include "ui/library/PromptRow.h"
#include "ui/library/PromptScreens.h"

#include <QAbstractAnimation>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <map>

using namespace velmor;

namespace {

// The screens are made without motion unless a test asks for it, so that changes land at once.
bool reduceMotion = true;

// The screen on the real display, active, so keys and focus behave as for the user.
struct WithApplication {
    explicit WithApplication(bool motion) {
        test::guiApplication();
        reduceMotion = !motion;
        libraryMotion::setReduceMotionSource([] { return reduceMotion; });
    }
};

// Animation time that moves only when the test says so: every frame lands where it is asked
// for, whatever the load on the machine.
class ManualAnimationTime final : public QAnimationDriver {
public:
    ManualAnimationTime() { install(); }
    ~ManualAnimationTime() override { uninstall(); }
    // Counted from the driver's start: it stops when nothing moves and starts again later.
    qint64 elapsed() const override { return now_ - startedAt_; }
    // Lets queued animations start, then moves time on by `ms` and repaints.
    void step(int ms) {
        QApplication::processEvents();
        now_ += ms;
        advance();
        QApplication::processEvents();
    }

protected:
    void start() override {
        startedAt_ = now_;
        QAnimationDriver::start();
    }

private:
    qint64 now_ = 0;
    qint64 startedAt_ = 0;
};

struct Screen : WithApplication, test::LibraryWorld {
    ContentLibraryScreen screen{library, *content, state};
    explicit Screen(bool motion = false) : WithApplication(motion) {
        screen.resize(600, 560);
        screen.show();
        screen.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&screen));
    }
    PromptListScreen* listScreen() const {
        return qobject_cast<PromptListScreen*>(screen.currentView());
    }
    PromptList* list() const { return listScreen()->list(); }
    template <class Row> Row* row(int index) const {
        list()->scrollToEntry(index);
        return qobject_cast<Row*>(list()->widgetFor(index));
    }
    const UserLibraryData& data() const { return library.data(); }
    // Shows the row's action bar the way the keyboard does, then presses the named action.
    void press(PromptRow* row, const QString& accessibleName) {
        row->setFocus();
        QApplication::processEvents();
        for (QWidget* widget : row->focusChain())
            if (widget->accessibleName() == accessibleName) {
                ASSERT_TRUE(widget->isVisible()) << accessibleName.toStdString();
                QTest::mouseClick(widget, Qt::LeftButton);
                return;
            }
        FAIL() << "no action " << accessibleName.toStdString();
    }
};

// How strongly anything is drawn in the rows `top` to `bottom` of `image`: the largest
// difference in lightness from the area's most common lightness.
int inkBetween(const QImage& image, int top, int bottom) {
    std::map<int, int> counts;
    for (int y = std::max(0, top); y < std::min(bottom, image.height()); ++y)
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixelColor(x, y).lightness()];
    if (counts.empty())
        return 0;
    const int common = std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) {
                           return a.second < b.second;
                       })->first;
    int ink = 0;
    for (const auto& [lightness, n] : counts)
        ink = std::max(ink, std::abs(lightness - common));
    return ink;
}

} // namespace

TEST(LibraryScreen, YoursAddsByReturnInEitherFieldEditsInPlaceAndDeletes) {
    Screen s;
    s.screen.openYours();
    auto* yours = qobject_cast<YourPromptsView*>(s.screen.currentView());
    ASSERT_TRUE(yours);
    EXPECT_TRUE(yours->emptyLabel()->isVisible());
    QLineEdit* text = yours->promptField();
    QLineEdit* source = yours->attributionField();
    EXPECT_FALSE(source->isVisible());

    // Blank and trimmed input are the draft's rules; here, that the fields follow the draft.
    QTest::keyClicks(text, "  ");
    EXPECT_TRUE(source->isVisible());
    QTest::keyClick(text, Qt::Key_Return); // blank: nothing added, text kept
    EXPECT_EQ(text->text(), "  ");
    QTest::keyClicks(text, "Warm bread  ");
    QTest::keyClick(text, Qt::Key_Return);
    QTest::keyClicks(text, "The sea");
    QTest::keyClicks(source, " A sailor ");
    QTest::keyClick(source, Qt::Key_Return);
    EXPECT_EQ(text->text(), "");
    EXPECT_EQ(source->text(), "");
    EXPECT_FALSE(source->isVisible());

    ASSERT_EQ(s.data().userPrompts.size(), 2);

    // Both rows are shown, each named by its text and its trimmed attribution.
    EXPECT_FALSE(yours->emptyLabel()->isVisible());
    auto* row = s.row<PromptRow>(1);
    ASSERT_TRUE(row);
    EXPECT_EQ(row->accessibleName(), "The sea — A sailor");

    // The editor starts from the prompt; Return saves.
    ASSERT_NO_FATAL_FAILURE(s.press(row, "Edit this prompt"));
    InlineEditor* editor = yours->editor();
    ASSERT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->textField()->text(), "The sea");
    EXPECT_EQ(editor->attributionField()->text(), "A sailor");

    editor->textField()->selectAll();
    QTest::keyClicks(editor->textField(), "Changed");
    editor->attributionField()->clear();
    QTest::keyClick(editor->attributionField(), Qt::Key_Return);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(s.data().userPrompts[1].text, "Changed");
    EXPECT_EQ(s.data().userPrompts[1].source, std::nullopt);

    // Cancel (the last of the editor's controls) writes nothing.
    ASSERT_NO_FATAL_FAILURE(s.press(s.row<PromptRow>(0), "Edit this prompt"));
    QTest::keyClicks(editor->textField(), " more");
    QTest::mouseClick(editor->focusChain()[3], Qt::LeftButton);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(s.data().userPrompts[0].text, "Warm bread");

    ASSERT_NO_FATAL_FAILURE(s.press(s.row<PromptRow>(0), "Delete this prompt"));
    EXPECT_EQ(s.list()->entryCount(), 1);
    EXPECT_EQ(s.row<PromptRow>(0)->entry().prompt.text, "Changed");
}

// Setting aside and restoring are walked through by the accessibility test.
TEST(LibraryScreen, AStarterRowsActionsByKeyboardAndPointerThenBackToTheShelf) {
    Screen s;
    ASSERT_EQ(s.screen.shelfRows().size(), 4);
    QTest::mouseClick(s.screen.shelfRows()[0], Qt::LeftButton, {}, QPoint(200, 10));
    ASSERT_TRUE(s.listScreen());
    // Tab reaches a row's actions in order, then the next row; Space presses the focused action.
    s.row<PromptRow>(0)->setFocus();
    QStringList reached;
    for (int i = 0; i < 5; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        reached << QApplication::focusWidget()->accessibleName();
    }
    EXPECT_EQ(reached.mid(0, 3), QStringList({"Sit with this prompt for every overlay",
                                              "Add to favorites", "Set this prompt aside"}));
    EXPECT_EQ(reached[3], s.row<PromptRow>(1)->accessibleName());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    const PromptItem second = s.row<PromptRow>(1)->entry().prompt;
    EXPECT_EQ(s.state.sittingWithPromptId(), second.id);
    // Down moves to the next row.
    s.row<PromptRow>(1)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), s.row<PromptRow>(2));

    // The row, rebuilt, offers the way back; favouring by pointer.
    ASSERT_NO_FATAL_FAILURE(s.press(s.row<PromptRow>(1), "Stop sitting with this prompt"));
    EXPECT_EQ(s.state.sittingWithPromptId(), std::nullopt);
    ASSERT_NO_FATAL_FAILURE(s.press(s.row<PromptRow>(1), "Add to favorites"));
    EXPECT_TRUE(s.data().favoriteIds.contains(second.id));

    QTest::mouseClick(s.listScreen()->backButton(), Qt::LeftButton);
    EXPECT_EQ(s.screen.currentView(), s.screen.shelfRows()[0]->parentWidget());
}

TEST(LibraryScreen, TenThousandPromptsBuildOnlyTheRowsInView) {
    Screen s;
    QList<PromptItem> many;
    for (int i = 0; i < 10000; ++i)
        many << *makeUserPrompt(QStringLiteral("Prompt number %1").arg(i), QString());
    s.library.mergeLibrary(many, {}, {});
    s.screen.openYours();
    EXPECT_EQ(s.list()->entryCount(), 10000);
    EXPECT_LT(s.list()->findChildren<PromptRow*>().size(), 40);
    QScrollBar* bar = s.list()->verticalScrollBar();
    bar->setValue(bar->maximum());
    QApplication::processEvents();
    const QList<QWidget*> shown = s.list()->visibleWidgets();
    ASSERT_FALSE(shown.isEmpty());
    EXPECT_EQ(qobject_cast<PromptRow*>(shown.last())->entry().prompt.text, "Prompt number 9999");
    EXPECT_LT(s.list()->findChildren<PromptRow*>().size(), 40);
}

TEST(LibraryScreen, ExportAndImportAskForThePathInASheetOnTheWindow) {
    Screen s;
    s.library.addPrompt(*makeUserPrompt("Mine", ""));
    QTest::mouseClick(s.screen.exportButton(), Qt::LeftButton);
    auto* dialog = s.screen.findChild<QFileDialog*>();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->windowModality(), Qt::WindowModal);
    EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(dialog->nameFilters(),
              QStringList({"Velmor library (*.velmor *.json)", "All files (*)"}));
    EXPECT_EQ(QFileInfo(dialog->selectedFiles().value(0)).fileName(), "velmor-library.velmor");
    const QString path = s.home.path() + "/chosen.velmor";
    dialog->selectFile(path);
    static_cast<QDialog*>(dialog)->accept();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(decodeLibrary(test::readFile(path)), s.data());

    // Cancelling the import changes nothing; choosing the file merges it, onto the shelf at once.
    s.library.deletePrompt(s.data().userPrompts[0].id);
    QTest::mouseClick(s.screen.importButton(), Qt::LeftButton);
    dialog = s.screen.findChild<QFileDialog*>();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
    dialog->reject();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(s.data().userPrompts.isEmpty());
    QTest::mouseClick(s.screen.importButton(), Qt::LeftButton);
    dialog = s.screen.findChild<QFileDialog*>();
    ASSERT_TRUE(dialog);
    dialog->selectFile(path);
    static_cast<QDialog*>(dialog)->accept();
    ASSERT_EQ(s.data().userPrompts.size(), 1);
    EXPECT_EQ(s.data().userPrompts[0].text, "Mine");
    EXPECT_EQ(s.screen.shelfRows()[3]->row().count, 1);
    EXPECT_EQ(s.screen.summaryLabel()->text(), "101 prompts across 3 categories + yours");
}

TEST(LibraryScreen, HoverBarFadesInOverAFifthOfASecondAndAtOnceWithoutMotion) {
    Screen s(true);
    ManualAnimationTime time;
    QTest::mouseMove(&s.screen, QPoint(580, 550)); // away from every row
    s.library.toggleFavorite(s.content->prompts(PromptCategory::question)[0].id);
    s.screen.openCategory(PromptCategory::question);
    auto* row = s.row<PromptRow>(0);
    ASSERT_TRUE(row);
    const int rest = row->height();
    // The bar's place: below the text, where nothing is drawn at rest.
    const int barTop = rest - 8;
    const QRgb heart = libraryStyle::color(themeInfo(s.state.theme()).favoriteColor).rgb();
    const auto heartPixels = [&](const QImage& image) { // in the top right corner
        const QRect corner(image.width() - 30, 0, 30, 30);
        return corner.width() * corner.height() - test::pixelsAwayFrom(image, heart, 20, corner);
    };
    QImage image = test::onScreen(row);
    EXPECT_LE(inkBetween(image, barTop, rest - 3), 3);
    EXPECT_GT(heartPixels(image), 10);

    QTest::mouseMove(row, QPoint(200, 8));
    QTRY_VERIFY(row->underMouse());
    QList<int> ink;
    for (int ms : {0, 100, 100, 100}) {
        time.step(ms);
        image = test::onScreen(row);
        ink << inkBetween(image, barTop, image.height() - 3);
    }
    // Nothing at the start, about half way at 0.1 s (the curve is symmetric), full by 0.2 s.
    EXPECT_LE(ink[0], 3);
    EXPECT_GT(ink[3], 60);
    EXPECT_GT(ink[1], ink[3] * 0.25);
    EXPECT_LT(ink[1], ink[3] * 0.75);
    EXPECT_EQ(ink[2], ink[3]);
    EXPECT_EQ(heartPixels(image), 0); // the heart gave way to "Unfavorite"

    // Leaving folds it away again over the same time.
    QTest::mouseMove(&s.screen, QPoint(580, 550));
    QTRY_VERIFY(!row->underMouse());
    time.step(100);
    EXPECT_GT(row->height(), rest);
    time.step(150);
    EXPECT_EQ(row->height(), rest);
    EXPECT_LE(inkBetween(test::onScreen(row), barTop, rest - 3), 3);

    // Made under reduce motion, the screen shows the whole bar the moment the pointer enters.
    reduceMotion = true;
    s.screen.showShelf();
    s.screen.openCategory(PromptCategory::question);
    row = s.row<PromptRow>(0);
    QTest::mouseMove(row, QPoint(200, 8));
    QTRY_VERIFY(row->underMouse());
    QApplication::processEvents();
    EXPECT_GE(inkBetween(test::onScreen(row), barTop, row->height() - 3), ink[3] - 5);
}

TEST(LibraryScreen, ContextMenuSetsAPromptAsideAndItsRowSlidesAway) {
    Screen s(true);
    ManualAnimationTime time;
    s.screen.openCategory(PromptCategory::question);
    auto* row = s.row<PromptRow>(1);
    ASSERT_TRUE(row);
    const PromptItem prompt = row->entry().prompt;
    const int count = s.list()->entryCount();
    const int full = row->height();

    // The menu key on the focused row opens the menu; choose "Set aside" as the user would.
    QStringList offered;
    QTimer::singleShot(50, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        for (QAction* action : menu->actions())
            offered << (action->isSeparator() ? QStringLiteral("-") : action->text());
        for (QAction* action : menu->actions())
            if (action->text() == "Set aside")
                menu->setActiveAction(action);
        QTest::keyClick(menu, Qt::Key_Return);
    });
    row->setFocus();
    QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(20, 10),
                              row->mapToGlobal(QPoint(20, 10)));
    QApplication::sendEvent(row, &menuKey);
    EXPECT_EQ(offered, QStringList({"Favorite", "-", "Set aside"}));
    ASSERT_TRUE(s.data().hiddenIds.contains(prompt.id));

    // The row stays in its place while it fades and shrinks (ease-out: fast, then slow) ...
    ASSERT_TRUE(s.list()->isLeaving(1));
    time.step(125);
    auto* leaving = qobject_cast<PromptRow*>(s.list()->widgetFor(1));
    ASSERT_TRUE(leaving);
    EXPECT_EQ(leaving->entry().prompt.id, prompt.id);
    EXPECT_GT(leaving->height(), 0);
    EXPECT_LT(leaving->height(), full / 2);
    EXPECT_FALSE(leaving->isEnabled());
    // ... and is gone after a quarter of a second; the set-aside section holds it now.
    time.step(130);
    EXPECT_FALSE(s.list()->isLeaving(1));
    EXPECT_NE(s.row<PromptRow>(1)->entry().prompt.id, prompt.id);
    EXPECT_EQ(s.list()->entryCount(), count); // one row less, the set-aside header more
}
