#pragma once

#include <QDateTime>
#include <QString>

namespace velmor {

// Why a due overlay is being held back, as the tray menu and the home screen say it.
struct WaitReason {
    enum class Kind { meeting, microphone, screenShared, fullScreen };
    Kind kind = Kind::meeting;
    QDateTime until; // the meeting's end; invalid for the others

    bool operator==(const WaitReason&) const = default;
};

// "Waiting: meeting until 14:30" (local time, the user's short format), "Waiting: microphone in
// use", "Waiting: screen shared", "Waiting: video or game full screen".
QString waitingText(const WaitReason& reason);

} // namespace velmor
