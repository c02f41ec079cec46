#include "ui/window/MainWindow.h"

#include <QCloseEvent>

namespace velmor {

MainWindow::MainWindow() {
    setWindowTitle(QStringLiteral("Velmor"));
    resize(600, 450);
}

void MainWindow::bringToFront() {
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    hide();
    event->ignore();
}

} // namespace velmor
