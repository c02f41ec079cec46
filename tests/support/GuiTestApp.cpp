#include "TestApp.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

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

QImage onScreen(QWidget* widget) {
    widget->repaint();
    QApplication::processEvents();
    const QPoint at = widget->mapToGlobal(QPoint(0, 0));
    return QGuiApplication::primaryScreen()
        ->grabWindow(0, at.x(), at.y(), widget->width(), widget->height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

} // namespace velmor::test
