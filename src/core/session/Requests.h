#pragma once

#include "core/model/Commands.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace velmor {

// What a launch asks of the running Velmor: a plain launch re-opens the main window, --now,
// --pause and --resume send the session's commands, --quit ends it, and --background (the
// login entry's) starts it without a window and asks nothing of one that runs.
enum class LaunchRequest { reopen, now, pause, resume, quit, background };

QString requestText(LaunchRequest request);
std::optional<LaunchRequest> requestFromText(const QString& text);

// The command line, read before any window system is touched, so that --help and --version
// work without a display. Qt's own options (-platform xcb, -style fusion, ...) are let through
// for QApplication, which takes them out of argv itself.
struct CommandLine {
    enum class Action { run, help, version, refuse };
    Action action = Action::run;
    LaunchRequest request = LaunchRequest::reopen;
    QString text; // the help or version text, or why the arguments were refused
};
// `arguments` as the program got them, argv[0] first.
CommandLine readCommandLine(const QStringList& arguments);
// The session command a request sends; none for reopen, quit and background, which the
// program itself answers.
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
