#include "ui/overlay/OverlayManager.h"

#include "core/base/Log.h"
#include "core/session/OverlaySounds.h"
#include "core/settings/AppState.h"
#include "platform/desktop/Fonts.h"
#include "platform/desktop/ReduceMotion.h"
#include "platform/wayland/LayerShell.h"
#include "platform/wayland/WaylandSession.h"
#include "platform/x11/MainScreen.h"
#include "ui/overlay/LayerPanel.h"
#include "ui/overlay/OverlayPanel.h"
#include "ui/overlay/OverlayView.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QUuid>

#include <algorithm>

namespace velmor {

namespace {

// An open menu of ours holds the keyboard and the pointer. The overlay's grab would take them
// from it while it stays open and believes it still has them, and the global shortcut stays
// off for as long as a menu is open: close every menu first, so menu tracking ends.
void closeOpenMenus() {
    while (QWidget* popup = QApplication::activePopupWidget()) {
        popup->close();
        if (QApplication::activePopupWidget() == popup) { // refused to close
            popup->hide();
            if (QApplication::activePopupWidget() == popup)
                break;
        }
    }
}

// What a screen without the prompt shows: the darkened background only.
PromptItem blankPrompt() {
    PromptItem blank;
    blank.id = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
    blank.category = PromptCategory::body;
    blank.packSource = PackSource::user;
    return blank;
}

} // namespace

OverlayManager::OverlayManager(AppState& appState, Clock& clock, OverlaySounds& sounds)
    : appState_(appState), clock_(clock), sounds_(sounds),
      desktopMainScreen_(std::make_unique<DesktopMainScreen>()),
      mainScreen_(desktopMainScreen_.get()), reduceMotion_(&systemReducesMotion),
      safetyTimeoutTask_(clock), dismissAnimationTask_(clock) {
    // Font files are opened now, at start-up, rather than when the first overlay arrives.
    loadBundledFonts();
    // The connection is made at start-up too: the first overlay waits for nothing.
    if (isWaylandSession()) {
        layerShell_ = LayerShell::connect();
        if (layerShell_)
            connect(layerShell_.get(), &LayerShell::failed, this, [this] { dropLayerShell({}); });
    }
    if (auto* app = qGuiApp) {
        connect(app, &QGuiApplication::screenAdded, this, [this](QScreen* screen) {
            watchScreen(screen);
            screensChanged();
        });
        connect(app, &QGuiApplication::screenRemoved, this, &OverlayManager::screensChanged);
        connect(app, &QGuiApplication::primaryScreenChanged, this, &OverlayManager::screensChanged);
        for (QScreen* screen : QGuiApplication::screens())
            watchScreen(screen);
    }
}

OverlayManager::~OverlayManager() {
    for (OverlaySurface* surface : surfaces_)
        surface->removeLater();
    // The layer surfaces go later, and use the connection until then.
    if (layerShell_)
        layerShell_.release()->deleteLater();
}

void OverlayManager::dropLayerShell(const QString& why) {
    if (!layerShell_)
        return;
    if (!why.isEmpty())
        logLine(QStringLiteral("Overlay: %1; using windows of its own").arg(why));
    // May be inside the connection's own event handling: it goes once that is done, after the
    // surfaces of the overlay on screen.
    const std::optional<PromptItem> prompt = currentPrompt_;
    const std::function<void()> onDismiss = currentOnDismiss_;
    const bool wasDismissing = isDismissing_;
    dismissImmediately();
    layerShell_->disconnect(this);
    layerShell_.release()->deleteLater();
    if (prompt && !wasDismissing)
        present(*prompt, onDismiss);
}

void OverlayManager::setMainScreen(const MainScreen* mainScreen) {
    mainScreen_ = mainScreen ? mainScreen : desktopMainScreen_.get();
}

void OverlayManager::setReduceMotion(std::function<bool()> reduceMotion) {
    reduceMotion_ =
        reduceMotion ? std::move(reduceMotion) : std::function<bool()>(&systemReducesMotion);
}

void OverlayManager::watchScreen(QScreen* screen) {
    connect(screen, &QScreen::geometryChanged, this, &OverlayManager::screensChanged);
}

void OverlayManager::screensChanged() {
    // Looked at after the current event, once Qt has finished moving windows between screens.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (!isPresenting_)
                return;
            dismissImmediately();
            emit removedByScreenChange();
        },
        Qt::QueuedConnection);
}

