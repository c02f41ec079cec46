#pragma once

#include "core/session/Microphone.h"

#include <QByteArray>

#include <optional>

namespace velmor {

// Asks the PulseAudio server (or pipewire-pulse) whether its default source is being recorded.
//
// In use means: the default source is a real input (not the monitor of a sink) and at least one
// of its source outputs is uncorked and belongs to another program that is not a level meter.
// The source's own RUNNING state is not used, since a meter alone keeps it running. Level
// meters are streams opened with peak detection (PulseAudio reports their resampler as
// "peaks") and the streams of the known volume controls (application.id of pavucontrol and
// GNOME's sound settings). Streams of this process are told apart by application.process.id.
//
// Each query opens a private connection and closes it again: no thread and no socket stay
// behind between the 30 s polls, and one query takes a few milliseconds.
class PulseMicrophone final : public Microphone {
public:
    // An empty server means the default (PULSE_SERVER, then the user's runtime folder).
    explicit PulseMicrophone(QByteArray server = {}, int timeoutMs = 250);

    // nullopt when no server answers within the time-out.
    std::optional<bool> query();
    bool isInUse() override { return query().value_or(false); }

private:
    QByteArray server_;
    int timeoutMs_;
};

} // namespace velmor
