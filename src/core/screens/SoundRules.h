#pragma once

#include "core/model/Catalogues.h"

#include <QString>

#include <functional>

namespace velmor {

class AppState;

// The sound screen: cards select a sound or preview it; the volume row's symbol and figure.
struct SoundRules {
    // "speaker.slash.fill" at 0, "speaker.fill" below 0.35, "speaker.wave.1.fill" below 0.7,
    // "speaker.wave.3.fill" from there.
    static QString volumeSymbol(double volume);
    // The integer part of volume x 100 and "%": 0.29 reads "28%".
    static QString percentText(double volume);
    // "Stone, Sharp, immediate"
    static QString accessibleLabel(VelmorSound sound);
    static QString accessibleHint(); // "Tap to select this sound"
    // Silence has nothing to hear, so no play button.
    static bool hasPreview(VelmorSound sound) { return sound != VelmorSound::silence; }
    // The picture drawn on the card: "singing-bowl", ..., "wind-in-pines", "silence".
    static QString pictureName(VelmorSound sound);

    static void select(AppState& state, VelmorSound sound);
    static void setDepartureEnabled(AppState& state, bool enabled);
    static void setVolume(AppState& state, double volume);
};

} // namespace velmor
