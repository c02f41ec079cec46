#include "TestApp.h"

#include <QApplication>

namespace velmor::test {

QApplication* guiApplication() {
    static QApplication* app = nullptr;
    if (!app && !QCoreApplication::instance() && !qEnvironmentVariableIsEmpty("DISPLAY")) {
        static int argc = 1;
        static char name[] = "velmor-gui-test";
        static char* argv[] = {name, nullptr};
        qputenv("QT_QPA_PLATFORM", "xcb");
        app = new QApplication(argc, argv);
    }
    return app;
}

} // namespace velmor::test
