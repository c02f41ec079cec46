#include "core/session/AppDelegate.h"
#include "StateWorld.h"
#include "TestApp.h"
#include "core/content/ContentManager.h"
#include "core/session/CallDetector.h"
#include "core/session/IdleInhibitor.h"
#include "core/session/OverlayPresenter.h"
#include "core/session/ScreenLock.h"
#include "core/session/VelmoringScheduler.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <utility>

using namespace velmor;
using Kind = VelmorState::Kind;

namespace {

// Behaves like the overlay manager as far as the session can see: drops a present while one is
// on screen, calls onDismiss once.
struct FakeOverlays final : OverlayPresenter {
    bool onScreen = false;
    int presented = 0;
    int dismissedAtOnce = 0;
    std::function<void()> onDismiss;
    PromptItem lastPrompt;
    void present(const PromptItem& prompt, std::function<void()> callback) override {
        if (onScreen)
            return;
        onScreen = true;
        ++presented;
        lastPrompt = prompt;
        onDismiss = std::move(callback);
    }
    void dismissImmediately() override {
        if (onScreen)
            ++dismissedAtOnce;
        onScreen = false;
        onDismiss = nullptr;
    }
    // The user presses a key: the fade-out begins (onDismiss), the panels go 6.5 s later.
    void userDismisses() {
        if (auto callback = std::exchange(onDismiss, nullptr))
            callback();
    }
    void removed() { onScreen = false; }
};

struct FakeCalls final : CallDetector {
    bool inCall = false;
    bool known = true;
    WaitReason reason{WaitReason::Kind::microphone, {}};
    Wanted lastWanted;
    int monitorsStarted = 0;
    std::function<void()> onCallEnded;
    std::function<void(const WaitReason&)> onStillBusy;
    Check check(Wanted wanted) override {
        lastWanted = wanted;
        if (!known)
            return {Check::Outcome::unknown, {}};
        const bool counts =
            reason.kind == WaitReason::Kind::fullScreen ? wanted.fullScreen : wanted.calls;
        return inCall && counts ? Check{Check::Outcome::busy, reason} : Check{};
    }
    void startMonitoring(Wanted, std::function<void()> callback,
                         std::function<void(const WaitReason&)> busy) override {
        ++monitorsStarted;
        onCallEnded = std::move(callback);
        onStillBusy = std::move(busy);
    }
    void cancelMonitoring() override { onCallEnded = nullptr; }
    void callEnds() {
        inCall = false;
        if (auto callback = std::exchange(onCallEnded, nullptr))
            callback();
    }
};

struct FakeLock final : ScreenLock {
    bool locked = false;
    bool isLocked() const override { return locked; }
    void set(bool value) {
        locked = value;
        notify(value);
    }
};

struct Session : test::StateWorld {
    ContentManager content{state, library, QString(home.path() + "/none.json")};
    FakeOverlays overlays;
    NoIdleInhibitor inhibitor;
    FakeLock lock;
    FakeCalls* calls = nullptr;
    AppDelegate delegate{{clock, state, content, overlays, inhibitor, notifications, [this] {
                              auto detector = std::make_unique<FakeCalls>();
                              calls = detector.get();
                              return std::unique_ptr<CallDetector>(std::move(detector));
                          }}};

    Session() {
        test::coreApplication();
        testing::internal::CaptureStdout(); // the missing pack's line
        state.setFixedIntervalMinutes(10);
        delegate.setScreenLock(&lock);
        delegate.setUp();
        QCoreApplication::processEvents();
        testing::internal::GetCapturedStdout();
    }
    Kind kind() const { return state.state().kind(); }
    qint64 secondsUntilDue() const { return clock.wallNow().secsTo(state.state().date()); }
    void post(Command command) { notifications.send(command); }
    // A held-back overlay comes 120 s after the call or the lock ended, and no sooner.
    void expectShownAfterGracePeriod(int shownBefore) {
        EXPECT_TRUE(delegate.isGracePeriodPending());
        clock.advance(119);
        EXPECT_EQ(overlays.presented, shownBefore);
        clock.advance(1);
        EXPECT_EQ(overlays.presented, shownBefore + 1);
        EXPECT_FALSE(state.isCallDeferred());
    }
};

} // namespace

