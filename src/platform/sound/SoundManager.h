#pragma once

#include "core/model/Catalogues.h"
#include "core/session/OverlaySounds.h"
#include "core/settings/SoundPreparer.h"
#include "platform/sound/SoundPlayer.h"

#include <functional>
#include <memory>

namespace velmor {

class AppState;

// Keeps the overlay's arrival and departure sounds loaded and ready, and plays the sound
// screen's previews. A player that could not be made (missing or unreadable file, no sound
// server) stays absent and playing it does nothing.
//
// The settings model calls prepare() from its own constructor, so a SoundManager exists before
// the AppState it reads. It therefore reaches the state through a function that is called only
// when a sound is played: until that function yields a state, playing does nothing.
class SoundManager final : public SoundPreparer, public OverlaySounds {
public:
    using StateSource = std::function<const AppState*()>;

    explicit SoundManager(StateSource state);

    // The program's one instance, reading AppState::shared() when it first plays. Install it
    // with SoundPreparer::install(&SoundManager::shared()) before AppState::shared() is used.
    static SoundManager& shared();

    // Loads both players for the sound: the arrival at `volume`, the departure at 60 % of it.
    // Silence leaves both absent.
    void prepare(VelmorSound sound, double volume) override;

    // Restart from the beginning, so a sound still ringing starts over.
    void playArrival() override;
    // Only while the departure sound is enabled.
    void playDeparture() override;

    // Plays the sound's arrival file on the arrival player itself at the chosen volume: until
    // the next prepare(), overlays arrive with the previewed sound.
    void preview(VelmorSound sound);

    const SoundPlayer* arrivalPlayer() const { return arrivalPlayer_.get(); }
    const SoundPlayer* departurePlayer() const { return departurePlayer_.get(); }

private:
    StateSource state_;
    std::unique_ptr<SoundPlayer> arrivalPlayer_;
    std::unique_ptr<SoundPlayer> departurePlayer_;
};

} // namespace velmor
