#pragma once

#include "core/model/Commands.h"
#include "core/model/VelmorState.h"

#include <QString>

namespace velmor {

// What the tray menu shows and does for a session state; the widget only draws and forwards.
struct MenuModel {
    QString statusLine;  // "Velmor — Paused" / "Velmor — Active"
    QString toggleLabel; // "Resume Velmor" / "Pause Velmor"
    Command toggleCommand;
    QString iconName; // the leaf outline while idle, filled otherwise

    static MenuModel forState(const VelmorState& state);
};

} // namespace velmor
