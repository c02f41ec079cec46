#include "app/AppDelegate.h"
#include "app/MainWindow.h"
#include "app/Requests.h"
#include "app/SingleInstance.h"
#include "app/TrayMenu.h"
#include "content/ContentManager.h"
#include "content/UserLibrary.h"
#include "platform/DBusIdleInhibitor.h"
#include "platform/Log.h"
#include "platform/SettingsStore.h"
#include "platform/X11HotKeys.h"
#include "session/CallDetectionService.h"
#include "session/OverlayManager.h"
#include "session/SoundManager.h"
#include "shortcuts/GlobalShortcuts.h"
#include "state/AppState.h"
#include "state/NotificationCenter.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QSystemTrayIcon>

#include <csignal>
#include <cstdlib>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

using namespace velmor;

namespace {

constexpr const char* usage = "Usage: velmor [--now | --pause | --resume]\n"
                              "  (no option)  start Velmor, or bring its window back\n"
                              "  --now        show an overlay now\n"
                              "  --pause      stop the session\n"
                              "  --resume     start a new session\n";

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

bool hasDisplay() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

} // namespace

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (arguments == QStringList{QStringLiteral("--help")}) {
        std::fputs(usage, stdout);
        return 0;
    }
    const auto request = requestFromArguments(arguments);
    if (!request) {
        std::fputs(usage, stderr);
        return 2;
    }
    if (!hasDisplay()) {
        logLine(
            QStringLiteral("No graphical session found: Velmor needs an X11 or Wayland display"));
        return 1;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmor"));
    QApplication::setDesktopFileName(QStringLiteral("velmor"));
    QApplication::setQuitOnLastWindowClosed(false);

    SingleInstance instance;
    if (instance.sendToRunning(requestText(*request)))
        return 0;
    instance.listen();
    quitOnSignals(app);

    // The sound players must exist before the settings model, which prepares them as it loads.
    SoundPreparer::install(&SoundManager::shared());
    AppState& state = AppState::shared();
    ContentManager& content = ContentManager::shared();
    NotificationCenter& notifications = NotificationCenter::shared();
    Clock& clock = Clock::shared();

    OverlayManager overlays(state, clock, SoundManager::shared());
    DBusIdleInhibitor inhibitor;
    AppDelegate delegate(
        {clock, state, content, overlays, inhibitor, notifications, [&clock] {
             return std::unique_ptr<CallDetector>(
                 CallDetectionService::createForDesktop(clock, SettingsStore::shared()));
         }});
    QObject::connect(&overlays, &OverlayManager::removedByScreenChange, &delegate,
                     &AppDelegate::overlayRemovedByScreenChange);

    MainWindow window;
    TrayMenu tray(state, notifications, [&window] { window.bringToFront(); });
    tray.show();

    delegate.setUp();

    const auto hotKeys = makeSystemHotKeys();
    shortcuts::GlobalShortcuts::initialize(SettingsStore::shared(), *hotKeys);
    shortcuts::GlobalShortcuts::onKeyUp(shortcuts::triggerVelmoring(), [&notifications] {
        logLine(QStringLiteral("[Velmor] Shortcut fired!"));
        notifications.post(QString::fromLatin1(NotificationCenter::velmorNow));
    });

    const auto handle = [&](LaunchRequest r) {
        if (r == LaunchRequest::reopen) {
            if (!window.isVisible())
                window.bringToFront();
            return;
        }
        notifications.post(notificationFor(r));
    };
    QObject::connect(&instance, &SingleInstance::requestReceived, &app, [&](const QString& text) {
        if (const auto r = requestFromText(text))
            handle(*r);
    });
    // A first launch with --now and the like acts once the session has started.
    if (*request != LaunchRequest::reopen)
        QMetaObject::invokeMethod(
            &app, [&] { handle(*request); }, Qt::QueuedConnection);
    else if (!QSystemTrayIcon::isSystemTrayAvailable())
        window.bringToFront(); // with no tray the window is the only way in

    QObject::connect(&app, &QCoreApplication::aboutToQuit, [] {
        UserLibrary::shared().flush();
        SettingsStore::shared().flush();
    });
    const int status = app.exec();
    // Nothing is torn down on quit: everything that must reach the disk was flushed above, and
    // some desktop libraries (the calendar service's client) can hang while disposing of their
    // connections at exit.
    std::fflush(stdout);
    std::_Exit(status);
}
