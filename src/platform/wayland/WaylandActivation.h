#pragma once

#include <QString>

namespace velmor {

// A token with which the running Velmor may bring its window forward, for a later launch that
// the desktop gave none (XDG_ACTIVATION_TOKEN): asked of the compositor through
// xdg_activation_v1 on a connection of its own. Empty where the compositor offers none or does
// not answer within a moment. Whether it honours a token it handed out so is its own choice.
QString requestWaylandActivationToken();

} // namespace velmor
