#include "core/base/Log.h"
#include "core/content/ContentManager.h"
#include "core/content/UserLibrary.h"
#include "core/model/Commands.h"
#include "core/session/AppDelegate.h"
#include "core/session/BackgroundCalendar.h"
#include "core/session/CallDetectionService.h"
#include "core/session/Requests.h"
#include "core/settings/AppState.h"
#include "core/settings/SettingsStore.h"
#include "core/shortcuts/GlobalShortcuts.h"
#include "core/sync/SyncService.h"
#include "core/sync/SyncSettings.h"
#include "platform/calendar/CalendarFiles.h"
#include "platform/calendar/DesktopCalendar.h"
#include "platform/calendar/IcsCalendar.h"
#include "platform/clock/BootClock.h"
#include "platform/dbus/DBusIdleInhibitor.h"
#include "platform/dbus/DBusScreenLock.h"
#include "platform/dbus/PortalHotKeys.h"
#include "platform/desktop/Autostart.h"
#include "platform/desktop/SingleInstance.h"
#include "platform/microphone/MicrophoneChain.h"
#include "platform/sound/SoundManager.h"
#include "platform/wayland/PointerMainScreen.h"
#include "platform/wayland/WaylandSession.h"
#include "platform/x11/X11HotKeys.h"
#include "ui/library/ContentLibraryScreen.h"
#include "ui/overlay/OverlayManager.h"
#include "ui/sync/SyncSettingsBlock.h"
#include "ui/tray/TrayMenu.h"
#include "ui/window/MainWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QSocketNotifier>
#include <QSystemTrayIcon>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <malloc.h>
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

// The desktop's sources: the sound server's (else ALSA's) microphone, Evolution Data Server's
// calendars and the .ics files listed in the settings.
std::unique_ptr<CallDetectionService> desktopCallDetection(Clock& clock, SettingsStore& settings) {
    // Each calendar is asked on a thread of its own: a slow service or a hostile file never
    // holds up the event loop.
    std::vector<std::unique_ptr<CalendarSource>> calendars;
    auto desktop = std::make_unique<DesktopCalendar>(DesktopCalendar::defaultModulePath());
    DesktopCalendar& desktopCalendars = *desktop;
    auto asked = std::make_unique<BackgroundCalendar>(std::move(desktop));
    // Opened as soon as EDS runs, so a check never waits for it.
    desktopCalendars.setOnServicesAppeared([calendar = asked.get()] { calendar->reconnect(); });
    calendars.push_back(std::move(asked));
    auto listed = std::make_shared<CalendarFileList>(settings);
    calendars.push_back(std::make_unique<BackgroundCalendar>(
        std::make_unique<IcsCalendar>([listed] { return listed->paths(); }), 6, 300,
        [listed] { listed->update(); }));
    return std::make_unique<CallDetectionService>(clock, std::make_unique<MicrophoneChain>(),
                                                  std::move(calendars));
}

// With VELMOR_BENCH=1 set, one line per opening of the window: the time from the request to
// the end of its first paint, when the frame has been handed to the X server.
class OpenClock final : public QObject {
public:
    static OpenClock* create(QObject* parent) {
        return qEnvironmentVariableIsSet("VELMOR_BENCH") ? new OpenClock(parent) : nullptr;
    }
    void requested() {
        since_.start();
        waiting_ = true;
    }
    void watch(QWidget* window) { window->installEventFilter(this); }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && waiting_) {
            waiting_ = false;
            const double began = since_.nsecsElapsed() / 1e6;
            // Queued behind the rest of this paint: the children and the flush.
            QTimer::singleShot(0, this, [this, began] {
                std::printf("bench: window painted %.1f ms after the request (paint began at "
                            "%.1f ms)\n",
                            since_.nsecsElapsed() / 1e6, began);
                std::fflush(stdout);
            });
        }
        return false;
    }

private:
    explicit OpenClock(QObject* parent) : QObject(parent) {}
    QElapsedTimer since_;
    bool waiting_ = false;
};

// Hands the heap's free pages back to the system: the start-up and a closed window leave much
// of it free, and a program that waits for hours should not keep it.
void releaseFreeMemory() {
    ::malloc_trim(0);
}

// The desktop's global hot keys: X11 key grabs on X, the desktop portal's global shortcuts on
// Wayland where the portal offers them, else none (the general screen then says how to bind
// `velmor --now` in the desktop's own settings).
std::unique_ptr<shortcuts::HotKeyService> desktopHotKeys() {
    if (isWaylandSession() && PortalHotKeys::offeredVersion() > 0)
        return std::make_unique<PortalHotKeys>(
            QStringLiteral("triggerVelmoring"),
            QCoreApplication::translate("velmor::GeneralScreen", "Trigger velmoring"));
    return makeSystemHotKeys();
}

bool hasDisplay() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

} // namespace

