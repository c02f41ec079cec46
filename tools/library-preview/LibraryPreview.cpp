// Renders the library screens to PNG files for a look: the shelf, a category, "Yours" with
// prompts, the editor and the set-aside list open; light and dark. With --show it keeps the
// light shelf open on the display instead, for a screen reader (or a person) to walk.
//   library_preview <output folder>
//   library_preview --show
#include "LibraryWorld.h"
#include "TestApp.h"
#include "core/content/UserLibrary.h"
#include "platform/desktop/Appearance.h"
#include "ui/library/ContentLibraryScreen.h"
#include "ui/library/LibraryMotion.h"
#include "ui/library/PromptList.h"
#include "ui/library/PromptRow.h"
#include "ui/library/PromptScreens.h"

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QLineEdit>
#include <QTest>

using namespace velmor;

namespace {

// Favourites, set-aside prompts and prompts of the user's own, one of them sat with.
void fill(test::LibraryWorld& world) {
    const QList<PromptItem>& starters = world.content->starterPrompts();
    world.library.toggleFavorite(starters[0].id);
    world.library.toggleFavorite(starters[2].id);
    world.library.hide(starters[1].id);
    world.library.hide(starters[3].id);
    const QStringList mine = {
        "The smell of rain on warm stone",
        "What would you do today if nothing needed fixing, and the afternoon were long "
        "enough for a slow walk, a pot of tea and a letter to an old friend?",
        "Morning light on the kitchen table", "My grandmother's laugh", "The quiet after snow"};
    for (int i = 0; i < mine.size(); ++i)
        world.library.addPrompt(
            *makeUserPrompt(mine[i], i == 1 ? QStringLiteral("A friend") : QString()));
    world.library.toggleFavorite(world.library.data().userPrompts[0].id);
    world.library.hide(world.library.data().userPrompts[4].id);
    world.state.setSittingWithPromptId(world.library.data().userPrompts[2].id);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QColor accent(200, 140, 90); // the window's own palettes, with an accent like the themes'
    if (argc > 1 && QByteArray(argv[1]) == "--show") {
        test::LibraryWorld world;
        app.setPalette(lightPalette(accent));
        fill(world);
        ContentLibraryScreen screen(world.library, *world.content, world.state);
        screen.setWindowTitle(QStringLiteral("Velmor library"));
        screen.resize(600, 560);
        screen.show();
        screen.activateWindow(); // keys and focus from the reader go to it
        return app.exec();
    }
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(out);
    // Pictures of where things settle, not of a fade half way.
    libraryMotion::setReduceMotionSource([] { return true; });
    for (const bool dark : {false, true}) {
        test::LibraryWorld world;
        app.setPalette(dark ? darkPalette(accent) : lightPalette(accent));
        fill(world);

        ContentLibraryScreen screen(world.library, *world.content, world.state);
        screen.resize(600, 560);
        screen.setAutoFillBackground(true);
        screen.show();
        if (!QTest::qWaitForWindowExposed(&screen))
            return 1;
        const QString suffix = dark ? "-dark.png" : "-light.png";
        const auto shot = [&](const QString& name) {
            QTest::qWait(50);
            screen.grab().save(out + "/" + name + suffix);
        };
        shot("shelf");

        screen.openCategory(PromptCategory::question);
        auto* detail = qobject_cast<PromptListScreen*>(screen.currentView());
        detail->setSetAsideExpanded(true);
        QTest::qWait(20);
        // Hover the second row so its action bar shows.
        if (QWidget* row = detail->list()->widgetFor(1)) {
            QCursor::setPos(row->mapToGlobal(QPoint(40, 12)));
            QTest::mouseMove(row, QPoint(40, 12));
        }
        shot("category");

        screen.showShelf();
        screen.openYours();
        auto* yours = qobject_cast<YourPromptsView*>(screen.currentView());
        yours->promptField()->setText("A new one");
        yours->beginEdit(world.library.data().userPrompts[1]);
        yours->setSetAsideExpanded(true);
        shot("yours");
        QCursor::setPos(0, 0);
    }
    return 0;
}