TEST(Session, AFireBecomesAnOverlayAndTheDismissalReArmsFromThatMoment) {
    Session s;
    s.state.setPauseDuringCalls(false); // then a call holds nothing back
    s.calls->inCall = true;
    EXPECT_EQ(s.secondsUntilDue(), 600); // one interval after the launch
    s.clock.advance(600);
    EXPECT_EQ(s.kind(), Kind::transitioning);
    EXPECT_EQ(s.overlays.presented, 1);
    EXPECT_EQ(s.calls->monitorsStarted, 0);
    EXPECT_EQ(s.state.lastPrompt(), s.overlays.lastPrompt);
    EXPECT_EQ(s.state.lastPromptDate(), s.clock.wallNow());
    s.clock.advance(4.4);
    EXPECT_EQ(s.kind(), Kind::transitioning);
    s.clock.advance(0.1);
    EXPECT_EQ(s.state.state(), VelmorState::velmoring(s.overlays.lastPrompt.text));

    s.clock.advance(30);
    s.overlays.userDismisses();
    EXPECT_EQ(s.kind(), Kind::scheduled);
    EXPECT_EQ(s.secondsUntilDue(), 600);
    s.clock.advance(599);
    EXPECT_EQ(s.overlays.presented, 1);
    s.overlays.removed();
    s.clock.advance(1);
    EXPECT_EQ(s.overlays.presented, 2);
}

TEST(Session, StopRemovesAnOverlayAtOnceAndAnOverlayNowComesOnlyWhenNoneShows) {
    Session s;
    s.clock.advance(600);
    s.post(Command::stopSession);
    EXPECT_EQ(s.kind(), Kind::idle);
    EXPECT_EQ(s.overlays.dismissedAtOnce, 1);
    EXPECT_FALSE(s.delegate.scheduler()->isStarted());
    s.clock.advance(5); // the 4.5 s step finds the state no longer transitioning
    EXPECT_EQ(s.kind(), Kind::idle);
    s.clock.advance(3600);
    EXPECT_EQ(s.overlays.presented, 1);

    // An overlay now while stopped leaves the session stopped; a second one is ignored while
    // the first shows.
    s.post(Command::showNow);
    EXPECT_EQ(s.overlays.presented, 2);
    EXPECT_EQ(s.kind(), Kind::transitioning);
    s.post(Command::showNow); // transitioning
    s.clock.advance(5);
    s.post(Command::showNow); // velmoring
    EXPECT_EQ(s.overlays.presented, 2);
    s.overlays.userDismisses();
    EXPECT_EQ(s.kind(), Kind::idle);
    s.overlays.removed();
    s.clock.advance(3600);
    EXPECT_EQ(s.overlays.presented, 2);

    s.post(Command::startSession);
    EXPECT_EQ(s.kind(), Kind::scheduled);
    EXPECT_EQ(s.secondsUntilDue(), 600);

    // During the fade-out the state is scheduled again: the session asks, the overlay manager
    // drops the request, and the state still becomes velmoring 4.5 s later.
    s.post(Command::showNow);
    s.overlays.userDismisses();
    EXPECT_EQ(s.kind(), Kind::scheduled);
    s.post(Command::showNow);
    EXPECT_EQ(s.overlays.presented, 3);
    EXPECT_EQ(s.kind(), Kind::transitioning);
    s.clock.advance(4.5);
    EXPECT_EQ(s.kind(), Kind::velmoring);
    s.overlays.removed();
    s.clock.advance(600); // the fire armed at the dismissal still comes
    EXPECT_EQ(s.overlays.presented, 4);
}

