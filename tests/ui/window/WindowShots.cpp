// Writes a PNG of every section of the main window, as it paints itself:
//   velmor-window-shots OUTDIR [light|dark] [THEME]
// Scale with QT_SCALE_FACTOR. State lives in memory in a private home.
#include "../../core/shortcuts/FakeHotKeys.h"
#include "StateWorld.h"
#include "core/screens/SidebarSection.h"
#include "core/shortcuts/GlobalShortcuts.h"
#include "ui/window/MainWindow.h"

#include <QApplication>
#include <QDir>
#include <QTest>

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
    QDir().mkpath(outdir);

    test::StateWorld world;
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

    MainWindow window({world.state, world.notifications});
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
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
