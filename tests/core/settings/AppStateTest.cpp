#include "core/settings/AppState.h"
#include "VirtualClock.h"
#include "core/model/Commands.h"
#include "core/settings/SettingsStore.h"
#include "core/settings/SoundPreparer.h"

#include <QRandomGenerator>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace velmor;

namespace {

struct RecordingPreparer final : SoundPreparer {
    std::vector<std::pair<VelmorSound, double>> calls;
    void prepare(VelmorSound sound, double volume) override { calls.emplace_back(sound, volume); }
};

// A store filled as a previous run left it, and the state built from it.
struct Fixture {
    test::VirtualClock clock;
    SettingsStore store{QString(), clock};
    Commands notifications;
    RecordingPreparer sounds;
    int intervalChanges = 0;
    std::unique_ptr<AppState> state;

    Fixture() {
        QObject::connect(&notifications, &Commands::intervalChanged,
                         [this] { ++intervalChanges; });
    }
    AppState& build(quint32 seed = 1) {
        auto generator = std::make_shared<QRandomGenerator>(seed);
        state = std::make_unique<AppState>(store, notifications, sounds,
                                           [generator] { return generator->generate64(); });
        return *state;
    }
};

} // namespace

TEST(AppStateLoading, EmptyStoreGivesTheDefaultsAndPreparesTheSound) {
    Fixture f;
    AppState& s = f.build();
    EXPECT_EQ(s.state(), VelmorState::idle());
    EXPECT_FALSE(s.isCallDeferred());
    EXPECT_TRUE(s.pauseDuringCalls());
    EXPECT_EQ(s.appearanceMode(), AppearanceMode::system);
    EXPECT_FALSE(s.departureEnabled());
    EXPECT_EQ(s.overlayScope(), OverlayScope::thisScreen);
    EXPECT_EQ(s.intervalMode(), IntervalMode::fixed);
    EXPECT_EQ(s.fixedIntervalMinutes(), 20.0);
    EXPECT_EQ(s.randomMinMinutes(), 15.0);
    EXPECT_EQ(s.randomMaxMinutes(), 30.0);
    EXPECT_EQ(s.theme(), VelmorTheme::charcoal);
    EXPECT_EQ(s.selectedSound(), VelmorSound::singingBowl);
    EXPECT_EQ(s.soundVolume(), 0.7);
    EXPECT_FALSE(s.sittingWithPromptId());
    EXPECT_FALSE(s.lastPrompt());
    EXPECT_EQ(s.nextIntervalSeconds(), 1200.0);
    ASSERT_FALSE(f.sounds.calls.empty());
    EXPECT_EQ(f.sounds.calls.back(), std::make_pair(VelmorSound::singingBowl, 0.7));
    // pauseDuringCalls comes from a registered default, then is written back like every field.
    EXPECT_EQ(f.store.value("pauseDuringCalls"), QJsonValue(true));
}

TEST(AppStateLoading, StoredValuesAreRestoredAndWrittenBack) {
    Fixture f;
    f.store.setValue("intervalMode", "Random");
    f.store.setValue("fixedIntervalMinutes", 45.0);
    f.store.setValue("randomMinMinutes", 5.0);
    f.store.setValue("randomMaxMinutes", 10.0);
    f.store.setValue("theme", "forest");
    f.store.setValue("selectedSound", "Wind in Pines");
    f.store.setValue("soundVolume", 0.0);
    f.store.setValue("appearanceMode", "Dark");
    f.store.setValue("departureEnabled", true);
    f.store.setValue("pauseDuringCalls", false);
    f.store.setValue("overlayScope", "Every screen");
    f.store.setValue("sittingWithPromptId", "ABC");
    AppState& s = f.build();
    EXPECT_EQ(s.intervalMode(), IntervalMode::random);
    EXPECT_EQ(s.fixedIntervalMinutes(), 45.0);
    EXPECT_EQ(s.randomMinMinutes(), 5.0);
    EXPECT_EQ(s.randomMaxMinutes(), 10.0);
    EXPECT_EQ(s.theme(), VelmorTheme::forest);
    EXPECT_EQ(s.selectedSound(), VelmorSound::windInPines);
    EXPECT_EQ(s.soundVolume(), 0.0); // a muted volume is restored, not reset to 0.7
    EXPECT_EQ(s.appearanceMode(), AppearanceMode::dark);
    EXPECT_TRUE(s.departureEnabled());
    EXPECT_FALSE(s.pauseDuringCalls());
    EXPECT_EQ(s.overlayScope(), OverlayScope::everyScreen);
    EXPECT_EQ(s.sittingWithPromptId(), QString("ABC"));
    EXPECT_EQ(f.sounds.calls.back(), std::make_pair(VelmorSound::windInPines, 0.0));
    // Every interval setting went through its setter, which posts while nobody listens yet.
    EXPECT_EQ(f.intervalChanges, 4);
}