void OverlayManager::present(const PromptItem& prompt, std::function<void()> onDismiss) {
    if (isPresenting_)
        return;
    const std::uint64_t g = ++generation_;
    isPresenting_ = true;
    isDismissing_ = false;
    currentPrompt_ = prompt;
    currentOnDismiss_ = onDismiss;

    QScreen* main = mainScreen_->screen();
    const QList<QScreen*> all = QGuiApplication::screens();
    std::vector<QScreen*> screens;
    if (appState_.overlayScope() == OverlayScope::everyScreen)
        screens.assign(all.begin(), all.end());
    else if (main)
        screens.push_back(main);
    else if (!all.isEmpty())
        screens.push_back(all.first());
    if (screens.empty()) {
        isPresenting_ = false;
        currentPrompt_.reset();
        return;
    }
    QScreen* primary = main && std::find(screens.begin(), screens.end(), main) != screens.end()
                           ? main
                           : screens.front();
    const bool reduceMotion = reduceMotion_();
    QPointer<OverlayManager> self(this);
    closeOpenMenus();

    // On Wayland there is no keyboard grab: the compositor gives the keyboard to the window
    // that appears last, so the main panel comes last, and keys count on whichever panel the
    // user's compositor put the focus. A layer surface asks for the keyboard itself.
    const bool wayland = isWaylandSession();
    OverlaySurface* primarySurface = nullptr;
    for (size_t i = 0; i < screens.size(); ++i) {
        const bool isPrimary = screens[i] == primary;
        const PromptItem shown = isPrimary ? prompt : blankPrompt();
        OverlaySurface* surface = nullptr;
        bool keysHere = isPrimary;
        if (layerShell_) {
            auto* layer = LayerPanel::create(*layerShell_, screens[i], appState_, clock_, shown,
                                             reduceMotion, isPrimary);
            if (layer)
                layer->onRefused = [self, g] {
                    if (self && self->generation_ == g)
                        self->dropLayerShell(
                            QStringLiteral("the compositor refused a layer surface"));
                };
            surface = layer;
        }
        if (!surface) {
            auto* panel = new OverlayPanel(screens[i], clock_);
            auto* view = new OverlayView(appState_, clock_, shown, reduceMotion);
            panel->setContent(view);
            panels_.push_back(panel);
            hostingViews_.push_back(view);
            surface = panel;
            keysHere = isPrimary || wayland;
        }
        surface->onEscape = [self, g, onDismiss] {
            if (self)
                self->dismissWithoutFade(g, onDismiss);
        };
        surface->onMouseDown = [self, g, onDismiss] {
            if (self)
                self->dismiss(g, onDismiss);
        };
        if (keysHere) {
            surface->onKeyDown = [self, g, onDismiss] {
                if (self)
                    self->dismiss(g, onDismiss);
            };
        }
        if (isPrimary) {
            primaryPanelIndex_ = int(i);
            if (wayland)
                primarySurface = surface;
            else
                surface->appear(true);
        } else {
            surface->appear(false);
        }
        surface->presentedAt = clock_.now();
        surface->fadeInDuration = inputDelay;
        surfaces_.push_back(surface);
    }
    if (primarySurface)
        primarySurface->appear(true);

    sounds_.playArrival();
    safetyTimeoutTask_.startAfter(maxOverlayDuration, [self, g, onDismiss] {
        if (self)
            self->safetyTimeout(g, onDismiss);
    });
}

void OverlayManager::dismiss(std::uint64_t g, const std::function<void()>& onDismiss) {
    if (!isPresenting_ || isDismissing_ || generation_ != g)
        return;
    isDismissing_ = true;
    sounds_.playDeparture();
    if (onDismiss)
        onDismiss();
    if (!isPresenting_ || generation_ != g) // onDismiss took the overlay away itself
        return;
    for (OverlaySurface* surface : surfaces_) {
        surface->onKeyDown = nullptr;
        surface->onMouseDown = nullptr;
        surface->beginDismiss();
    }
    QPointer<OverlayManager> self(this);
    dismissAnimationTask_.startAfter(dismissAnimationDuration, [self, g] {
        if (self && self->generation_ == g && self->isPresenting_)
            self->dismissImmediately();
    });
}

void OverlayManager::dismissWithoutFade(std::uint64_t g, const std::function<void()>& onDismiss) {
    if (generation_ != g)
        return;
    if (!isDismissing_ && onDismiss)
        onDismiss();
    if (generation_ == g)
        dismissImmediately();
}

void OverlayManager::safetyTimeout(std::uint64_t g, const std::function<void()>& onDismiss) {
    if (generation_ != g || !isPresenting_)
        return;
    if (!isDismissing_ && onDismiss)
        onDismiss();
    if (generation_ == g)
        dismissImmediately();
}

void OverlayManager::dismissImmediately() {
    safetyTimeoutTask_.cancel();
    dismissAnimationTask_.cancel();
    // Deleted later: this may run inside one of the panels' own event handlers.
    const std::vector<OverlaySurface*> surfaces = std::exchange(surfaces_, {});
    panels_.clear();
    hostingViews_.clear();
    for (OverlaySurface* surface : surfaces)
        surface->removeLater();
    currentPrompt_.reset();
    currentOnDismiss_ = nullptr;
    isPresenting_ = false;
    isDismissing_ = false;
}

} // namespace velmor
