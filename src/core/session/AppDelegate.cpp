#include "core/session/AppDelegate.h"

#include "core/content/ContentManager.h"
#include "core/model/Commands.h"
#include "core/session/IdleInhibitor.h"
#include "core/session/OverlayPresenter.h"
#include "core/session/ScreenLock.h"
#include "core/session/VelmoringScheduler.h"
#include "core/settings/AppState.h"

#include <QPointer>

#include <utility>

namespace velmor {

AppDelegate::AppDelegate(Services services)
    : services_(std::move(services)), gracePeriod_(services_.clock), answerWait_(services_.clock) {}

AppDelegate::~AppDelegate() = default;

void AppDelegate::setScreenLock(ScreenLock* lock) {
    if (screenLock_)
        screenLock_->setListener(nullptr);
    screenLock_ = lock;
    if (!screenLock_)
        return;
    QPointer<AppDelegate> self(this);
    screenLock_->setListener([self](bool locked) {
        if (self)
            self->screenLockChanged(locked);
    });
}

bool AppDelegate::isScreenLocked() const {
    return screenLock_ && screenLock_->isLocked();
}

void AppDelegate::screenLockChanged(bool locked) {
    if (!locked) {
        if (std::exchange(heldForLock_, false) && services_.appState.isCallDeferred())
            startGracePeriod();
        return;
    }
    const VelmorState::Kind kind = services_.appState.state().kind();
    // A fading overlay has re-armed already; one still showing has not.
    services_.overlays.dismissImmediately();
    if (kind == VelmorState::Kind::transitioning || kind == VelmorState::Kind::velmoring)
        overlayRemovedByScreenChange();
}

void AppDelegate::holdBackForLock() {
    services_.appState.setIsCallDeferred(true);
    heldForLock_ = true;
    rearm();
}

void AppDelegate::setUp() {
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (services_.makeCallDetection)
                callDetection_ = services_.makeCallDetection();
        },
        Qt::QueuedConnection);
    QMetaObject::invokeMethod(
        this, [this] { startSession(); }, Qt::QueuedConnection);

    Commands& commands = services_.commands;
    connect(&commands, &Commands::showNow, this, [this] { showOverlayNow(); });
    connect(&commands, &Commands::startSession, this, [this] { startSession(); });
    connect(&commands, &Commands::stopSession, this, [this] { stopSession(); });
    connect(&commands, &Commands::intervalChanged, this, [this] { rearmForNewInterval(); });
}

void AppDelegate::startSession() {
    const double interval = services_.appState.nextIntervalSeconds();
    QPointer<AppDelegate> self(this);
    // A start while a session runs replaces it: the old scheduler is stopped so it leaves no
    // second wait or inhibition behind.
    scheduler_ = std::make_unique<VelmoringScheduler>(services_.clock, services_.inhibitor, [self] {
        if (self)
            self->handleFire();
    });
    scheduler_->start(interval);
    sessionRunning_ = true;
    services_.appState.setState(
        VelmorState::scheduled(services_.clock.wallNow().addMSecs(qint64(interval * 1000))));
}

void AppDelegate::stopSession() {
    if (callDetection_)
        callDetection_->cancelMonitoring();
    gracePeriod_.cancel();
    answerWait_.cancel();
    services_.appState.setIsCallDeferred(false);
    services_.appState.setWaitReason(std::nullopt);
    if (scheduler_)
        scheduler_->stop();
    sessionRunning_ = false;
    heldForLock_ = false;
    services_.overlays.dismissImmediately();
    services_.appState.setState(VelmorState::idle());
}

void AppDelegate::rearm() {
    answerWait_.cancel(); // a fire still waiting for an answer is replaced
    const double interval = services_.appState.nextIntervalSeconds();
    services_.appState.setState(
        VelmorState::scheduled(services_.clock.wallNow().addMSecs(qint64(interval * 1000))));
    if (scheduler_)
        scheduler_->scheduleNext(interval);
}

void AppDelegate::rearmForNewInterval() {
    if (!services_.appState.state().isActive())
        return;
    rearm();
}

void AppDelegate::handleFire() {
    AppState& state = services_.appState;
    if (!state.state().isActive())
        return;
    if (state.isCallDeferred()) {
        rearm();
        return;
    }
    if (isScreenLocked()) {
        holdBackForLock();
        return;
    }
    whenKnown(services_.clock.now() + unknownWaitSeconds, [this](const CallDetector::Check& check) {
        if (check.outcome == CallDetector::Check::Outcome::busy)
            holdBackForCall(check.reason);
        else
            beginOverlay(Variant::fire);
    });
}

