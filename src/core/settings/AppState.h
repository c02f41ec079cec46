#pragma once

#include "core/base/Random.h"
#include "core/model/Catalogues.h"
#include "core/model/PromptItem.h"
#include "core/model/SettingsEnums.h"
#include "core/model/VelmorState.h"
#include "core/model/WaitReason.h"

#include <QDateTime>
#include <QObject>

#include <optional>
#include <type_traits>

namespace velmor {

class Commands;
class SettingsStore;
class SoundPreparer;

// Checks a stored value must pass before loading takes it (a failing value keeps the default).
namespace settingChecks {
inline constexpr auto anyValue = [](const auto&) { return true; };
inline constexpr auto positive = [](double value) { return value > 0; };
inline constexpr auto unitInterval = [](double value) { return value >= 0 && value <= 1; };
} // namespace settingChecks

// What an assignment does besides storing the value.
enum class SettingEffect {
    none,
    announceInterval, // posts Command::intervalChanged
    prepareSound,     // hands the sound and volume to the sound preparer
};

// Every persisted setting, one line each: type, getter (also its store key and, with "Changed",
// its signal), setter suffix, default, check, effect. Enumerations are stored as their raw
// values; an absent optional removes the key.
#define VELMOR_SETTINGS(X)                                                                         \
    X(bool, pauseDuringCalls, PauseDuringCalls, true, anyValue, none)                              \
    X(bool, waitWhileFullScreen, WaitWhileFullScreen, true, anyValue, none)                        \
    X(AppearanceMode, appearanceMode, AppearanceMode, AppearanceMode::system, anyValue, none)      \
    X(bool, departureEnabled, DepartureEnabled, false, anyValue, prepareSound)                     \
    X(OverlayScope, overlayScope, OverlayScope, OverlayScope::thisScreen, anyValue, none)          \
    X(IntervalMode, intervalMode, IntervalMode, IntervalMode::fixed, anyValue, announceInterval)   \
    X(double, fixedIntervalMinutes, FixedIntervalMinutes, 20.0, positive, announceInterval)        \
    X(double, randomMinMinutes, RandomMinMinutes, 15.0, positive, announceInterval)                \
    X(double, randomMaxMinutes, RandomMaxMinutes, 30.0, positive, announceInterval)                \
    X(VelmorTheme, theme, Theme, VelmorTheme::charcoal, anyValue, none)                            \
    X(VelmorSound, selectedSound, SelectedSound, VelmorSound::singingBowl, anyValue, prepareSound) \
    X(double, soundVolume, SoundVolume, 0.7, unitInterval, prepareSound)                           \
    X(std::optional<QString>, sittingWithPromptId, SittingWithPromptId, std::nullopt, anyValue,    \
      none)                                                                                        \
    X(std::optional<QString>, syncFolder, SyncFolder, std::nullopt, anyValue, none)

// Setters take small values by value, others by reference.
template <typename T> using SettingParam = std::conditional_t<std::is_scalar_v<T>, T, const T&>;

// The one observable application state: settings (loaded once, persisted on every assignment),
// the session state, the call-deferral flag and the prompt shown last. Each setter stores the
// value, signals only a real change, writes the store every time, then runs its effect.
// Loading writes nothing back: a stored value that cannot be read stays as it is in the store.
class AppState final : public QObject {
    Q_OBJECT
public:
    AppState(SettingsStore& store, Commands& commands, SoundPreparer& sounds,
             RandomWords random = systemRandomWords());

    static AppState& shared();

    VelmorState state() const { return state_; }
    bool isCallDeferred() const { return isCallDeferred_; }
    // Why the overlay held back waits, while the call or meeting lasts; not stored.
    std::optional<WaitReason> waitReason() const { return waitReason_; }
    std::optional<PromptItem> lastPrompt() const { return lastPrompt_; }
    std::optional<QDateTime> lastPromptDate() const { return lastPromptDate_; }

    void setState(const VelmorState& value);
    void setIsCallDeferred(bool value);
    void setWaitReason(const std::optional<WaitReason>& value);
    void setLastPrompt(const std::optional<PromptItem>& value);
    void setLastPromptDate(const std::optional<QDateTime>& value);

#define VELMOR_SETTING_ACCESSORS(Type, name, Name, ...)                                            \
    Type name() const {                                                                            \
        return name##_;                                                                            \
    }                                                                                              \
    void set##Name(SettingParam<Type> value);
    VELMOR_SETTINGS(VELMOR_SETTING_ACCESSORS)
#undef VELMOR_SETTING_ACCESSORS

    // Seconds until the next overlay, drawn afresh on every call in random mode. A reversed
    // random range is read with its bounds swapped.
    double nextIntervalSeconds() const;

signals:
    void stateChanged();
    void isCallDeferredChanged();
    void waitReasonChanged();
    void lastPromptChanged();
    void lastPromptDateChanged();
#define VELMOR_SETTING_SIGNAL(Type, name, ...) void name##Changed();
    VELMOR_SETTINGS(VELMOR_SETTING_SIGNAL)
#undef VELMOR_SETTING_SIGNAL

private:
    template <typename T, typename Check>
    void loadSetting(T& field, const QString& key, Check check);
    template <typename T>
    void assignSetting(T& field, const T& value, const QString& key, void (AppState::*changed)(),
                       SettingEffect effect);
    void runEffect(SettingEffect effect);

    SettingsStore& store_;
    Commands& commands_;
    SoundPreparer& sounds_;
    RandomWords random_;

    VelmorState state_;
    bool isCallDeferred_ = false;
    std::optional<WaitReason> waitReason_;
    std::optional<PromptItem> lastPrompt_;
    std::optional<QDateTime> lastPromptDate_;
#define VELMOR_SETTING_FIELD(Type, name, Name, initial, ...) Type name##_ = initial;
    VELMOR_SETTINGS(VELMOR_SETTING_FIELD)
#undef VELMOR_SETTING_FIELD
};

} // namespace velmor
