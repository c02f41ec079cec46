// A launch in miniature, for the single-instance tests: takes the instance in FOLDER ("-" for
// the program's own folder) or hands REQUEST to the one running there, as the program does.
// With a third argument it first waits for a byte on that FIFO, so several probes can be
// released in the same instant.
// Prints "first" (then "got <request>" for each request it receives), "handed over" or
// "unanswered".
#include "platform/desktop/SingleInstance.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <sys/prctl.h>
#include <unistd.h>

using namespace velmor;

namespace {
void say(const QString& line) {
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}
} // namespace

int main(int argc, char** argv) {
    if (argc < 3)
        return 2;
    ::prctl(PR_SET_PDEATHSIG, SIGKILL); // never outlives a test that was stopped
    QCoreApplication app(argc, argv);
    if (argc > 3) {
        const int gate = ::open(argv[3], O_RDONLY);
        char byte = 0;
        if (gate < 0 || ::read(gate, &byte, 1) != 1)
            return 2;
        ::close(gate);
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    SingleInstance instance(folder == QLatin1String("-") ? SingleInstance::runtimeFolder()
                                                         : folder);
    switch (instance.claim(QString::fromLocal8Bit(argv[2]), std::chrono::seconds(8))) {
    case SingleInstance::Launch::handedOver:
        say(QStringLiteral("handed over"));
        return 0;
    case SingleInstance::Launch::unanswered:
        say(QStringLiteral("unanswered"));
        return 1;
    case SingleInstance::Launch::first:
        break;
    }
    QObject::connect(&instance, &SingleInstance::requestReceived,
                     [](LaunchRequest r, const QString& token) {
                         say(QStringLiteral("got ") + lineText({r, token}));
                     });
    if (!instance.listen())
        return 1;
    say(QStringLiteral("first"));
    return app.exec();
}
