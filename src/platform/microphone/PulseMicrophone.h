#pragma once

#include <QByteArray>

#include <memory>
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
// The answer is kept current on a thread of its own: one connection, subscribed to the
// server's record streams and default source, works the answer out again when they change, so
// a question only reads the cached answer and never waits on the server. The thread sleeps
// while nothing records. A lost server is looked for again at the next question.
class PulseMicrophone final {
public:
    // An empty server means the default (PULSE_SERVER, then the user's runtime folder).
    // `firstAnswerMs` is how long a question may wait while the connection is being made (0:
    // not at all; isConnecting() then tells a server not answered yet from none).
    explicit PulseMicrophone(QByteArray server = {}, int firstAnswerMs = 0);
    ~PulseMicrophone();
    PulseMicrophone(PulseMicrophone&&) noexcept;
    PulseMicrophone& operator=(PulseMicrophone&&) noexcept;

    // nullopt while no server answers.
    std::optional<bool> query();
    // The connection is being made: no answer yet, and no failure either.
    bool isConnecting() const;

    struct Connection;

private:
    std::unique_ptr<Connection> connection_;
};

} // namespace velmor