TEST(Session, IntervalChangesAndScreenChangeRemovalsReArmUnlessIdle) {
    Session s;
    s.clock.advance(100);
    s.state.setFixedIntervalMinutes(2);
    EXPECT_EQ(s.secondsUntilDue(), 120);
    s.clock.advance(120 + 5);
    EXPECT_EQ(s.kind(), Kind::velmoring);
    s.overlays.removed();
    s.delegate.overlayRemovedByScreenChange(); // a fresh interval from the removal
    EXPECT_EQ(s.kind(), Kind::scheduled);
    EXPECT_EQ(s.secondsUntilDue(), 120);
    s.clock.advance(120);
    EXPECT_EQ(s.overlays.presented, 2);
    s.overlays.removed();

    s.post(Command::stopSession);
    s.state.setFixedIntervalMinutes(1);
    EXPECT_EQ(s.kind(), Kind::idle);
    s.clock.advance(600);
    EXPECT_EQ(s.overlays.presented, 2);
}

TEST(CallDeferral, AFireDuringACallIsHeldBackUntilTheGracePeriodEndsOrTheSessionStops) {
    Session s;
    s.calls->inCall = true;
    s.clock.advance(600);
    EXPECT_EQ(s.overlays.presented, 0);
    EXPECT_TRUE(s.state.isCallDeferred());
    EXPECT_EQ(s.kind(), Kind::scheduled);
    EXPECT_EQ(s.calls->monitorsStarted, 1);
    s.clock.advance(1200); // further fires during the call only re-arm
    EXPECT_EQ(s.overlays.presented, 0);
    EXPECT_EQ(s.calls->monitorsStarted, 1);
    EXPECT_EQ(s.kind(), Kind::scheduled);

    s.calls->callEnds();
    s.expectShownAfterGracePeriod(0);
    EXPECT_EQ(s.kind(), Kind::transitioning);
    // An overlay after a call is a manual one: its dismissal re-arms the running session.
    s.overlays.userDismisses();
    EXPECT_EQ(s.kind(), Kind::scheduled);

    // Stopping cancels both the monitoring and a grace period.
    s.overlays.removed();
    s.calls->inCall = true;
    s.clock.advance(600);
    s.delegate.startGracePeriod();
    s.post(Command::stopSession);
    EXPECT_FALSE(s.state.isCallDeferred());
    EXPECT_FALSE(s.calls->onCallEnded);
    EXPECT_FALSE(s.delegate.isGracePeriodPending());
    s.calls->inCall = false;
    s.clock.advance(3600);
    EXPECT_EQ(s.overlays.presented, 1);
}

TEST(CallDeferral, ACallAgainRestartsMonitoringAndARegularOverlayDueWithin120sWins) {
    Session s;
    s.calls->inCall = true;
    s.clock.advance(600);
    s.calls->callEnds();
    s.calls->inCall = true;
    s.clock.advance(120);
    EXPECT_EQ(s.overlays.presented, 0);
    EXPECT_TRUE(s.state.isCallDeferred());
    EXPECT_EQ(s.calls->monitorsStarted, 2);

    s.clock.advance(480); // the fire at 1200 re-arms: due at 1800
    s.clock.advance(400);
    s.calls->callEnds(); // grace period ends at 1720, 80 s before the regular overlay
    s.clock.advance(120);
    EXPECT_EQ(s.overlays.presented, 0);
    EXPECT_FALSE(s.state.isCallDeferred());
    s.clock.advance(80);
    EXPECT_EQ(s.overlays.presented, 1);
}

TEST(ScreenLockDeferral, AFireWhileLockedIsHeldBackAndShown120SecondsAfterTheUnlock) {
    Session s;
    s.state.setPauseDuringCalls(false); // the lock counts whatever the call setting
    s.lock.set(true);
    s.clock.advance(600);
    s.clock.advance(600); // a second fire only re-arms
    EXPECT_EQ(s.overlays.presented, 0);
    EXPECT_TRUE(s.state.isCallDeferred());
    EXPECT_EQ(s.kind(), Kind::scheduled);
    s.post(Command::showNow);
    EXPECT_EQ(s.overlays.presented, 0) << "nothing on top of the lock screen";

    s.clock.advance(100);
    s.lock.set(false);
    s.expectShownAfterGracePeriod(0);
}

