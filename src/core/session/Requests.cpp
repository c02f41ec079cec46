#include "core/session/Requests.h"

#include "core/model/Commands.h"

namespace velmor {

QString requestText(LaunchRequest request) {
    switch (request) {
    case LaunchRequest::reopen:
        return QStringLiteral("reopen");
    case LaunchRequest::now:
        return QStringLiteral("now");
    case LaunchRequest::pause:
        return QStringLiteral("pause");
    case LaunchRequest::resume:
        return QStringLiteral("resume");
    }
    return {};
}

std::optional<LaunchRequest> requestFromText(const QString& text) {
    for (LaunchRequest r :
         {LaunchRequest::reopen, LaunchRequest::now, LaunchRequest::pause, LaunchRequest::resume})
        if (requestText(r) == text)
            return r;
    return std::nullopt;
}

std::optional<LaunchRequest> requestFromArguments(const QStringList& arguments) {
    if (arguments.isEmpty())
        return LaunchRequest::reopen;
    if (arguments.size() == 1 && arguments.first().startsWith(QLatin1String("--"))) {
        const auto request = requestFromText(arguments.first().mid(2));
        if (request && *request != LaunchRequest::reopen)
            return request;
    }
    return std::nullopt;
}

std::optional<Command> commandFor(LaunchRequest request) {
    switch (request) {
    case LaunchRequest::reopen:
        return std::nullopt;
    case LaunchRequest::now:
        return Command::showNow;
    case LaunchRequest::pause:
        return Command::stopSession;
    case LaunchRequest::resume:
        return Command::startSession;
    }
    return std::nullopt;
}

} // namespace velmor
