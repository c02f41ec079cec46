#pragma once

#include <QStringList>

class QApplication;
class QCoreApplication;
class QImage;
class QWidget;

namespace velmor::test {

// The test process's one application object, made on first use and kept to the end (event
// loops, D-Bus and audio devices need one).
QCoreApplication& coreApplication();

// Runs xdotool with `args` on the display named by DISPLAY (real input through the X server);
// whether it succeeded.
bool xdotool(const QStringList& args);

// A widget application on the X display named by DISPLAY; null when there is none. Only in
// tests linked with velmor_test_gui.
QApplication* guiApplication();
// What the X server shows of `widget` (read back from the display, not Qt's own rendering);
// also in tests linked with velmor_test_gui.
QImage onScreen(QWidget* widget);

} // namespace velmor::test