CallDetector::Wanted AppDelegate::wanted() const {
    const AppState& state = services_.appState;
    return {state.pauseDuringCalls(), state.waitWhileFullScreen()};
}

void AppDelegate::whenKnown(double deadline, std::function<void(const CallDetector::Check&)> then) {
    if (!callDetection_ || !wanted().any())
        return then({});
    const CallDetector::Check check = callDetection_->check(wanted());
    if (check.outcome == CallDetector::Check::Outcome::unknown &&
        services_.clock.now() < deadline) {
        answerWait_.startAfter(unknownPollSeconds, [this, deadline, then = std::move(then)] {
            whenKnown(deadline, then);
        });
        return;
    }
    then(check);
}

void AppDelegate::holdBackForCall(const WaitReason& reason) {
    services_.appState.setIsCallDeferred(true);
    services_.appState.setWaitReason(reason);
    rearm();
    watchForCallEnd();
}

void AppDelegate::watchForCallEnd() {
    QPointer<AppDelegate> self(this);
    AppState* state = &services_.appState;
    callDetection_->startMonitoring(
        wanted(),
        [self, state] {
            state->setWaitReason(std::nullopt);
            if (self)
                self->startGracePeriod();
        },
        [state](const WaitReason& reason) { state->setWaitReason(reason); });
}

void AppDelegate::beginOverlay(Variant variant) {
    answerWait_.cancel();
    AppState& state = services_.appState;
    const PromptItem prompt = services_.content.nextPrompt();
    state.setLastPrompt(prompt);
    state.setLastPromptDate(services_.clock.wallNow());
    state.setState(VelmorState::transitioning());

    QPointer<AppDelegate> self(this);
    services_.overlays.present(prompt, [self, variant] {
        if (self)
            self->overlayDismissed(variant);
    });
    // Not cancelled: a stale one finds the state no longer transitioning and does nothing.
    AppState* appState = &state;
    const QString text = prompt.text;
    services_.clock.after(textAppearsAfterSeconds, [self, appState, text] {
        if (self && appState->state().kind() == VelmorState::Kind::transitioning)
            appState->setState(VelmorState::velmoring(text));
    });
}

void AppDelegate::overlayDismissed(Variant variant) {
    AppState& state = services_.appState;
    state.setState(VelmorState::dismissing());
    // The next wait counts from the dismissal, while the overlay is still fading out.
    if (variant == Variant::fire || (sessionRunning_ && scheduler_))
        rearm();
    else
        state.setState(VelmorState::idle());
}

void AppDelegate::overlayRemovedByScreenChange() {
    if (sessionRunning_ && scheduler_)
        rearm();
    else
        services_.appState.setState(VelmorState::idle());
}

void AppDelegate::showOverlayNow() {
    if (isScreenLocked())
        return;
    switch (services_.appState.state().kind()) {
    case VelmorState::Kind::velmoring:
    case VelmorState::Kind::transitioning:
    case VelmorState::Kind::dismissing:
        return;
    default:
        beginOverlay(Variant::now);
    }
}

void AppDelegate::startGracePeriod() {
    gracePeriod_.startAfter(gracePeriodSeconds, [this] { gracePeriodEnded(); });
}

void AppDelegate::gracePeriodEnded() {
    AppState& state = services_.appState;
    if (!state.state().isActive()) {
        state.setIsCallDeferred(false);
        return;
    }
    if (!state.isCallDeferred())
        return;
    if (isScreenLocked()) {
        heldForLock_ = true;
        return;
    }
    whenKnown(services_.clock.now() + unknownWaitSeconds, [this](const CallDetector::Check& check) {
        if (check.outcome == CallDetector::Check::Outcome::busy) {
            services_.appState.setWaitReason(check.reason);
            watchForCallEnd();
            return;
        }
        showAfterCall();
    });
}

void AppDelegate::showAfterCall() {
    AppState& state = services_.appState;
    const VelmorState current = state.state();
    if (current.kind() == VelmorState::Kind::scheduled &&
        services_.clock.wallNow().msecsTo(current.date()) < qint64(gracePeriodSeconds * 1000)) {
        state.setIsCallDeferred(false);
        return;
    }
    state.setIsCallDeferred(false);
    beginOverlay(Variant::afterCall);
}

} // namespace velmor
