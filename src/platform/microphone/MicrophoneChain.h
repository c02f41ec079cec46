#pragma once

#include "core/session/CallSignal.h"
#include "platform/microphone/AlsaMicrophone.h"
#include "platform/microphone/PulseMicrophone.h"

namespace velmor {

// The desktop's microphone: the sound server when one runs, else the ALSA devices. Not known
// while the sound server's first answer is on its way.
class MicrophoneChain final : public CallSignal {
public:
    MicrophoneChain(PulseMicrophone pulse, AlsaMicrophone alsa);
    MicrophoneChain() : MicrophoneChain(PulseMicrophone(), AlsaMicrophone()) {}
    std::optional<bool> isActive() override;

private:
    PulseMicrophone pulse_;
    AlsaMicrophone alsa_;
    bool loggedNoServer_ = false;
};

} // namespace velmor
