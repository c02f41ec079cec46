#include "core/session/Requests.h"

#include "core/model/Commands.h"

#include <algorithm>
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

namespace {
bool isPrintableWord(const QString& text) {
    return std::all_of(text.begin(), text.end(),
                       [](QChar c) { return c.unicode() > 0x20 && c.unicode() < 0x7f; });
}
} // namespace

QString lineText(const RequestLine& line) {
    const QString request = requestText(line.request);
    // A token that could not be read back is left out rather than spoiling the request.
    if (line.activationToken.isEmpty() || !isPrintableWord(line.activationToken) ||
        line.activationToken.size() > RequestLines::maxLength / 2)
        return request;
    return request + QLatin1Char(' ') + line.activationToken;
}

std::optional<RequestLine> parseRequestLine(const QString& text) {
    const QStringList words = text.split(QLatin1Char(' '));
    if (words.size() > 2)
        return std::nullopt;
    const auto request = requestFromText(words.first());
    if (!request || !isPrintableWord(words.value(1)))
        return std::nullopt;
    return RequestLine{*request, words.value(1)};
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
    if (parseRequestLine(QString::fromUtf8(line.trimmed())))
        return QByteArrayLiteral("ok");
    return QByteArrayLiteral("error: unknown request");
}

} // namespace velmor
