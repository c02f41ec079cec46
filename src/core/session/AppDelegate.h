#pragma once

#include "core/base/Clock.h"
#include "core/session/CallDetector.h"

#include <QObject>

#include <functional>
#include <memory>

namespace velmor {

class AppState;
class ContentManager;
class IdleInhibitor;
class Commands;
class OverlayPresenter;
class ScreenLock;
class VelmoringScheduler;

// The session operations: start and stop a session, turn each fire into an overlay or hold it
// back during a call and show it after, show an overlay on demand, and re-arm after an interval
// change. Everything runs on the event loop; the clock's callbacks already arrive there.
class AppDelegate final : public QObject {
    Q_OBJECT
public:
    static constexpr double gracePeriodSeconds = 120;
    // When the overlay's text begins to appear, and the state becomes velmoring.
    static constexpr double textAppearsAfterSeconds = 4.5;
    // How long a due overlay waits for a source that has not answered yet (a calendar just
    // read or changed, the first microphone state), and how often it looks meanwhile.
    static constexpr double unknownWaitSeconds = 3.0;
    static constexpr double unknownPollSeconds = 0.1;

    struct Services {
        Clock& clock;
        AppState& appState;
        ContentManager& content;
        OverlayPresenter& overlays;
        IdleInhibitor& inhibitor;
        Commands& commands;
        std::function<std::unique_ptr<CallDetector>()> makeCallDetection;
    };

    explicit AppDelegate(Services services);
    ~AppDelegate() override;

    // While the screen is locked a due overlay is held back as during a call and shown 120 s
    // after the unlock; one on screen when the lock comes is removed at once. Call before setUp().
    void setScreenLock(ScreenLock* lock);

    // Launch: registers the four observers now; creating call detection and starting the session
    // run as queued tasks right after, in that order.
    void setUp();

    void startSession();
    void stopSession();
    void showOverlayNow();
    void rearmForNewInterval();
    void handleFire();
    void startGracePeriod();
    void gracePeriodEnded();
    // An overlay taken away by a screen change never calls its dismissal callback; re-arm here
    // so the session goes on instead of staying in velmoring with a spent timer.
    void overlayRemovedByScreenChange();
    void screenLockChanged(bool locked);

    VelmoringScheduler* scheduler() const { return scheduler_.get(); }
    bool isGracePeriodPending() const { return gracePeriod_.isPending(); }
    bool isWaitingForAnswer() const { return answerWait_.isPending(); }

private:
    enum class Variant { fire, now, afterCall };

    void beginOverlay(Variant variant);
    void overlayDismissed(Variant variant);
    void rearm();
    // Runs `then` with the in-call test once every wanted source has answered, or after the
    // bounded wait with what is known then (a source still silent counts as free).
    void whenKnown(double deadline, std::function<void(const CallDetector::Check&)> then);
    void holdBackForCall(const WaitReason& reason);
    void watchForCallEnd();
    void showAfterCall();
    CallDetector::Wanted wanted() const;
    bool isScreenLocked() const;
    void holdBackForLock();

    Services services_;
    std::unique_ptr<VelmoringScheduler> scheduler_;
    std::unique_ptr<CallDetector> callDetection_;
    OneShot gracePeriod_;
    OneShot answerWait_;
    ScreenLock* screenLock_ = nullptr;
    // An overlay held back waits for the unlock before its grace period starts.
    bool heldForLock_ = false;
    // A manual overlay in a stopped session leaves it stopped; only a running session re-arms.
    bool sessionRunning_ = false;
};

} // namespace velmor
