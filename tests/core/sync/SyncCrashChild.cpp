// Changes the library and the shared settings in a tight loop, saving after every change, until
// it is killed. Usage: sync_crash_child HOME SYNC_FOLDER
#include "SyncWorld.h"
#include "TestApp.h"

#include <QCoreApplication>

#include <cstdio>

using namespace velmor;

int main(int argc, char** argv) {
    if (argc != 3)
        return 2;
    const QString home = QString::fromLocal8Bit(argv[1]);
    qputenv("HOME", argv[1]);
    qputenv("XDG_DATA_HOME", (home + "/data").toLocal8Bit());
    test::coreApplication();
    test::Computer computer(home);
    computer.start();
    computer.choose(QString::fromLocal8Bit(argv[2]));
    std::puts("ready");
    std::fflush(stdout);
    const auto themes = allThemes;
    for (int round = 0;; ++round) {
        const QString id =
            QStringLiteral("P%1-%2").arg(QCoreApplication::applicationPid()).arg(round);
        computer.library.addPrompt(test::userPrompt(id, QString(200, QLatin1Char('x'))));
        computer.library.toggleFavorite(id);
        if (round % 3 == 0)
            computer.library.hide(id);
        computer.library.save();
        computer.state.setTheme(themes[size_t(round) % themes.size()]);
        QCoreApplication::processEvents();
    }
}