int main(int argc, char** argv) {
    // Few threads allocate, and rarely: one heap each for the first two, shared after that,
    // rather than a 64 MB arena per thread that each keeps its own free pages.
    ::mallopt(M_ARENA_MAX, 2);
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

    BootClock bootClock;
    Clock::setShared(&bootClock);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmor"));
    QApplication::setDesktopFileName(QStringLiteral("velmor"));
    QApplication::setQuitOnLastWindowClosed(false);

    SingleInstance instance;
    switch (instance.claim(requestText(*request))) {
    case SingleInstance::Launch::first:
        break;
    case SingleInstance::Launch::handedOver:
        return 0;
    case SingleInstance::Launch::unanswered:
        logLine(QStringLiteral("Velmor is already running but does not answer"));
        return 1;
    }
    quitOnSignals(app);

    // The sound players must exist before the settings model, which prepares them as it loads.
    SoundPreparer::install(&SoundManager::shared());
    AppState& state = AppState::shared();
    ContentManager& content = ContentManager::shared();
    Commands& commands = Commands::shared();
    Clock& clock = Clock::shared();

    OverlayManager overlays(state, clock, SoundManager::shared());
    // Wayland tells no program which window has the focus: the overlay goes where the pointer
    // was last seen.
    std::unique_ptr<PointerMainScreen> pointerScreen;
    if (isWaylandSession()) {
        pointerScreen = std::make_unique<PointerMainScreen>();
        overlays.setMainScreen(pointerScreen.get());
    }
    DBusIdleInhibitor inhibitor;
    // The delegate owns the call detection; the general screen asks it for calendar access.
    CallDetectionService* calls = nullptr;
    AppDelegate delegate({clock, state, content, overlays, inhibitor, commands, [&clock, &calls] {
                              auto service = desktopCallDetection(clock, SettingsStore::shared());
                              calls = service.get();
                              return service;
                          }});
    QObject::connect(&overlays, &OverlayManager::removedByScreenChange, &delegate,
                     &AppDelegate::overlayRemovedByScreenChange);
    DBusScreenLock screenLock;
    delegate.setScreenLock(&screenLock);

    // Settings and library shared through the user's sync folder, on a thread of its own;
    // started before the session.
    SyncSettings syncSettings(state);
    FolderSyncOptions syncOptions = SyncService::thisComputer();
    syncOptions.releaseMemory = releaseFreeMemory;
    SyncService sync(syncSettings, state, UserLibrary::shared(), std::move(syncOptions));
    sync.start();

    XdgAutostart autostart;
    OpenClock* const openClock = OpenClock::create(&app);
    // The window is built each time it is opened and destroyed when it is closed: someone who
    // keeps Velmor in the tray never pays for its widgets, nor for them after a visit.
    QPointer<MainWindow> window;
    const auto openWindow = [&] {
        if (!window) {
            window = new MainWindow(WindowServices{
                state, commands, [&content] { return content.starterPrompts(); },
                &UserLibrary::shared(),
                [](VelmorSound sound) { SoundManager::shared().preview(sound); }, &autostart,
                [&calls] {
                    if (calls)
                        calls->requestCalendarAccess();
                }});
            window->setSyncBlock([&syncSettings, &sync](QWidget* parent) {
                return new SyncSettingsBlock(syncSettings, sync, parent);
            });
            window->setContentScreen([&state, &content](QWidget* parent) {
                return new ContentLibraryScreen(UserLibrary::shared(), content, state, parent);
            });
            QObject::connect(window, &MainWindow::closed, window, [&window, built = window.data()] {
                // Forgotten at once: a request that comes before it is gone builds a new one.
                if (window == built)
                    window = nullptr;
                built->deleteLater();
            });
            // What the window's widgets, images and fonts held goes back to the system.
            QObject::connect(
                window, &QObject::destroyed, &app, [] { releaseFreeMemory(); },
                Qt::QueuedConnection);
            if (openClock)
                openClock->watch(window);
        }
        window->bringToFront();
    };
    TrayMenu tray(state, commands, openWindow);
    tray.show();

    delegate.setUp();

    const auto hotKeys = desktopHotKeys();
    shortcuts::GlobalShortcuts::initialize(SettingsStore::shared(), *hotKeys);
    shortcuts::GlobalShortcuts::onKeyUp(shortcuts::triggerVelmoring(), [&commands] {
        logLine(QStringLiteral("[Velmor] Shortcut fired!"));
        commands.send(Command::showNow);
    });

    const auto handle = [&](LaunchRequest r) {
        if (r == LaunchRequest::reopen) {
            if (!window || !window->isVisible()) {
                if (openClock)
                    openClock->requested();
                openWindow();
            }
            return;
        }
        if (const auto command = commandFor(r))
            commands.send(*command);
    };
    QObject::connect(&instance, &SingleInstance::requestReceived, &app, handle);
    instance.listen();
    // A first launch with --now and the like acts once the session has started.
    if (*request != LaunchRequest::reopen)
        QMetaObject::invokeMethod(
            &app, [&] { handle(*request); }, Qt::QueuedConnection);
    else if (!QSystemTrayIcon::isSystemTrayAvailable())
        openWindow(); // with no tray the window is the only way in

    QObject::connect(&app, &QCoreApplication::aboutToQuit, [&hotKeys, &sync] {
        UserLibrary::shared().flush();
        sync.finish();
        SettingsStore::shared().flush();
        // The desktop forgets our shortcut with the portal session.
        if (auto* portal = dynamic_cast<PortalHotKeys*>(hotKeys.get()))
            portal->release();
    });
    // Once the start-up's temporary allocations are freed, and again when the background
    // start (calendars, sync) has settled.
    QTimer::singleShot(0, &app, releaseFreeMemory);
    QTimer::singleShot(std::chrono::seconds(5), &app, releaseFreeMemory);
    const int status = app.exec();
    // Nothing is torn down on quit: everything that must reach the disk was flushed above, and
    // some desktop libraries (the calendar service's client) can hang while disposing of their
    // connections at exit.
    std::fflush(stdout);
    std::_Exit(status);
}
