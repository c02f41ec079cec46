#include "TestApp.h"

#include <QCoreApplication>

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

} // namespace velmor::test
