#include "StateWorld.h"
#include "TestApp.h"
#include "core/screens/AboutRules.h"
#include "core/screens/GeneralRules.h"
#include "core/screens/HomeRules.h"
#include "core/screens/SidebarSection.h"
#include "core/screens/SoundRules.h"
#include "core/screens/ThemeRules.h"
#include "core/screens/TimerRules.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace velmor;

TEST(SidebarRules, RawValuesAndStatusWidget) {
    EXPECT_EQ(sidebarSectionFromRawValue("content"), SidebarSection::content);
    EXPECT_EQ(sidebarSectionFromRawValue("Content"), std::nullopt);
    EXPECT_TRUE(isFooterSection(SidebarSection::general));
    EXPECT_FALSE(isFooterSection(SidebarSection::sound));

    // Idle starts a session (clicked in the main window's test); every running state, an overlay on
    // screen included, stops the session.
    for (const VelmorState& running :
         {VelmorState::scheduled(QDateTime::currentDateTime()), VelmorState::velmoring("x"),
          VelmorState::transitioning(), VelmorState::dismissing(),
          VelmorState::snoozed(QDateTime::currentDateTime())}) {
        EXPECT_EQ(SessionStatus::commandOnClick(running), Command::stopSession);
        EXPECT_EQ(SessionStatus::accessibleLabel(running), "Velmor is active. Tap to pause.");
    }
}

TEST(SidebarRules, WidthFollowsTheRowsWithinItsLimits) {
    // Short labels: the minimum, whichever of the two asks more.
    EXPECT_EQ(SidebarWidth::preferred(90, 80), 160);
    // A row wider than the minimum once its insets (8 each side) are added.
    EXPECT_EQ(SidebarWidth::preferred(150, 80), 166);
    // The session widget sits deeper (12 each side), so it can be the one that widens it.
    EXPECT_EQ(SidebarWidth::preferred(150, 150), 174);
    // A very long title (a large desktop font) is held at the maximum.
    EXPECT_EQ(SidebarWidth::preferred(900, 80), SidebarWidth::maximum);
}

TEST(HomeRules, GreetingByHour) {
    EXPECT_EQ(HomeRules::greeting(4), "Good evening");
    EXPECT_EQ(HomeRules::greeting(5), "Good morning");
    EXPECT_EQ(HomeRules::greeting(11), "Good morning");
    EXPECT_EQ(HomeRules::greeting(12), "Good afternoon");
    EXPECT_EQ(HomeRules::greeting(16), "Good afternoon");
    EXPECT_EQ(HomeRules::greeting(17), "Good evening");
}

TEST(HomeRules, CardChoice) {
    using Kind = HomeRules::CardKind;
    PromptItem starter = test::userPrompt("S1", "Starter");
    starter.packSource = PackSource::starter;
    const PromptItem mine = test::userPrompt("U1", "Mine");
    const PromptItem last = test::userPrompt("L1", "Last");
    const QDateTime when(QDate(2026, 12, 5), QTime(9, 0));

    auto card = HomeRules::chooseCard(QString("U1"), {starter}, {mine}, last, when);
    EXPECT_EQ(card.kind, Kind::sitting);
    EXPECT_EQ(card.prompt.text, "Mine");
    EXPECT_EQ(HomeRules::chooseCard(QString("S1"), {starter}, {mine}, {}, {}).prompt.id, "S1");
    // A deleted prompt: the last prompt, else the welcome card.
    card = HomeRules::chooseCard(QString("gone"), {starter}, {mine}, last, when);
    EXPECT_EQ(card.kind, Kind::lastPrompt);
    EXPECT_EQ(card.prompt.id, "L1");
    EXPECT_EQ(card.date, when);
    EXPECT_EQ(HomeRules::chooseCard(QString("gone"), {}, {}, {}, {}).kind, Kind::welcome);
    // A last prompt without its date is not enough.
    EXPECT_EQ(HomeRules::chooseCard({}, {}, {}, last, {}).kind, Kind::welcome);
    EXPECT_EQ(HomeRules::quoted("Be here."), "\"Be here.\"");
}

