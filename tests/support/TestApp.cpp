#include "TestApp.h"

#include <QCoreApplication>
#include <QProcess>

namespace velmor::test {

namespace {
int argc = 1;
char name[] = "velmor-test";
char* argv[] = {name, nullptr};
} // namespace

QCoreApplication& coreApplication() {
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv);
    return *QCoreApplication::instance();
}

bool xdotool(const QStringList& args) {
    return QProcess::execute(QStringLiteral("xdotool"), args) == 0;
}

} // namespace velmor::test
