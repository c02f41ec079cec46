#include "content/ContentManager.h"
#include "content/UserLibrary.h"
#include "platform/SettingsStore.h"
#include "state/AppState.h"

#include <QApplication>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

using namespace velmor;

namespace {
// SIGTERM and SIGINT end the event loop normally, so pending saves are written.
int signalPipe[2] = {-1, -1};

void onSignal(int) {
    const char byte = 1;
    [[maybe_unused]] auto written = ::write(signalPipe[1], &byte, 1);
}

void quitOnSignals(QCoreApplication& app) {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [] { QCoreApplication::quit(); });
    std::signal(SIGTERM, onSignal);
    std::signal(SIGINT, onSignal);
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmor"));
    QApplication::setQuitOnLastWindowClosed(false);
    quitOnSignals(app);

    AppState::shared();
    UserLibrary::shared();
    ContentManager::shared();

    QObject::connect(&app, &QCoreApplication::aboutToQuit, [] {
        UserLibrary::shared().flush();
        SettingsStore::shared().flush();
    });
    return app.exec();
}
