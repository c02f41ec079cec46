#pragma once

#include "core/base/Clock.h"
#include "core/model/PromptItem.h"
#include "core/session/OverlayPresenter.h"

#include <QObject>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QScreen;

namespace velmor {

class AppState;
class LayerShell;
class MainScreen;
class OverlaySounds;
class OverlayPanel;
class OverlaySurface;
class OverlayView;

// Puts the overlay on screen and takes it away: one panel per covered screen, the prompt on the
// main screen only, arrival and departure sounds, dismissal by key, click or Escape, a removal
// 6.5 s after the fade-out begins and a safety removal 600 s after presentation. Every callback
// and timer of one overlay carries its generation and does nothing once another overlay came.
// On Wayland the panels are surfaces on the compositor's overlay layer where it offers one, and
// windows of its own elsewhere (or once the layer shell failed).
class OverlayManager final : public QObject, public OverlayPresenter {
    Q_OBJECT
public:
    static constexpr double maxOverlayDuration = 600.0;
    static constexpr double dismissAnimationDuration = 6.5;
    static constexpr double inputDelay = 7.3;

    OverlayManager(AppState& appState, Clock& clock, OverlaySounds& sounds);
    ~OverlayManager() override;

    // `onDismiss` is called at most once, when the overlay begins to leave by the user's hand or
    // the safety time-out; never by dismissImmediately() or a screen change. Dropped while an
    // overlay is on screen.
    void present(const PromptItem& prompt, std::function<void()> onDismiss) override;
    // Removes whatever overlay is on screen at once: no sound, no fade, no onDismiss.
    void dismissImmediately() override;

    bool isPresenting() const { return isPresenting_; }
    bool isDismissing() const { return isDismissing_; }
    std::uint64_t generation() const { return generation_; }
    int primaryPanelIndex() const { return primaryPanelIndex_; }
    // The panels that are windows of Qt's, and their views (none on the layer shell).
    const std::vector<OverlayPanel*>& panels() const { return panels_; }
    const std::vector<OverlayView*>& views() const { return hostingViews_; }
    // Whether the overlay goes on the compositor's layer shell.
    bool usesLayerShell() const { return layerShell_ != nullptr; }

    // Replaces how the main screen and the reduce-motion setting are found (defaults: the
    // desktop's focused window or pointer, and the desktop's animation setting).
    void setMainScreen(const MainScreen* mainScreen);
    void setReduceMotion(std::function<bool()> reduceMotion);

signals:
    // A screen change removed the overlay (onDismiss was not called).
    void removedByScreenChange();

private:
    void dismiss(std::uint64_t g, const std::function<void()>& onDismiss);
    void dismissWithoutFade(std::uint64_t g, const std::function<void()>& onDismiss);
    void safetyTimeout(std::uint64_t g, const std::function<void()>& onDismiss);
    void watchScreen(QScreen* screen);
    void screensChanged();
    // The layer shell failed or refused a surface: windows of its own from now on, starting
    // with the overlay on screen.
    void dropLayerShell(const QString& why);

    AppState& appState_;
    Clock& clock_;
    OverlaySounds& sounds_;
    std::unique_ptr<MainScreen> desktopMainScreen_;
    const MainScreen* mainScreen_;
    std::function<bool()> reduceMotion_;

    std::unique_ptr<LayerShell> layerShell_;
    std::vector<OverlaySurface*> surfaces_;
    std::vector<OverlayPanel*> panels_;
    std::vector<OverlayView*> hostingViews_;
    int primaryPanelIndex_ = 0;
    bool isPresenting_ = false;
    bool isDismissing_ = false;
    std::optional<PromptItem> currentPrompt_;
    std::function<void()> currentOnDismiss_;
    OneShot safetyTimeoutTask_;
    OneShot dismissAnimationTask_;
    std::uint64_t generation_ = 0;
};

} // namespace velmor
