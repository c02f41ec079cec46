// The content library at a large library: 10,000 prompts of the user's own, 1,000 of them
// favourites. Prints the time to show "Yours" and a category (from the click to the first
// painted frame), one scroll step, adding a prompt (Return to the new row painted), and the
// resident memory with the list open.
#include "LibraryWorld.h"
#include "core/content/UserLibrary.h"
#include "platform/desktop/Appearance.h"
#include "ui/library/ContentLibraryScreen.h"
#include "ui/library/PromptList.h"
#include "ui/library/PromptRow.h"
#include "ui/library/PromptScreens.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>

#include <algorithm>
#include <cstdio>

using namespace velmor;

namespace {

long rssKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

double ms(QElapsedTimer& t) {
    return double(t.nsecsElapsed()) / 1e6;
}

// Median of `runs` timings of `step`.
template <class F> double median(int runs, F step) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i)
        times.push_back(step());
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    test::LibraryWorld world;
    app.setPalette(lightPalette(QColor(200, 140, 90))); // the window's own light palette
    const long rssEmpty = rssKb();

    QList<PromptItem> prompts;
    QSet<QString> favorites;
    const QStringList words = {"light", "breath", "quiet", "morning", "river",  "hands",
                               "tea",   "window", "rain",  "friend",  "garden", "silence"};
    for (int i = 0; i < 10000; ++i) {
        QString text = QStringLiteral("Prompt %1:").arg(i);
        for (int w = 0; w < 4 + i % 23; ++w)
            text += QLatin1Char(' ') + words[(i * 7 + w * 3) % words.size()];
        prompts << *makeUserPrompt(text, i % 5 == 0 ? QStringLiteral("Someone") : QString());
        if (i % 10 == 0)
            favorites << prompts.last().id;
    }
    world.library.mergeLibrary(prompts, favorites, {});

    ContentLibraryScreen screen(world.library, *world.content, world.state);
    screen.resize(600, 560);
    screen.show();
    if (!QTest::qWaitForWindowExposed(&screen))
        return 1;
    screen.activateWindow();
    QApplication::processEvents();

    const auto openAndPaint = [&](auto open) {
        return median(5, [&] {
            screen.showShelf();
            QApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QElapsedTimer t;
            t.start();
            open();
            QApplication::processEvents();
            screen.repaint();
            return ms(t);
        });
    };
    const double yoursMs = openAndPaint([&] { screen.openYours(); });
    const double categoryMs =
        openAndPaint([&] { screen.openCategory(PromptCategory::question); }); // 10,036 rows
    std::printf("show a category (10,036 prompts): %.1f ms\n", categoryMs);
    std::printf("show Yours (10,000 prompts): %.1f ms\n", yoursMs);

    screen.showShelf();
    screen.openYours();
    QApplication::processEvents();
    auto* yours = qobject_cast<YourPromptsView*>(screen.currentView());
    PromptList* list = yours->list();
    QScrollBar* bar = list->verticalScrollBar();
    std::vector<double> steps;
    for (int i = 0; i < 300; ++i) {
        QElapsedTimer t;
        t.start();
        bar->setValue(bar->value() + 3 * bar->singleStep()); // one wheel notch
        list->viewport()->repaint();
        steps.push_back(ms(t));
    }
    std::sort(steps.begin(), steps.end());
    std::printf("scroll step (one wheel notch, 60 px): median %.2f ms, worst %.2f ms, %d row "
                "widgets built\n",
                steps[steps.size() / 2], steps.back(),
                int(list->findChildren<PromptRow*>().size()));

    const double addMs = median(5, [&] {
        QTest::keyClicks(yours->promptField(), QStringLiteral("A new prompt of my own"));
        QElapsedTimer t;
        t.start();
        QTest::keyClick(yours->promptField(), Qt::Key_Return);
        screen.repaint();
        const double elapsed = ms(t);
        QTest::qWait(300); // the new row grows in over 0.2 s: look once it is all there
        const QList<QWidget*> shown = list->visibleWidgets();
        auto* last = shown.isEmpty() ? nullptr : qobject_cast<PromptRow*>(shown.last());
        if (!last || last->entry().prompt.id != world.library.data().userPrompts.last().id)
            std::printf("  (the new prompt was not in view)\n");
        return elapsed;
    });
    std::printf("add a prompt (Return to the new row painted): %.1f ms\n", addMs);

    std::printf("RSS with the list open: %ld kB (%ld kB before the 10,000 prompts)\n", rssKb(),
                rssEmpty);
    return 0;
}
