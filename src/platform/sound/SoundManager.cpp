#include "platform/sound/SoundManager.h"

#include "core/base/Resources.h"
#include "core/settings/AppState.h"

#include <optional>
#include <utility>

namespace velmor {

namespace {

constexpr double departureShare = 0.6;

QString soundFilePath(const std::optional<QString>& name) {
    if (!name)
        return QString();
    return resourcePath(QStringLiteral("sounds/") + *name + QStringLiteral(".caf"));
}

std::unique_ptr<SoundPlayer> playerFor(const std::optional<QString>& name, double volume) {
    const QString path = soundFilePath(name);
    return path.isEmpty() ? nullptr : SoundPlayer::open(path, volume);
}

} // namespace

SoundManager::SoundManager(StateSource state) : state_(std::move(state)) {}

SoundManager& SoundManager::shared() {
    // Never destroyed: the overlay may ring while the program quits.
    static SoundManager* instance = new SoundManager([] { return &AppState::shared(); });
    return *instance;
}

void SoundManager::prepare(VelmorSound sound, double volume) {
    // Release the old player first so two decoded copies never sit in memory together.
    arrivalPlayer_.reset();
    arrivalPlayer_ = playerFor(arrivalFile(sound), volume);
    departurePlayer_.reset();
    departurePlayer_ = playerFor(departureFile(sound), volume * departureShare);
}

void SoundManager::playArrival() {
    const AppState* state = state_();
    if (!state || state->selectedSound() == VelmorSound::silence || !arrivalPlayer_)
        return;
    arrivalPlayer_->play();
}

void SoundManager::playDeparture() {
    const AppState* state = state_();
    if (!state || !state->departureEnabled() || state->selectedSound() == VelmorSound::silence ||
        !departurePlayer_)
        return;
    departurePlayer_->play();
}

void SoundManager::preview(VelmorSound sound) {
    if (sound == VelmorSound::silence)
        return;
    const QString path = soundFilePath(arrivalFile(sound));
    const AppState* state = state_();
    if (path.isEmpty() || !state)
        return;
    if (arrivalPlayer_)
        arrivalPlayer_->stop();
    arrivalPlayer_.reset();
    arrivalPlayer_ = SoundPlayer::open(path, state->soundVolume());
    if (arrivalPlayer_)
        arrivalPlayer_->play();
}

} // namespace velmor
