#include "core/base/FileProblems.h"
#include "core/base/Log.h"
#include "core/base/Resources.h"
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
#include "platform/dbus/BackgroundPortal.h"
#include "platform/dbus/DBusIdleInhibitor.h"
#include "platform/dbus/DBusInhibitorWatch.h"
#include "platform/dbus/DBusScreenLock.h"
#include "platform/dbus/PortalHotKeys.h"
#include "platform/desktop/Autostart.h"
#include "platform/desktop/SingleInstance.h"
#include "platform/microphone/MicrophoneChain.h"
#include "platform/screencast/PipeWireScreenCast.h"
#include "platform/sound/SoundManager.h"
#include "platform/wayland/PointerMainScreen.h"
#include "platform/wayland/WaylandActivation.h"
#include "platform/wayland/WaylandSession.h"
#include "platform/x11/WindowActivation.h"
#include "platform/x11/X11HotKeys.h"
#include "ui/library/ContentLibraryScreen.h"
#include "ui/overlay/OverlayManager.h"
#include "ui/sync/SyncSettingsBlock.h"
#include "ui/tray/TrayMenu.h"
#include "ui/window/MainWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QSocketNotifier>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QTranslator>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <malloc.h>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>

using namespace velmor;

namespace {

// The one id the desktop knows the program by: its desktop entry, metainfo and icon.
constexpr const char* desktopId = "app.velmor.Velmor";

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

// The desktop's sources: Evolution Data Server's calendars and the .ics files listed in the
// settings, the sound server's (else ALSA's) microphone, PipeWire's screen casts and the screen
// saver's inhibitors.
std::unique_ptr<CallDetectionService> desktopCallDetection(Clock& clock, SettingsStore& settings) {
    // Each calendar is read on a thread of its own, ahead of time: a slow service or a hostile
    // file never holds up the event loop.
    CallDetectionService::Sources sources;
    sources.calendars.push_back(std::make_unique<BackgroundCalendar>(
        clock, std::make_unique<DesktopCalendar>(DesktopCalendar::defaultModulePath())));
    auto listed = std::make_shared<CalendarFileList>(settings);
    sources.calendars.push_back(std::make_unique<BackgroundCalendar>(
        clock, std::make_unique<IcsCalendar>([listed] { return listed->paths(); }),
        [listed] { listed->update(); }));
    sources.microphone = std::make_unique<MicrophoneChain>();
    sources.screenCast = std::make_unique<PipeWireScreenCast>();
    sources.fullScreen = std::make_unique<DBusInhibitorWatch>();
    return std::make_unique<CallDetectionService>(clock, std::move(sources));
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

bool hasDisplay(const QStringList& arguments) {
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
           arguments.contains(QStringLiteral("-platform")) ||
           arguments.contains(QStringLiteral("--platform"));
}

// Our catalogue and Qt's own (its dialogs' buttons, the command line's errors), in the first
// language the desktop asks for. English is the program's own: a user who puts it first gets
// no other language after it.
void loadTranslations(QCoreApplication& app) {
    const QLocale locale;
    const QStringList languages = locale.uiLanguages();
    if (languages.isEmpty() || QLocale(languages.first()).language() == QLocale::English)
        return;
    const std::pair<QString, QString> catalogues[] = {
        {QStringLiteral("qt"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)},
        {QStringLiteral("velmor"), resourcesDir() + QStringLiteral("/translations")},
    };
    for (const auto& [name, folder] : catalogues) {
        auto* translator = new QTranslator(&app);
        if (translator->load(locale, name, QStringLiteral("_"), folder))
            QCoreApplication::installTranslator(translator);
        else
            delete translator;
    }
}

// --help, --version and a refusal only print: no window system is touched, so they work
// without a display too.
int answerWithoutStarting(int argc, char** argv, const QStringList& arguments) {
    QCoreApplication app(argc, argv);
    loadTranslations(app);
    // Read once more, now in the user's language.
    const CommandLine line = readCommandLine(arguments);
    if (line.action == CommandLine::Action::refuse) {
        std::fprintf(stderr, "%s\n%s\n", qPrintable(line.text),
                     qPrintable(QCoreApplication::translate(
                         "CommandLine", "Try 'velmor --help' for the options.")));
        return 2;
    }
    std::fputs(qPrintable(line.text), stdout);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    // Few threads allocate, and rarely: one heap each for the first two, shared after that,
    // rather than a 64 MB arena per thread that each keeps its own free pages.
    ::mallopt(M_ARENA_MAX, 2);
    QCoreApplication::setApplicationName(QStringLiteral("Velmor"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VELMOR_VERSION));
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLine commandLine = readCommandLine(arguments);
    if (commandLine.action != CommandLine::Action::run)
        return answerWithoutStarting(argc, argv, arguments);
    const LaunchRequest request = commandLine.request;
    if (!hasDisplay(arguments)) {
        logLine(
            QStringLiteral("No graphical session found: Velmor needs an X11 or Wayland display"));
        return 1;
    }

    BootClock bootClock;
    Clock::setShared(&bootClock);

    QApplication app(argc, argv);
    QApplication::setDesktopFileName(QString::fromLatin1(desktopId));
    QApplication::setQuitOnLastWindowClosed(false);

    SingleInstance instance;
    // A re-open passes on the token with which the desktop lets its window forward.
    QString launchToken;
    if (request == LaunchRequest::reopen && isWaylandSession()) {
        launchToken = qEnvironmentVariable("XDG_ACTIVATION_TOKEN");
        if (launchToken.isEmpty())
            launchToken = requestWaylandActivationToken();
    } else if (request == LaunchRequest::reopen) {
        launchToken = x11LaunchStartupId();
    }
    switch (instance.claim(lineText({request, launchToken}))) {
    case SingleInstance::Launch::first:
        if (request == LaunchRequest::quit) {
            logLine(QStringLiteral("Velmor is not running"));
            return 0;
        }
        break;
    case SingleInstance::Launch::handedOver:
        return 0;
    case SingleInstance::Launch::unanswered:
        logLine(QStringLiteral("Velmor is already running but does not answer"));
        return 1;
    }
    quitOnSignals(app);
    loadTranslations(app);
    // The leaf on every window and dialog: the installed theme's icon, else the one we ship.
    QApplication::setWindowIcon(QIcon::fromTheme(
        QString::fromLatin1(desktopId), QIcon(resourcePath(QStringLiteral("icons/velmor.svg")))));
    // Desktops that list programs running without a window learn of Velmor through the portal.
    BackgroundPortal background;
    background.request(QCoreApplication::translate(
        "velmor::Background", "Velmor waits in the background to offer a pause now and then."));

    // Files that could not be saved or read are named in the window until they are saved again.
    FileProblems fileProblems;
    SettingsStore::shared().reportProblemsTo(&fileProblems);

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
    syncOptions.fileProblems = &fileProblems;
    SyncService sync(syncSettings, state, UserLibrary::shared(), std::move(syncOptions));
    sync.start();

    // Every way out ends the event loop the same way, pending saves included; exit() rather
    // than quit(), which a window that will not close (the main window only hides) could veto.
    const auto quitVelmor = [] {
        QMetaObject::invokeMethod(
            qApp, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
    };

    XdgAutostart autostart;
    // An entry left by an older version, or one whose program has gone, is put right.
    if (const QString review = autostart.review(); !review.isEmpty())
        logLine(review);
    OpenClock* const openClock = OpenClock::create(&app);
    // The window is built each time it is opened and destroyed when it is closed: someone who
    // keeps Velmor in the tray never pays for its widgets, nor for them after a visit.
    QPointer<MainWindow> window;
    const auto openWindow = [&](const QString& activationToken) {
        if (!window) {
            window = new MainWindow(WindowServices{
                state, commands, [&content] { return content.starterPrompts(); },
                &UserLibrary::shared(),
                [](VelmorSound sound) { SoundManager::shared().preview(sound); }, &autostart,
                [&calls] {
                    if (calls)
                        calls->requestCalendarAccess();
                },
                &fileProblems});
            window->setSyncBlock([&syncSettings, &sync](QWidget* parent) {
                return new SyncSettingsBlock(syncSettings, sync, parent);
            });
            window->setContentScreen([&state, &content](QWidget* parent) {
                return new ContentLibraryScreen(UserLibrary::shared(), content, state, parent);
            });
            QObject::connect(window, &MainWindow::quitRequested, &app, quitVelmor);
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
        window->bringToFront(activationToken);
    };
    TrayMenu tray(state, commands, [&openWindow] { openWindow(QString()); });
    tray.show();

    delegate.setUp();

    const auto hotKeys = desktopHotKeys();
    shortcuts::GlobalShortcuts::initialize(SettingsStore::shared(), *hotKeys);
    shortcuts::GlobalShortcuts::onKeyUp(shortcuts::triggerVelmoring(), [&commands] {
        logLine(QStringLiteral("[Velmor] Shortcut fired!"));
        commands.send(Command::showNow);
    });

    const auto handle = [&](LaunchRequest r, const QString& activationToken) {
        if (r == LaunchRequest::reopen) {
            if (openClock && (!window || !window->isVisible()))
                openClock->requested();
            // Minimised or covered by another window, it comes to the front all the same.
            openWindow(activationToken);
            return;
        }
        if (r == LaunchRequest::quit) {
            quitVelmor();
            return;
        }
        if (const auto command = commandFor(r))
            commands.send(*command);
    };
    QObject::connect(&instance, &SingleInstance::requestReceived, &app, handle);
    instance.listen();
    // A first launch with --now and the like acts once the session has started. A start at
    // login (--background) never opens the window: the desktop's tray may not be up yet, and
    // desktops without one would show it at every login.
    if (commandFor(request))
        QMetaObject::invokeMethod(
            &app, [&] { handle(request, QString()); }, Qt::QueuedConnection);
    else if (request == LaunchRequest::reopen && !QSystemTrayIcon::isSystemTrayAvailable())
        openWindow(QString()); // with no tray the window is the only way in

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
