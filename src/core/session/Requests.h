#pragma once

#include "core/model/Commands.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace velmor {

// What a launch asks of the running Velmor: a plain launch re-opens the main window, --now,
// --pause and --resume send the session's commands.
enum class LaunchRequest { reopen, now, pause, resume };

QString requestText(LaunchRequest request);
std::optional<LaunchRequest> requestFromText(const QString& text);
// From the program's arguments (without argv[0]); nullopt for anything else.
std::optional<LaunchRequest> requestFromArguments(const QStringList& arguments);
// The command a request sends; none for reopen, which brings the window back.
std::optional<Command> commandFor(LaunchRequest request);

} // namespace velmor
