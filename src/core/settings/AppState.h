#pragma once

#include "core/base/Random.h"
#include "core/model/Catalogues.h"
#include "core/model/PromptItem.h"
#include "core/model/SettingsEnums.h"
#include "core/model/VelmorState.h"

#include <QDateTime>
#include <QObject>

#include <optional>

namespace velmor {

class Commands;
class SettingsStore;
class SoundPreparer;

// The one observable application state: settings (persisted on every assignment), the session
// state, the call-deferral flag and the prompt shown last. Each setter stores the value, signals
// only a real change, writes the store every time, then runs its extra effect.
class AppState final : public QObject {
    Q_OBJECT
public:
    AppState(SettingsStore& store, Commands& commands, SoundPreparer& sounds,
             RandomWords random = systemRandomWords());

    static AppState& shared();

    VelmorState state() const { return state_; }
    bool isCallDeferred() const { return isCallDeferred_; }
    bool pauseDuringCalls() const { return pauseDuringCalls_; }
    AppearanceMode appearanceMode() const { return appearanceMode_; }
    bool departureEnabled() const { return departureEnabled_; }
    OverlayScope overlayScope() const { return overlayScope_; }
    IntervalMode intervalMode() const { return intervalMode_; }
    double fixedIntervalMinutes() const { return fixedIntervalMinutes_; }
    double randomMinMinutes() const { return randomMinMinutes_; }
    double randomMaxMinutes() const { return randomMaxMinutes_; }
    VelmorTheme theme() const { return theme_; }
    VelmorSound selectedSound() const { return selectedSound_; }
    double soundVolume() const { return soundVolume_; }
    std::optional<QString> sittingWithPromptId() const { return sittingWithPromptId_; }
    std::optional<PromptItem> lastPrompt() const { return lastPrompt_; }
    std::optional<QDateTime> lastPromptDate() const { return lastPromptDate_; }

    void setState(const VelmorState& value);
    void setIsCallDeferred(bool value);
    void setPauseDuringCalls(bool value);
    void setAppearanceMode(AppearanceMode value);
    void setDepartureEnabled(bool value);
    void setOverlayScope(OverlayScope value);
    void setIntervalMode(IntervalMode value);
    void setFixedIntervalMinutes(double value);
    void setRandomMinMinutes(double value);
    void setRandomMaxMinutes(double value);
    void setTheme(VelmorTheme value);
    void setSelectedSound(VelmorSound value);
    void setSoundVolume(double value);
    void setSittingWithPromptId(const std::optional<QString>& value);
    void setLastPrompt(const std::optional<PromptItem>& value);
    void setLastPromptDate(const std::optional<QDateTime>& value);

    // Seconds until the next overlay, drawn afresh on every call in random mode. A reversed
    // random range is read with its bounds swapped.
    double nextIntervalSeconds() const;

signals:
    void stateChanged();
    void isCallDeferredChanged();
    void pauseDuringCallsChanged();
    void appearanceModeChanged();
    void departureEnabledChanged();
    void overlayScopeChanged();
    void intervalModeChanged();
    void fixedIntervalMinutesChanged();
    void randomMinMinutesChanged();
    void randomMaxMinutesChanged();
    void themeChanged();
    void selectedSoundChanged();
    void soundVolumeChanged();
    void sittingWithPromptIdChanged();
    void lastPromptChanged();
    void lastPromptDateChanged();

private:
    void load();
    void intervalSettingWritten();
    void prepareSound();

    SettingsStore& store_;
    Commands& commands_;
    SoundPreparer& sounds_;
    RandomWords random_;

    VelmorState state_;
    bool isCallDeferred_ = false;
    bool pauseDuringCalls_ = true;
    AppearanceMode appearanceMode_ = AppearanceMode::system;
    bool departureEnabled_ = false;
    OverlayScope overlayScope_ = OverlayScope::thisScreen;
    IntervalMode intervalMode_ = IntervalMode::fixed;
    double fixedIntervalMinutes_ = 20.0;
    double randomMinMinutes_ = 15.0;
    double randomMaxMinutes_ = 30.0;
    VelmorTheme theme_ = VelmorTheme::charcoal;
    VelmorSound selectedSound_ = VelmorSound::singingBowl;
    double soundVolume_ = 0.7;
    std::optional<QString> sittingWithPromptId_;
    std::optional<PromptItem> lastPrompt_;
    std::optional<QDateTime> lastPromptDate_;
};

} // namespace velmor
