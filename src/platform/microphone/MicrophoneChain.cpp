#include "platform/microphone/MicrophoneChain.h"

#include "core/base/Log.h"

namespace velmor {

MicrophoneChain::MicrophoneChain(PulseMicrophone pulse, AlsaMicrophone alsa)
    : pulse_(std::move(pulse)), alsa_(std::move(alsa)) {}

std::optional<bool> MicrophoneChain::isActive() {
    if (const auto answer = pulse_.query()) {
        loggedNoServer_ = false;
        return *answer;
    }
    if (pulse_.isConnecting())
        return std::nullopt;
    if (!loggedNoServer_) {
        logLine(QStringLiteral("No sound server answers; reading microphone state from ALSA"));
        loggedNoServer_ = true;
    }
    return alsa_.isInUse();
}

} // namespace velmor
