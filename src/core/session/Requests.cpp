#include "core/session/Requests.h"

#include "core/model/Commands.h"

#include <QCommandLineParser>
#include <QCoreApplication>

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
    case LaunchRequest::background:
        return QStringLiteral("background");
    }
    return {};
}

std::optional<LaunchRequest> requestFromText(const QString& text) {
    for (LaunchRequest r : {LaunchRequest::reopen, LaunchRequest::now, LaunchRequest::pause,
                            LaunchRequest::resume, LaunchRequest::quit, LaunchRequest::background})
        if (requestText(r) == text)
            return r;
    return std::nullopt;
}

namespace {

struct Texts {
    Q_DECLARE_TR_FUNCTIONS(CommandLine)
};

// Qt's options (see qt6options(7)): those after which a value follows, and flags. They are
// accepted here, kept out of the help and handled by QApplication.
constexpr const char* qtOptionsWithValue[] = {
    "platform",    "platformpluginpath", "platformtheme", "plugin",     "qwindowgeometry",
    "qwindowicon", "qwindowtitle",       "session",       "display",    "geometry",
    "style",       "stylesheet",         "qmljsdebugger", "fontengine", "dialogs"};
constexpr const char* qtFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

} // namespace

CommandLine readCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    // -platform xcb, as Qt writes its options; -h and -v still work as one-letter names.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        Texts::tr("A quiet pause now and then, with one line to sit with.\n"
                  "Without options, starts Velmor or brings its window forward. Qt's own options,\n"
                  "such as -platform xcb, are accepted too; see velmor(1)."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  Texts::tr("Show this help and exit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     Texts::tr("Show the version and exit."));
    const std::pair<LaunchRequest, QCommandLineOption> requests[] = {
        {LaunchRequest::now, {QStringLiteral("now"), Texts::tr("Show a pause now.")}},
        {LaunchRequest::pause, {QStringLiteral("pause"), Texts::tr("Pause the session.")}},
        {LaunchRequest::resume, {QStringLiteral("resume"), Texts::tr("Resume the session.")}},
        {LaunchRequest::quit, {QStringLiteral("quit"), Texts::tr("Quit the running Velmor.")}},
        {LaunchRequest::background,
         {QStringLiteral("background"),
          Texts::tr(
              "Start without opening the window, as at login; does nothing if Velmor runs.")}},
    };
    parser.addOption(help);
    parser.addOption(version);
    for (const auto& [request, option] : requests)
        parser.addOption(option);
    for (const char* name : qtOptionsWithValue) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char* name : qtFlags) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }

    CommandLine line;
    const auto refuse = [&line](const QString& why) {
        line.action = CommandLine::Action::refuse;
        line.text = why;
        return line;
    };
    if (!parser.parse(arguments))
        return refuse(parser.errorText());
    if (!parser.positionalArguments().isEmpty())
        return refuse(
            Texts::tr("Unexpected argument: %1").arg(parser.positionalArguments().first()));
    if (parser.isSet(help)) {
        line.action = CommandLine::Action::help;
        line.text = parser.helpText();
        return line;
    }
    if (parser.isSet(version)) {
        line.action = CommandLine::Action::version;
        line.text = QStringLiteral("Velmor ") + QCoreApplication::applicationVersion() + u'\n';
        return line;
    }
    int asked = 0;
    for (const auto& [request, option] : requests)
        if (parser.isSet(option)) {
            line.request = request;
            ++asked;
        }
    if (asked > 1)
        return refuse(Texts::tr("Give one of --now, --pause, --resume, --quit and --background."));
    return line;
}

std::optional<Command> commandFor(LaunchRequest request) {
    switch (request) {
    case LaunchRequest::reopen:
    case LaunchRequest::quit:
    case LaunchRequest::background:
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