TEST(ScreenLockDeferral, LockingRemovesAnOverlayAtOnceAndACallEndingWhileLockedWaits) {
    Session s;
    s.clock.advance(600);
    ASSERT_TRUE(s.overlays.onScreen);
    s.lock.set(true);
    EXPECT_FALSE(s.overlays.onScreen);
    EXPECT_EQ(s.overlays.dismissedAtOnce, 1);
    EXPECT_EQ(s.kind(), Kind::scheduled);
    EXPECT_EQ(s.secondsUntilDue(), 600);
    s.lock.set(false);
    EXPECT_FALSE(s.delegate.isGracePeriodPending()) << "a removed overlay is not held back";

    // Locking during a fade-out removes the panels without re-arming a second time.
    s.clock.advance(600);
    s.overlays.userDismisses();
    s.clock.advance(2);
    s.lock.set(true);
    EXPECT_FALSE(s.overlays.onScreen);
    EXPECT_EQ(s.secondsUntilDue(), 598);

    // A call that ends while the screen is locked waits for the unlock.
    s.lock.set(false);
    s.calls->inCall = true;
    s.clock.advance(598);
    s.lock.set(true);
    s.calls->callEnds();
    s.clock.advance(120);
    EXPECT_EQ(s.overlays.presented, 2);
    EXPECT_TRUE(s.state.isCallDeferred());
    s.lock.set(false);
    s.expectShownAfterGracePeriod(2);
}

TEST(CallDeferral, ADueOverlayWaitsUpTo3sForSourcesThatHaveNotAnsweredAndSaysWhy) {
    Session s;
    // Just launched: a calendar has not answered yet. It does 1.2 s later: a meeting.
    s.calls->known = false;
    s.clock.advance(600);
    EXPECT_TRUE(s.delegate.isWaitingForAnswer());
    s.clock.advance(1.1);
    EXPECT_EQ(s.overlays.presented, 0);
    const WaitReason meeting{WaitReason::Kind::meeting, s.clock.wallNow().addSecs(1800)};
    s.calls->reason = meeting;
    s.calls->known = s.calls->inCall = true;
    s.clock.advance(0.1);
    EXPECT_EQ(s.overlays.presented, 0);
    EXPECT_TRUE(s.state.isCallDeferred());
    EXPECT_EQ(s.state.waitReason(), meeting);
    // The monitor finds the microphone in use once the meeting is over; then the call ends.
    const WaitReason microphone{WaitReason::Kind::microphone, {}};
    s.calls->onStillBusy(microphone);
    EXPECT_EQ(s.state.waitReason(), microphone);
    s.calls->callEnds();
    EXPECT_EQ(s.state.waitReason(), std::nullopt);
    s.expectShownAfterGracePeriod(0);
    s.overlays.userDismisses();
    s.overlays.removed();

    // A source that never answers holds the overlay back 3 s, no more.
    s.calls->known = false;
    s.clock.advance(600);
    s.clock.advance(2.8);
    EXPECT_EQ(s.overlays.presented, 1);
    s.clock.advance(0.4);
    EXPECT_EQ(s.overlays.presented, 2);
    EXPECT_FALSE(s.state.isCallDeferred());
    s.overlays.userDismisses();
    s.overlays.removed();

    // Stopping the session during the wait drops the overlay; both switches off ask nothing.
    s.clock.advance(600);
    s.post(Command::stopSession);
    s.clock.advance(5);
    EXPECT_EQ(s.overlays.presented, 2);
    EXPECT_EQ(s.calls->lastWanted.fullScreen, true);
    s.state.setWaitWhileFullScreen(false);
    s.post(Command::startSession);
    s.clock.advance(600);
    EXPECT_EQ(s.calls->lastWanted.fullScreen, false);
    s.state.setPauseDuringCalls(false); // the overlay waiting goes ahead at the next look
    s.clock.advance(0.1);
    EXPECT_EQ(s.overlays.presented, 3);
    s.overlays.userDismisses();
    s.overlays.removed();
    s.clock.advance(600);
    EXPECT_EQ(s.overlays.presented, 4);
    EXPECT_FALSE(s.delegate.isWaitingForAnswer());
}