TEST(AppStateLoading, UnknownOrOutOfRangeValuesKeepDefaultsAndStayInTheStore) {
    Fixture f;
    f.store.setValue("intervalMode", "random"); // raw values are case-sensitive
    f.store.setValue("fixedIntervalMinutes", 0.0);
    f.store.setValue("randomMinMinutes", -3.0);
    f.store.setValue("randomMaxMinutes", "30");
    f.store.setValue("theme", "Charcoal");
    f.store.setValue("selectedSound", "singingBowl");
    f.store.setValue("soundVolume", 1.5);
    f.store.setValue("overlayScope", "everyScreen");
    AppState& s = f.build();
    EXPECT_EQ(s.intervalMode(), IntervalMode::fixed);
    EXPECT_EQ(s.fixedIntervalMinutes(), 20.0);
    EXPECT_EQ(s.randomMinMinutes(), 15.0);
    EXPECT_EQ(s.randomMaxMinutes(), 30.0);
    EXPECT_EQ(s.theme(), VelmorTheme::charcoal);
    EXPECT_EQ(s.selectedSound(), VelmorSound::singingBowl);
    EXPECT_EQ(s.soundVolume(), 0.7);
    EXPECT_EQ(s.overlayScope(), OverlayScope::thisScreen);
    EXPECT_EQ(f.store.value("intervalMode").toString(), "random");
    EXPECT_EQ(f.store.value("theme").toString(), "Charcoal");
    EXPECT_EQ(f.store.value("selectedSound").toString(), "singingBowl");
    EXPECT_EQ(f.store.value("overlayScope").toString(), "everyScreen");
}

TEST(AppStateLoading, DuskBecomesTwilight) {
    Fixture f;
    f.store.setValue("theme", "dusk");
    AppState& s = f.build();
    EXPECT_EQ(s.theme(), VelmorTheme::twilight);
    EXPECT_EQ(f.store.value("theme").toString(), "twilight");
}

TEST(AppStateSetters, PersistEveryAssignmentButNotifyOnlyOnChange) {
    Fixture f;
    AppState& s = f.build();
    QSignalSpy themeSpy(&s, &AppState::themeChanged);
    QSignalSpy fixedSpy(&s, &AppState::fixedIntervalMinutesChanged);

    f.store.remove("theme");
    s.setTheme(VelmorTheme::charcoal); // same value
    EXPECT_EQ(themeSpy.count(), 0);
    EXPECT_EQ(f.store.value("theme").toString(), "charcoal");
    s.setTheme(VelmorTheme::ember);
    EXPECT_EQ(themeSpy.count(), 1);

    f.intervalChanges = 0;
    s.setFixedIntervalMinutes(20.0);
    EXPECT_EQ(fixedSpy.count(), 0);
    EXPECT_EQ(f.intervalChanges, 1);
    s.setIntervalMode(IntervalMode::random);
    s.setRandomMinMinutes(1);
    s.setRandomMaxMinutes(2);
    EXPECT_EQ(f.intervalChanges, 4);
    s.setTheme(VelmorTheme::forest);
    s.setOverlayScope(OverlayScope::everyScreen);
    EXPECT_EQ(f.intervalChanges, 4); // only interval settings announce themselves

    const size_t before = f.sounds.calls.size();
    s.setSoundVolume(0.5);
    s.setSelectedSound(VelmorSound::stone);
    s.setDepartureEnabled(true);
    ASSERT_EQ(f.sounds.calls.size(), before + 3);
    EXPECT_EQ(f.sounds.calls.back(), std::make_pair(VelmorSound::stone, 0.5));
}

TEST(AppStateSetters, ClearingTheSatWithPromptRemovesTheKey) {
    Fixture f;
    AppState& s = f.build();
    s.setSittingWithPromptId(QString("X"));
    EXPECT_EQ(f.store.value("sittingWithPromptId").toString(), "X");
    s.setSittingWithPromptId(std::nullopt);
    EXPECT_FALSE(f.store.contains("sittingWithPromptId"));
}

TEST(AppStateInterval, RandomDrawsStayInTheClosedRangeAndVary) {
    Fixture f;
    AppState& s = f.build(42);
    s.setIntervalMode(IntervalMode::random);
    QSet<double> seen;
    for (int i = 0; i < 2000; ++i) {
        const double v = s.nextIntervalSeconds();
        ASSERT_GE(v, 900.0);
        ASSERT_LE(v, 1800.0);
        seen.insert(v);
    }
    EXPECT_GT(seen.size(), 1990);
    // A reversed range is read with its bounds swapped rather than drawing outside it.
    s.setRandomMinMinutes(40);
    s.setRandomMaxMinutes(35);
    for (int i = 0; i < 200; ++i) {
        const double v = s.nextIntervalSeconds();
        ASSERT_GE(v, 2100.0);
        ASSERT_LE(v, 2400.0);
    }
    s.setIntervalMode(IntervalMode::fixed);
    s.setFixedIntervalMinutes(2.5);
    EXPECT_EQ(s.nextIntervalSeconds(), 150.0);
}
