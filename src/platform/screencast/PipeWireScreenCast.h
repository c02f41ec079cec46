#pragma once

#include "core/session/CallSignal.h"

#include <QByteArray>

#include <memory>

namespace velmor {

// Whether another program captures the screen: a PipeWire video source that belongs to no
// device (the desktop portal's screen casts, which browsers, meeting programs and OBS ask
// for; a camera is a device) with at least one link out of it, to whoever records it.
//
// The graph is followed on PipeWire's own thread (its registry of nodes and links), so a
// question only reads the answer kept. Unknown until the first full listing of the graph; no
// PipeWire is a known "no". A lost PipeWire is looked for again at the next question.
class PipeWireScreenCast final : public CallSignal {
public:
    // An empty remote means the default (PIPEWIRE_REMOTE, then the user's runtime folder).
    explicit PipeWireScreenCast(QByteArray remote = {});
    ~PipeWireScreenCast() override;

    std::optional<bool> isActive() override;

    struct Graph;

private:
    std::unique_ptr<Graph> graph_;
};

} // namespace velmor
