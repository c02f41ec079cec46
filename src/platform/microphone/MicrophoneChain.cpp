#include "platform/microphone/MicrophoneChain.h"

#include "core/base/Log.h"

namespace velmor {

MicrophoneChain::MicrophoneChain(PulseMicrophone pulse, AlsaMicrophone alsa)
    : pulse_(std::move(pulse)), alsa_(std::move(alsa)) {}

bool MicrophoneChain::isInUse() {
    if (const auto answer = pulse_.query()) {
        loggedNoServer_ = false;
        return *answer;
    }
    if (!loggedNoServer_) {
        logLine(QStringLiteral("No sound server answers; reading microphone state from ALSA"));
        loggedNoServer_ = true;
    }
    return alsa_.isInUse();
}

} // namespace velmor
