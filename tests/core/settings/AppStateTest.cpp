// The settings table's behaviour, checked row by row from the table itself, so a new row is
// covered without a new test.
#include "core/settings/AppState.h"
#include "VirtualClock.h"
#include "core/model/Commands.h"
#include "core/settings/SettingsStore.h"
#include "core/settings/SoundPreparer.h"

#include <QJsonObject>
#include <QRandomGenerator>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <memory>
#include <type_traits>
#include <vector>

using namespace velmor;

namespace {

struct RecordingPreparer final : SoundPreparer {
    std::vector<std::pair<VelmorSound, double>> calls;
    void prepare(VelmorSound sound, double volume) override { calls.emplace_back(sound, volume); }
};

struct Fixture {
    test::VirtualClock clock;
    SettingsStore store{QString(), clock};
    Commands notifications;
    RecordingPreparer sounds;
    int intervalChanges = 0;
    std::unique_ptr<AppState> state;

    Fixture() {
        QObject::connect(&notifications, &Commands::intervalChanged, [this] { ++intervalChanges; });
    }
    AppState& build(quint32 seed = 1) {
        auto generator = std::make_shared<QRandomGenerator>(seed);
        state = std::make_unique<AppState>(store, notifications, sounds,
                                           [generator] { return generator->generate64(); });
        return *state;
    }
};

// A valid value that differs from the given one.
template <typename Enum>
requires std::is_enum_v<Enum> Enum otherThan(Enum v) {
    return Enum(int(v) == 0 ? 1 : 0);
}
bool otherThan(bool v) {
    return !v;
}
double otherThan(double v) {
    return v / 2 + 0.125; // stays positive and, for a volume, within 0 to 1
}
std::optional<QString> otherThan(const std::optional<QString>& v) {
    return v ? std::nullopt : std::optional<QString>("elsewhere");
}

} // namespace

TEST(SettingsTable, EveryRowDefaultsPersistsNotifiesAndRunsItsEffect){
#define CHECK_ROW(Type, name, Name, initial, check, effect)                                        \
    {                                                                                              \
        SCOPED_TRACE(#name);                                                                       \
        Fixture f;                                                                                 \
        AppState& s = f.build();                                                                   \
        const Type fallback = initial;                                                             \
        EXPECT_TRUE(s.name() == fallback);                                                         \
        QSignalSpy spy(&s, &AppState::name##Changed);                                              \
        const size_t preparedBefore = f.sounds.calls.size();                                       \
        const Type changed = otherThan(fallback);                                                  \
        s.set##Name(changed);                                                                      \
        EXPECT_TRUE(s.name() == changed);                                                          \
        EXPECT_EQ(spy.count(), 1);                                                                 \
        const bool announces = SettingEffect::effect == SettingEffect::announceInterval;           \
        const bool prepares = SettingEffect::effect == SettingEffect::prepareSound;                \
        EXPECT_EQ(f.intervalChanges, announces ? 1 : 0);                                           \
        EXPECT_EQ(f.sounds.calls.size(), preparedBefore + (prepares ? 1 : 0));                     \
        /* The same value again: stored again, effect again, no signal. */                         \
        f.store.remove(#name);                                                                     \
        s.set##Name(changed);                                                                      \
        EXPECT_EQ(spy.count(), 1);                                                                 \
        EXPECT_EQ(f.intervalChanges, announces ? 2 : 0);                                           \
        /* What was stored is what the next start reads. */                                        \
        Fixture next;                                                                              \
        if (f.store.contains(#name))                                                               \
            next.store.setValue(#name, f.store.value(#name));                                      \
        EXPECT_TRUE(next.build().name() == changed);                                               \
        s.set##Name(fallback);                                                                     \
        Fixture back;                                                                              \
        if (f.store.contains(#name))                                                               \
            back.store.setValue(#name, f.store.value(#name));                                      \
        EXPECT_TRUE(back.build().name() == fallback);                                              \
    }
    VELMOR_SETTINGS(CHECK_ROW)
#undef CHECK_ROW
}

// That loading never writes the file is checked on damaged files in MalformedInputTest.
TEST(SettingsTable, UnreadableValuesKeepDefaultsAndAreLeftAsTheyAre) {
    QJsonObject stored;
#define GARBAGE(Type, name, ...) stored.insert(#name, QJsonObject{{"not", "a setting"}});
    VELMOR_SETTINGS(GARBAGE)
#undef GARBAGE
    stored.insert("intervalMode", "random"); // raw values are case-sensitive
    stored.insert("fixedIntervalMinutes", 0);
    stored.insert("randomMinMinutes", -3);
    stored.insert("soundVolume", 1.5);
    stored.insert("pauseDuringCalls", "maybe");
    stored.insert("departureEnabled", 2);
    stored.insert("theme", "Charcoal");
    Fixture f;
    for (auto it = stored.begin(); it != stored.end(); ++it)
        f.store.setValue(it.key(), it.value());
    AppState& s = f.build();
#define DEFAULTED(Type, name, Name, initial, ...) EXPECT_TRUE(s.name() == Type(initial)) << #name;
    VELMOR_SETTINGS(DEFAULTED)
#undef DEFAULTED
    EXPECT_EQ(f.intervalChanges, 0);
    EXPECT_EQ(f.sounds.calls.size(), 1u); // prepared once, for the defaults
    for (auto it = stored.begin(); it != stored.end(); ++it)
        EXPECT_EQ(f.store.value(it.key()), it.value()) << it.key().toStdString();
}

TEST(SettingsTable, StoredValuesAreReadAsTheUserMeantThem) {
    const std::vector<std::pair<QJsonValue, bool>> booleans = {
        {1, true},       {"true", true},   {"YES", true}, {" yes ", true},
        {0, false},      {"false", false}, {"No", false}, {false, false},
        {"maybe", true}, {2, true},        {"", true}, // unreadable: the default (true)
    };
    for (const auto& [value, expected] : booleans) {
        Fixture f;
        f.store.setValue("pauseDuringCalls", value);
        EXPECT_EQ(f.build().pauseDuringCalls(), expected)
            << value.toVariant().toString().toStdString();
        EXPECT_EQ(f.store.value("pauseDuringCalls"), value); // not rewritten
    }
    Fixture f;
    f.store.setValue("fixedIntervalMinutes", " 45 ");
    f.store.setValue("randomMaxMinutes", "forty");
    f.store.setValue("soundVolume", 0.0); // a muted volume is a choice
    f.store.setValue("theme", "dusk");    // the old name of twilight
    AppState& s = f.build();
    EXPECT_EQ(s.fixedIntervalMinutes(), 45.0);
    EXPECT_EQ(s.randomMaxMinutes(), 30.0);
    EXPECT_EQ(s.soundVolume(), 0.0);
    EXPECT_EQ(s.theme(), VelmorTheme::twilight);
    EXPECT_EQ(f.store.value("theme").toString(), "dusk");
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
