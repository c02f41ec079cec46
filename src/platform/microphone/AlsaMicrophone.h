#pragma once

#include "core/session/Microphone.h"

#include <QString>

namespace velmor {

// Without a sound server: any ALSA capture substream whose status reads "state: RUNNING"
// (card*/pcm*c/sub*/status under /proc/asound). ALSA does not say which device is the
// default, so every capture device counts.
class AlsaMicrophone final : public Microphone {
public:
    explicit AlsaMicrophone(QString procRoot = QStringLiteral("/proc/asound"));
    bool isInUse() override;

private:
    QString root_;
};

} // namespace velmor
