// Writes a PNG of every section of the main window, as it paints itself:
//   velmor-window-shots OUTDIR [light|dark] [THEME]
// or, with --show, only shows the window until it is closed (for the accessibility test);
// with --contrast, measures the contrast of every screen read back from the X server (run it
// at QT_SCALE_FACTOR=2, so that thin strokes reach their full colour);
// with --bench, prints how long a section change takes to paint.
// Scale with QT_SCALE_FACTOR. State lives in memory in a private home.
#include "Contrast.h"
#include "FakeHotKeys.h"
#include "LibraryWorld.h"
#include "core/screens/SidebarSection.h"
#include "core/shortcuts/GlobalShortcuts.h"
#include "platform/desktop/Autostart.h"
#include "ui/library/ContentLibraryScreen.h"
#include "ui/window/MainWindow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTest>

#include <algorithm>
#include <cstdio>

using namespace velmor;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fputs("usage: velmor-window-shots OUTDIR [light|dark] [THEME]\n", stderr);
        return 2;
    }
    const QString outdir = args[1];
    const QString appearance = args.value(2, QStringLiteral("light"));
    if (!outdir.startsWith(QStringLiteral("--")))
        QDir().mkpath(outdir);

    test::LibraryWorld world;
    test::FakeHotKeys hotKeys;
    shortcuts::GlobalShortcuts::initialize(world.store, hotKeys);
    shortcuts::triggerVelmoring();
    world.state.setAppearanceMode(appearance == QStringLiteral("dark") ? AppearanceMode::dark
                                                                       : AppearanceMode::light);
    if (const auto theme = themeFromRawValue(args.value(3)))
        world.state.setTheme(*theme);
    world.state.setLastPrompt(PromptItem{
        QStringLiteral("p"), QStringLiteral("What is asking for your attention right now?"),
        PromptCategory::question, std::nullopt, std::nullopt, PackSource::starter});
    world.state.setLastPromptDate(QDateTime::currentDateTime().addSecs(-5 * 60));

    XdgAutostart autostart;
    MainWindow window({world.state,
                       world.notifications,
                       [&world] { return world.content->starterPrompts(); },
                       &world.library,
                       {},
                       &autostart,
                       {}});
    // The shelf of the real window, with the starter pack and the library of this private home.
    window.setContentScreen([&world](QWidget* parent) {
        return new ContentLibraryScreen(world.library, *world.content, world.state, parent);
    });
    window.bringToFront();
    if (outdir == QStringLiteral("--show")) {
        QObject::connect(&window, &MainWindow::screenChanged, [](QWidget* screen) {
            std::printf("screen %s\n", qPrintable(screen->objectName()));
            std::fflush(stdout);
        });
        return app.exec();
    }
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    if (outdir == QStringLiteral("--contrast"))
        return measureContrast(window, world.state);
    if (outdir == QStringLiteral("--bench")) {
        // Each change: a fresh screen made, laid out and painted once.
        QElapsedTimer timer;
        const int rounds = 20;
        QList<double> times;
        for (int round = 0; round < rounds; ++round)
            for (SidebarSection section : allSidebarSections) {
                timer.start();
                window.select(section);
                window.repaint();
                times.append(timer.nsecsElapsed() / 1e6);
                QCoreApplication::processEvents();
            }
        std::sort(times.begin(), times.end());
        std::printf("section switch: median %.2f ms, 90th percentile %.2f ms (%d changes)\n",
                    times[times.size() / 2], times[times.size() * 9 / 10], int(times.size()));
        return 0;
    }
    for (SidebarSection section : allSidebarSections) {
        window.select(section);
        QTest::qWait(350); // past the cross-fade
        const QString file = outdir + u'/' + rawValue(section) + u'-' + appearance + ".png";
        if (!window.grab().save(file))
            return 1;
        std::printf("%s\n", qPrintable(file));
    }
    return 0;
}
