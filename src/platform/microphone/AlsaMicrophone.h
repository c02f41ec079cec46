#pragma once

#include <QString>

namespace velmor {

// Without a sound server: any ALSA capture substream whose status reads "state: RUNNING"
// (card*/pcm*c/sub*/status under /proc/asound). ALSA does not say which device is the
// default, so every capture device counts.
class AlsaMicrophone final {
public:
    explicit AlsaMicrophone(QString procRoot = QStringLiteral("/proc/asound"));
    bool isInUse();

private:
    QString root_;
};

} // namespace velmor