// Let go forgets the sit-with and the last prompt; choosing a theme stays quiet where a preview
// shows an overlay.
TEST(HomeAndThemeRules, ChangeTheSettings) {
    test::coreApplication();
    test::StateWorld world;
    world.state.setSittingWithPromptId(QString("U1"));
    world.state.setLastPrompt(test::userPrompt("L1"));
    world.state.setLastPromptDate(QDateTime::currentDateTime());
    HomeRules::letGo(world.state);
    EXPECT_EQ(world.state.sittingWithPromptId(), std::nullopt);
    EXPECT_EQ(world.state.lastPrompt(), std::nullopt);
    EXPECT_EQ(world.state.lastPromptDate(), std::nullopt);

    QSignalSpy now(&world.notifications, &Commands::showNow);
    ThemeRules::select(world.state, VelmorTheme::forest);
    EXPECT_EQ(world.state.theme(), VelmorTheme::forest);
    EXPECT_EQ(now.count(), 0);
    ThemeRules::preview(world.state, world.notifications, VelmorTheme::ember);
    EXPECT_EQ(world.state.theme(), VelmorTheme::ember);
    EXPECT_EQ(now.count(), 1);
}

TEST(HomeRules, RelativePhrase) {
    const QDateTime now(QDate(2026, 12, 5), QTime(15, 0));
    EXPECT_EQ(HomeRules::relativePhrase(now, now), "now");
    EXPECT_EQ(HomeRules::relativePhrase(now.addSecs(-5 * 60), now), "5 minutes ago");
    EXPECT_EQ(HomeRules::relativePhrase(now.addSecs(-60), now), "1 minute ago");
    EXPECT_EQ(HomeRules::relativePhrase(now.addSecs(-2 * 3600 - 10), now), "2 hours ago");
    EXPECT_EQ(HomeRules::relativePhrase(now.addDays(-1), now), "yesterday");
    EXPECT_EQ(HomeRules::relativePhrase(now.addDays(-3), now), "3 days ago");
    EXPECT_EQ(HomeRules::relativePhrase(now.addDays(-8), now), "last week");
    EXPECT_EQ(HomeRules::relativePhrase(now.addDays(-400), now), "last year");
}

TEST(TimerRules, DisplayedNumberAndUnitOnShow) {
    using U = IntervalUnit;
    EXPECT_EQ(TimerRules::unitFor(60), U::hours);
    EXPECT_EQ(TimerRules::unitFor(120), U::hours);
    EXPECT_EQ(TimerRules::displayedNumber(120, U::hours), 2);
    EXPECT_EQ(TimerRules::unitFor(45), U::minutes);
    EXPECT_EQ(TimerRules::selectedIndex(45, U::minutes), 6);
    // 90 minutes: minutes, and no item of the menu is selected.
    EXPECT_EQ(TimerRules::unitFor(90), U::minutes);
    EXPECT_EQ(TimerRules::selectedIndex(90, U::minutes), -1);
    EXPECT_EQ(TimerRules::displayedNumber(150, U::hours), 2); // truncated
}

TEST(TimerRules, PickingNumbersAndUnits) {
    using U = IntervalUnit;
    EXPECT_EQ(TimerRules::minutesForNumber(3, U::hours), 180);
    EXPECT_EQ(TimerRules::minutesForNumber(25, U::minutes), 25);
    EXPECT_EQ(TimerRules::minutesForUnit(U::hours, 20), 60);
    EXPECT_EQ(TimerRules::minutesForUnit(U::hours, 150), 120);
    EXPECT_EQ(TimerRules::minutesForUnit(U::minutes, 90), 45);
    EXPECT_EQ(TimerRules::minutesForUnit(U::minutes, 120), 45);
    EXPECT_EQ(TimerRules::minutesForUnit(U::hours, 90), 60);
    EXPECT_EQ(TimerRules::minutesForUnit(U::minutes, 2), 5);
}

