#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace velmor {

// What a launch asks of the running Velmor: a plain launch re-opens the main window, --now,
// --pause and --resume post the session's notifications.
enum class LaunchRequest { reopen, now, pause, resume };

QString requestText(LaunchRequest request);
std::optional<LaunchRequest> requestFromText(const QString& text);
// From the program's arguments (without argv[0]); nullopt for anything else.
std::optional<LaunchRequest> requestFromArguments(const QStringList& arguments);
// The notification a request posts, or empty for reopen.
QString notificationFor(LaunchRequest request);

} // namespace velmor
