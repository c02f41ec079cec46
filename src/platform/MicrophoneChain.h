#pragma once

#include "platform/AlsaMicrophone.h"
#include "platform/Microphone.h"
#include "platform/PulseMicrophone.h"

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
