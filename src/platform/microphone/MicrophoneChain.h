#pragma once

#include "core/session/Microphone.h"
#include "platform/microphone/AlsaMicrophone.h"
#include "platform/microphone/PulseMicrophone.h"

namespace velmor {

// The desktop's microphone: the sound server when one runs, else the ALSA devices.
class MicrophoneChain final : public Microphone {
public:
    MicrophoneChain(PulseMicrophone pulse, AlsaMicrophone alsa);
    MicrophoneChain() : MicrophoneChain(PulseMicrophone(), AlsaMicrophone()) {}
    bool isInUse() override;

private:
    PulseMicrophone pulse_;
    AlsaMicrophone alsa_;
    bool loggedNoServer_ = false;
};

} // namespace velmor
