#include "core/settings/AppState.h"

#include "core/model/Commands.h"
#include "core/settings/SettingsStore.h"
#include "core/settings/SoundPreparer.h"

#include <utility>

namespace velmor {

namespace keys {
const QString intervalMode = QStringLiteral("intervalMode");
const QString fixedIntervalMinutes = QStringLiteral("fixedIntervalMinutes");
const QString randomMinMinutes = QStringLiteral("randomMinMinutes");
const QString randomMaxMinutes = QStringLiteral("randomMaxMinutes");
const QString theme = QStringLiteral("theme");
const QString selectedSound = QStringLiteral("selectedSound");
const QString soundVolume = QStringLiteral("soundVolume");
const QString appearanceMode = QStringLiteral("appearanceMode");
const QString departureEnabled = QStringLiteral("departureEnabled");
const QString pauseDuringCalls = QStringLiteral("pauseDuringCalls");
const QString overlayScope = QStringLiteral("overlayScope");
const QString sittingWithPromptId = QStringLiteral("sittingWithPromptId");
} // namespace keys

namespace {
// Stores the value and tells whether it changed.
template <typename T> bool assign(T& field, const T& value) {
    if (field == value)
        return false;
    field = value;
    return true;
}
} // namespace

AppState::AppState(SettingsStore& store, Commands& commands, SoundPreparer& sounds,
                   RandomWords random)
    : store_(store), commands_(commands), sounds_(sounds), random_(std::move(random)) {
    load();
}

AppState& AppState::shared() {
    static AppState* instance =
        new AppState(SettingsStore::shared(), Commands::shared(), SoundPreparer::shared());
    return *instance;
}

void AppState::load() {
    if (auto mode = intervalModeFromRawValue(store_.string(keys::intervalMode).value_or(QString())))
        setIntervalMode(*mode);
    if (double v = store_.doubleValue(keys::fixedIntervalMinutes); v > 0)
        setFixedIntervalMinutes(v);
    if (double v = store_.doubleValue(keys::randomMinMinutes); v > 0)
        setRandomMinMinutes(v);
    if (double v = store_.doubleValue(keys::randomMaxMinutes); v > 0)
        setRandomMaxMinutes(v);

    // The theme once called "dusk" is now "twilight".
    if (store_.string(keys::theme) == QStringLiteral("dusk"))
        store_.setValue(keys::theme, QStringLiteral("twilight"));
    if (auto theme = themeFromRawValue(store_.string(keys::theme).value_or(QString())))
        setTheme(*theme);
    if (auto sound = soundFromRawValue(store_.string(keys::selectedSound).value_or(QString())))
        setSelectedSound(*sound);
    setSittingWithPromptId(store_.string(keys::sittingWithPromptId));

    // A muted volume is a real choice: restore a stored 0 and fall back to the default only when
    // the key is missing or holds something that is not a volume.
    const QJsonValue volume = store_.value(keys::soundVolume);
    if (volume.isDouble() && volume.toDouble() >= 0 && volume.toDouble() <= 1)
        setSoundVolume(volume.toDouble());

    if (auto mode =
            appearanceModeFromRawValue(store_.string(keys::appearanceMode).value_or(QString())))
        setAppearanceMode(*mode);
    setDepartureEnabled(store_.boolValue(keys::departureEnabled));
    store_.registerDefault(keys::pauseDuringCalls, true);
    setPauseDuringCalls(store_.boolValue(keys::pauseDuringCalls));
    if (auto scope =
            overlayScopeFromRawValue(store_.string(keys::overlayScope).value_or(QString())))
        setOverlayScope(*scope);
    prepareSound();
}

void AppState::setState(const VelmorState& value) {
    if (assign(state_, value))
        emit stateChanged();
}

void AppState::setIsCallDeferred(bool value) {
    if (assign(isCallDeferred_, value))
        emit isCallDeferredChanged();
}

void AppState::setPauseDuringCalls(bool value) {
    if (assign(pauseDuringCalls_, value))
        emit pauseDuringCallsChanged();
    store_.setValue(keys::pauseDuringCalls, value);
}

void AppState::setAppearanceMode(AppearanceMode value) {
    if (assign(appearanceMode_, value))
        emit appearanceModeChanged();
    store_.setValue(keys::appearanceMode, rawValue(value));
}

void AppState::setDepartureEnabled(bool value) {
    if (assign(departureEnabled_, value))
        emit departureEnabledChanged();
    store_.setValue(keys::departureEnabled, value);
    prepareSound();
}

void AppState::setOverlayScope(OverlayScope value) {
    if (assign(overlayScope_, value))
        emit overlayScopeChanged();
    store_.setValue(keys::overlayScope, rawValue(value));
}

void AppState::setIntervalMode(IntervalMode value) {
    if (assign(intervalMode_, value))
        emit intervalModeChanged();
    store_.setValue(keys::intervalMode, rawValue(value));
    intervalSettingWritten();
}

void AppState::setFixedIntervalMinutes(double value) {
    if (assign(fixedIntervalMinutes_, value))
        emit fixedIntervalMinutesChanged();
    store_.setValue(keys::fixedIntervalMinutes, value);
    intervalSettingWritten();
}

void AppState::setRandomMinMinutes(double value) {
    if (assign(randomMinMinutes_, value))
        emit randomMinMinutesChanged();
    store_.setValue(keys::randomMinMinutes, value);
    intervalSettingWritten();
}

void AppState::setRandomMaxMinutes(double value) {
    if (assign(randomMaxMinutes_, value))
        emit randomMaxMinutesChanged();
    store_.setValue(keys::randomMaxMinutes, value);
    intervalSettingWritten();
}

void AppState::setTheme(VelmorTheme value) {
    if (assign(theme_, value))
        emit themeChanged();
    store_.setValue(keys::theme, rawValue(value));
}

void AppState::setSelectedSound(VelmorSound value) {
    if (assign(selectedSound_, value))
        emit selectedSoundChanged();
    store_.setValue(keys::selectedSound, rawValue(value));
    prepareSound();
}

void AppState::setSoundVolume(double value) {
    if (assign(soundVolume_, value))
        emit soundVolumeChanged();
    store_.setValue(keys::soundVolume, value);
    prepareSound();
}

void AppState::setSittingWithPromptId(const std::optional<QString>& value) {
    if (assign(sittingWithPromptId_, value))
        emit sittingWithPromptIdChanged();
    if (value)
        store_.setValue(keys::sittingWithPromptId, *value);
    else
        store_.remove(keys::sittingWithPromptId);
}

void AppState::setLastPrompt(const std::optional<PromptItem>& value) {
    if (assign(lastPrompt_, value))
        emit lastPromptChanged();
}

void AppState::setLastPromptDate(const std::optional<QDateTime>& value) {
    if (assign(lastPromptDate_, value))
        emit lastPromptDateChanged();
}

double AppState::nextIntervalSeconds() const {
    if (intervalMode_ == IntervalMode::random) {
        double low = randomMinMinutes_ * 60.0;
        double high = randomMaxMinutes_ * 60.0;
        if (low > high)
            std::swap(low, high);
        return uniformClosed(random_, low, high);
    }
    return fixedIntervalMinutes_ * 60.0;
}

void AppState::intervalSettingWritten() {
    commands_.send(Command::intervalChanged);
}

void AppState::prepareSound() {
    sounds_.prepare(selectedSound_, soundVolume_);
}

} // namespace velmor
