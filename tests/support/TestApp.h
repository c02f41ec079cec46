#pragma once

class QApplication;
class QCoreApplication;

namespace velmor::test {

// The test process's one application object, made on first use and kept to the end (event
// loops, D-Bus and audio devices need one).
QCoreApplication& coreApplication();

// A widget application on the X display named by DISPLAY; null when there is none. Only in
// tests linked with velmor_test_gui.
QApplication* guiApplication();

} // namespace velmor::test
