#pragma once

#include <QWidget>

namespace velmor {

// The main window. Closing it only hides it: Velmor keeps running in the tray.
class MainWindow final : public QWidget {
    Q_OBJECT
public:
    MainWindow();
    // Shows the window and brings it to the front with the keyboard focus.
    void bringToFront();

protected:
    void closeEvent(QCloseEvent* event) override;
};

} // namespace velmor
