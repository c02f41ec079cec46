#include "core/screens/SoundRules.h"

#include "core/settings/AppState.h"

#include <QCoreApplication>

#include <cmath>

namespace velmor {

QString SoundRules::volumeSymbol(double volume) {
    if (volume <= 0)
        return QStringLiteral("speaker.slash.fill");
    if (volume < 0.35)
        return QStringLiteral("speaker.fill");
    if (volume < 0.7)
        return QStringLiteral("speaker.wave.1.fill");
    return QStringLiteral("speaker.wave.3.fill");
}

QString SoundRules::percentText(double volume) {
    const double product = volume * 100.0;
    const int percent = std::isfinite(product) ? int(std::trunc(product)) : 0;
    return QString::number(percent) + u'%';
}

QString SoundRules::accessibleLabel(VelmorSound sound) {
    const SoundInfo& info = soundInfo(sound);
    return info.rawValue + QStringLiteral(", ") + info.description;
}

QString SoundRules::accessibleHint() {
    return QCoreApplication::translate("SoundSettingsView", "Tap to select this sound");
}

QString SoundRules::pictureName(VelmorSound sound) {
    switch (sound) {
    case VelmorSound::singingBowl:
        return QStringLiteral("singing-bowl");
    case VelmorSound::meditationBell:
        return QStringLiteral("meditation-bell");
    case VelmorSound::woodenBlock:
        return QStringLiteral("wooden-block");
    case VelmorSound::stone:
        return QStringLiteral("stone");
    case VelmorSound::windInPines:
        return QStringLiteral("wind-in-pines");
    case VelmorSound::silence:
        return QStringLiteral("silence");
    }
    return {};
}

void SoundRules::select(AppState& state, VelmorSound sound) {
    state.setSelectedSound(sound);
}

void SoundRules::setDepartureEnabled(AppState& state, bool enabled) {
    state.setDepartureEnabled(enabled);
}

void SoundRules::setVolume(AppState& state, double volume) {
    state.setSoundVolume(volume);
}

} // namespace velmor
