#include "core/session/Requests.h"

#include "core/model/Commands.h"

#include <utility>

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
    case LaunchRequest::quit:
        return QStringLiteral("quit");
    }
    return {};
}

std::optional<LaunchRequest> requestFromText(const QString& text) {
    for (LaunchRequest r : {LaunchRequest::reopen, LaunchRequest::now, LaunchRequest::pause,
                            LaunchRequest::resume, LaunchRequest::quit})
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
    case LaunchRequest::quit:
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

QList<QByteArray> RequestLines::take(const QByteArray& bytes) {
    QList<QByteArray> lines;
    qsizetype from = 0;
    while (!overflowed_ && from < bytes.size()) {
        const qsizetype end = bytes.indexOf('\n', from);
        const qsizetype stop = end < 0 ? bytes.size() : end;
        if (partial_.size() + (stop - from) > maxLength) {
            overflowed_ = true;
            partial_.clear();
            break;
        }
        partial_.append(bytes.constData() + from, stop - from);
        if (end < 0)
            break;
        if (partial_.endsWith('\r'))
            partial_.chop(1);
        lines.append(std::exchange(partial_, {}));
        from = end + 1;
    }
    return lines;
}

QByteArray answerTo(const QByteArray& line) {
    if (requestFromText(QString::fromUtf8(line.trimmed())))
        return QByteArrayLiteral("ok");
    return QByteArrayLiteral("error: unknown request");
}

} // namespace velmor