TEST(TimerRules, KeepingTheRandomRangeOpen) {
    using U = IntervalUnit;
    // The maximum and its unit once the random range is kept open; -1 where the pick stands.
    const auto adjusted = [](double min, double picked, U unit) {
        const auto a = TimerRules::keepRangeOpen(IntervalMode::random, min, picked, unit);
        return a ? std::pair(a->maxMinutes, a->maxUnit) : std::pair(-1.0, unit);
    };
    EXPECT_EQ(adjusted(30, 20, U::minutes), std::pair(45.0, U::minutes));
    // Minimum 45: nothing in minutes is above it, so 60 in hours.
    EXPECT_EQ(adjusted(45, 45, U::minutes), std::pair(60.0, U::hours));
    EXPECT_EQ(adjusted(150, 120, U::hours), std::pair(180.0, U::hours));
    // Minimum 6 hours, above every choice: only the unit changes.
    EXPECT_EQ(adjusted(360, 300, U::minutes), std::pair(300.0, U::hours));
    EXPECT_EQ(adjusted(30, 45, U::minutes), std::pair(-1.0, U::minutes));
    EXPECT_FALSE(TimerRules::keepRangeOpen(IntervalMode::fixed, 60, 20, U::minutes));
}

TEST(SoundRules, VolumeSymbolThresholdsAndTruncatedPercentage) {
    EXPECT_EQ(SoundRules::volumeSymbol(0), "speaker.slash.fill");
    EXPECT_EQ(SoundRules::volumeSymbol(0.349), "speaker.fill");
    EXPECT_EQ(SoundRules::percentText(0.349), "34%");
    EXPECT_EQ(SoundRules::volumeSymbol(0.35), "speaker.wave.1.fill");
    EXPECT_EQ(SoundRules::volumeSymbol(1), "speaker.wave.3.fill");
    EXPECT_EQ(SoundRules::percentText(0.29), "28%");
    EXPECT_EQ(SoundRules::percentText(0.57), "56%");
    EXPECT_FALSE(SoundRules::hasPreview(VelmorSound::silence));
    EXPECT_TRUE(SoundRules::hasPreview(VelmorSound::windInPines));
}

namespace {

struct FakeLoginItem final : LoginItem {
    bool enabled = false;
    bool refuse = false;
    bool isEnabled() const override { return enabled; }
    bool registerItem() override { return refuse ? false : (enabled = true); }
    bool unregisterItem() override {
        if (refuse)
            return false;
        enabled = false;
        return true;
    }
};

} // namespace

TEST(GeneralRules, LaunchAtLoginAndCalendarRequest) {
    FakeLoginItem item;
    EXPECT_TRUE(GeneralRules::applyLaunchAtLogin(item, true));
    EXPECT_FALSE(GeneralRules::applyLaunchAtLogin(item, false));
    item.refuse = true;
    EXPECT_FALSE(GeneralRules::applyLaunchAtLogin(item, true)) << "a refusal snaps back";
    item.enabled = true;
    EXPECT_TRUE(GeneralRules::applyLaunchAtLogin(item, false));

    test::coreApplication();
    int requests = 0;
    GeneralRules::pauseDuringCallsChanged(true, [&] { ++requests; });
    GeneralRules::pauseDuringCallsChanged(false, [&] { ++requests; });
    EXPECT_EQ(requests, 0) << "the request runs after the current event";
    QCoreApplication::processEvents();
    EXPECT_EQ(requests, 1);
    GeneralRules::pauseDuringCallsChanged(true, [&] { ++requests; });
    QCoreApplication::processEvents();
    EXPECT_EQ(requests, 2) << "asked again every time it is turned on";
}

TEST(AboutRules, VersionAndFeedbackLink) {
    EXPECT_EQ(AboutRules::feedbackUrl().toEncoded(),
              "mailto:feedback@velmor.app?subject=Velmor%20feedback");
    EXPECT_FALSE(AboutRules::feedbackUrl("not an address").isValid());
    EXPECT_FALSE(AboutRules::feedbackUrl("").isValid());
}
