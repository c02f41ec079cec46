// Shows one overlay on the current display and optionally screenshots it or measures a cycle.
//   velmor-overlay-preview [--theme NAME] [--text T] [--source S] [--work W] [--every-screen]
//                          [--reduce-motion] [--shots DIR] [--bench]
// --shots DIR writes DIR/overlay-2s.png, -5s and -8s (import -window root) and quits.
// --bench presses a key at 8 s (xdotool), waits for the removal and prints the figures.
#include "core/model/Commands.h"
#include "core/session/OverlaySounds.h"
#include "core/settings/AppState.h"
#include "core/settings/SettingsStore.h"
#include "core/settings/SoundPreparer.h"
#include "platform/clock/BootClock.h"
#include "platform/desktop/Fonts.h"
#include "ui/overlay/OverlayManager.h"
#include "ui/overlay/OverlayPanel.h"
#include "ui/overlay/OverlayView.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QProcess>
#include <QWindow>

#include <sys/resource.h>

#include <cstdio>

using namespace velmor;

namespace {

struct Silent final : OverlaySounds, SoundPreparer {
    void playArrival() override {}
    void playDeparture() override {}
    void prepare(VelmorSound, double) override {}
};

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& tv) { return double(tv.tv_sec) + tv.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Records the clock's reading at the first event of one type reaching a watched object.
class FirstEvent final : public QObject {
public:
    FirstEvent(Clock& clock, QEvent::Type type) : clock_(clock), type_(type) {}
    double at = -1;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (at < 0 && event->type() == type_ && (type_ != QEvent::Expose || isExposed(watched)))
            at = clock_.now();
        return false;
    }

private:
    static bool isExposed(QObject* o) {
        auto* window = qobject_cast<QWindow*>(o);
        return window && window->isExposed();
    }
    Clock& clock_;
    QEvent::Type type_;
};

void runLater(Clock& clock, double seconds, std::function<void()> f) {
    clock.after(seconds, std::move(f));
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QCommandLineParser options;
    options.addHelpOption();
    options.addOptions({
        {"theme", "Theme raw value.", "name", "charcoal"},
        {"text", "Prompt text.", "text", "What is here, right now, that you have not noticed?"},
        {"source", "Attribution source.", "source", "Ada Lane"},
        {"work", "Attribution work.", "work", "Field Notes"},
        {"every-screen", "Cover every screen."},
        {"reduce-motion", "Show without animation."},
        {"shots", "Write screenshots at 2, 5 and 8 s into this folder.", "dir"},
        {"bench", "Measure one full cycle and print the figures."},
    });
    options.process(app);

    BootClock clock;
    Clock::setShared(&clock);
    SettingsStore store(QString(), clock);
    Commands notifications;
    Silent silent;
    AppState state(store, notifications, silent);
    const auto theme = themeFromRawValue(options.value("theme"));
    if (!theme) {
        std::fprintf(stderr, "unknown theme %s\n", qPrintable(options.value("theme")));
        return 2;
    }
    state.setTheme(*theme);
    state.setOverlayScope(options.isSet("every-screen") ? OverlayScope::everyScreen
                                                        : OverlayScope::thisScreen);
    loadBundledFonts();

    PromptItem prompt;
    prompt.id = QStringLiteral("PREVIEW");
    prompt.text = options.value("text");
    if (!options.value("source").isEmpty())
        prompt.source = options.value("source");
    if (!options.value("work").isEmpty())
        prompt.sourceWork = options.value("work");

    OverlayManager overlays(state, clock, silent);
    if (options.isSet("reduce-motion"))
        overlays.setReduceMotion([] { return true; });

    const double cpuBefore = cpuSeconds();
    const double presentCalled = clock.now();
    overlays.present(prompt, [] {});
    const double presentReturned = clock.now();
    const double cpuAfterPresent = cpuSeconds();
    if (overlays.panels().empty()) {
        std::puts("No screen to show the overlay on");
        return 1;
    }
    OverlayPanel* mainPanel = overlays.panels()[size_t(overlays.primaryPanelIndex())];
    OverlayView* mainView = overlays.views()[size_t(overlays.primaryPanelIndex())];

    if (options.isSet("shots")) {
        const QString dir = options.value("shots");
        auto pending = std::make_shared<int>(0);
        for (int at : {2, 5, 8})
            runLater(clock, at, [dir, at, pending] {
                ++*pending;
                auto* import = new QProcess;
                QObject::connect(import, &QProcess::finished, [import, pending] {
                    import->deleteLater();
                    if (--*pending == 0 && !import->property("more").toBool())
                        QCoreApplication::quit();
                });
                import->setProperty("more", at < 8);
                import->start("import", {"-window", "root",
                                         QStringLiteral("%1/overlay-%2s.png").arg(dir).arg(at)});
            });
        return app.exec();
    }

    if (!options.isSet("bench"))
        return app.exec();

    FirstEvent mapped(clock, QEvent::Expose);
    mainPanel->windowHandle()->installEventFilter(&mapped);
    FirstEvent keyArrived(clock, QEvent::KeyPress);
    mainPanel->installEventFilter(&keyArrived);
    double fadeOutPainted = -1;
    QObject::connect(mainView, &OverlayView::fadeOutPainted, mainView,
                     [&] { fadeOutPainted = clock.now(); });
    double cpuFadeIn = 0;
    runLater(clock, OverlayManager::inputDelay + 0.7, [&] {
        cpuFadeIn = cpuSeconds() - cpuBefore;
        QProcess::execute("xdotool", {"key", "space"});
    });

    // The figures are read when the panel is hidden, before the overlay's widgets are deleted.
    struct Removal final : QObject {
        std::function<void()> report;
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Hide && report)
                std::exchange(report, nullptr)();
            return false;
        }
    } removal;
    const QSize size = mainView->size();
    removal.report = [&] {
        const double cpu = cpuSeconds() - cpuBefore;
        std::printf("screen: %dx%d\n", size.width(), size.height());
        std::printf("cycle CPU time: %.3f s (goal < 0.15 s; fade-in and 0.7 s still: %.3f s)\n",
                    cpu, cpuFadeIn);
        std::printf("full-window repaints after the first frame: %d (goal 0)\n",
                    mainView->fullRepaintsAfterFirst());
        std::printf("present() itself: %.1f ms wall, %.1f ms CPU\n",
                    (presentReturned - presentCalled) * 1000, (cpuAfterPresent - cpuBefore) * 1000);
        std::printf("present to panel mapped: %.1f ms (goal < 50 ms)\n",
                    mapped.at < 0 ? -1.0 : (mapped.at - presentCalled) * 1000);
        std::printf("key press to start of fade-out: %.1f ms (goal < 20 ms)\n",
                    keyArrived.at < 0 || fadeOutPainted < 0
                        ? -1.0
                        : (fadeOutPainted - keyArrived.at) * 1000);
        std::fflush(stdout);
        QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    };
    mainPanel->installEventFilter(&removal);
    // A cycle that never ends (no key arrived) is reported as such.
    runLater(clock, 30, [] {
        std::puts("overlay still on screen after 30 s: the key press did not arrive");
        QCoreApplication::exit(1);
    });
    return app.exec();
}
