#pragma once

#include "core/model/Commands.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace velmor {

// What a launch asks of the running Velmor: a plain launch re-opens the main window, --now,
// --pause and --resume send the session's commands, --quit ends it.
enum class LaunchRequest { reopen, now, pause, resume, quit };

QString requestText(LaunchRequest request);
std::optional<LaunchRequest> requestFromText(const QString& text);
// From the program's arguments (without argv[0]); nullopt for anything else.
std::optional<LaunchRequest> requestFromArguments(const QStringList& arguments);
// The command a request sends; none for reopen, which brings the window back, nor for quit.
std::optional<Command> commandFor(LaunchRequest request);

// One request as a later launch sends it: the request's text, then, after a space, the token
// with which the desktop lets the launch bring a window forward (an X11 startup id, a Wayland
// activation token), when it has one. Tokens are printable and hold no spaces.
struct RequestLine {
    LaunchRequest request = LaunchRequest::reopen;
    QString activationToken;
};
QString lineText(const RequestLine& line);
std::optional<RequestLine> parseRequestLine(const QString& text);

// The running instance's reading of one client: requests are lines of at most maxLength bytes,
// several may come in one write. Keeps at most one unfinished line, so a client that never
// sends a newline cannot make it grow.
class RequestLines {
public:
    static constexpr qsizetype maxLength = 256;

    // The lines completed by `bytes`, without their line ends, in the order sent. Once a line
    // has run over maxLength nothing more is taken.
    QList<QByteArray> take(const QByteArray& bytes);
    bool overflowed() const { return overflowed_; }

private:
    QByteArray partial_;
    bool overflowed_ = false;
};

// The answer to one request line: "ok" for a request this program knows, an error otherwise.
QByteArray answerTo(const QByteArray& line);

} // namespace velmor
