#include "core/settings/AppState.h"

#include "core/model/Commands.h"
#include "core/settings/SettingsStore.h"
#include "core/settings/SoundPreparer.h"

#include <utility>

namespace velmor {

namespace {
// How each type of setting is read from and written to the store.
template <typename T> struct SettingCodec;

template <> struct SettingCodec<bool> {
    static std::optional<bool> read(const QJsonValue& v) { return SettingsStore::readBool(v); }
    static QJsonValue write(bool value) { return value; }
};

template <> struct SettingCodec<double> {
    static std::optional<double> read(const QJsonValue& v) { return SettingsStore::readNumber(v); }
    static QJsonValue write(double value) { return value; }
};

template <> struct SettingCodec<std::optional<QString>> {
    static std::optional<std::optional<QString>> read(const QJsonValue& v) {
        if (!v.isString())
            return std::nullopt;
        return std::optional<QString>(v.toString());
    }
    static QJsonValue write(const std::optional<QString>& value) {
        return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Undefined);
    }
};

std::optional<IntervalMode> fromRawValue(const QString& raw, IntervalMode*) {
    return intervalModeFromRawValue(raw);
}
std::optional<OverlayScope> fromRawValue(const QString& raw, OverlayScope*) {
    return overlayScopeFromRawValue(raw);
}
std::optional<AppearanceMode> fromRawValue(const QString& raw, AppearanceMode*) {
    return appearanceModeFromRawValue(raw);
}
std::optional<VelmorTheme> fromRawValue(const QString& raw, VelmorTheme*) {
    // The theme once called "dusk" is now "twilight"; the stored name changes when the user
    // next picks a theme.
    if (raw == QLatin1String("dusk"))
        return VelmorTheme::twilight;
    return themeFromRawValue(raw);
}
std::optional<VelmorSound> fromRawValue(const QString& raw, VelmorSound*) {
    return soundFromRawValue(raw);
}

template <typename T>
requires std::is_enum_v<T>
struct SettingCodec<T> {
    static std::optional<T> read(const QJsonValue& v) {
        if (!v.isString())
            return std::nullopt;
        return fromRawValue(v.toString(), static_cast<T*>(nullptr));
    }
    static QJsonValue write(T value) { return rawValue(value); }
};
} // namespace

AppState::AppState(SettingsStore& store, Commands& commands, SoundPreparer& sounds,
                   RandomWords random)
    : store_(store), commands_(commands), sounds_(sounds), random_(std::move(random)) {
    // Nothing is written back: an unreadable value keeps the default and stays in the store.
#define VELMOR_LOAD_SETTING(Type, name, Name, initial, check, effect)                              \
    loadSetting(name##_, QStringLiteral(#name), settingChecks::check);
    VELMOR_SETTINGS(VELMOR_LOAD_SETTING)
#undef VELMOR_LOAD_SETTING
    runEffect(SettingEffect::prepareSound);
}

AppState& AppState::shared() {
    static AppState* instance =
        new AppState(SettingsStore::shared(), Commands::shared(), SoundPreparer::shared());
    return *instance;
}

template <typename T, typename Check>
void AppState::loadSetting(T& field, const QString& key, Check check) {
    if (const std::optional<T> stored = SettingCodec<T>::read(store_.value(key));
        stored && check(*stored))
        field = *stored;
}

template <typename T>
void AppState::assignSetting(T& field, const T& value, const QString& key,
                             void (AppState::*changed)(), SettingEffect effect) {
    const bool isChange = field != value;
    field = value;
    // Stored before anyone hears of it: a listener that corrects the value (the timer screen
    // keeps the random range open) writes its correction after this, and that one must stay.
    const QJsonValue stored = SettingCodec<T>::write(value);
    if (stored.isUndefined())
        store_.remove(key);
    else
        store_.setValue(key, stored);
    if (isChange)
        emit(this->*changed)();
    runEffect(effect);
}

#define VELMOR_DEFINE_SETTER(Type, name, Name, initial, check, effect)                             \
    void AppState::set##Name(SettingParam<Type> value) {                                           \
        assignSetting<Type>(name##_, value, QStringLiteral(#name), &AppState::name##Changed,       \
                            SettingEffect::effect);                                                \
    }
VELMOR_SETTINGS(VELMOR_DEFINE_SETTER)
#undef VELMOR_DEFINE_SETTER

void AppState::runEffect(SettingEffect effect) {
    switch (effect) {
    case SettingEffect::none:
        break;
    case SettingEffect::announceInterval:
        commands_.send(Command::intervalChanged);
        break;
    case SettingEffect::prepareSound:
        sounds_.prepare(selectedSound_, soundVolume_);
        break;
    }
}

void AppState::setState(const VelmorState& value) {
    if (state_ != value) {
        state_ = value;
        emit stateChanged();
    }
}

void AppState::setIsCallDeferred(bool value) {
    if (isCallDeferred_ != value) {
        isCallDeferred_ = value;
        emit isCallDeferredChanged();
    }
}

void AppState::setWaitReason(const std::optional<WaitReason>& value) {
    if (waitReason_ != value) {
        waitReason_ = value;
        emit waitReasonChanged();
    }
}

void AppState::setLastPrompt(const std::optional<PromptItem>& value) {
    if (lastPrompt_ != value) {
        lastPrompt_ = value;
        emit lastPromptChanged();
    }
}

void AppState::setLastPromptDate(const std::optional<QDateTime>& value) {
    if (lastPromptDate_ != value) {
        lastPromptDate_ = value;
        emit lastPromptDateChanged();
    }
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

} // namespace velmor
