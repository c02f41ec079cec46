#pragma once

#include "ui/screens/WindowServices.h"

#include <QTimer>
#include <QWidget>

class QVBoxLayout;

namespace velmor {

namespace ui {
class TextBlock;
}

// Greets by the hour and shows one card: the prompt sat with, the last prompt and how long
// ago, or what is about to happen.
class HomeScreen final : public QWidget {
    Q_OBJECT
public:
    explicit HomeScreen(const WindowServices& services, QWidget* parent = nullptr);

private:
    void refresh();

    const WindowServices& services_;
    ui::TextBlock* greeting_;
    ui::TextBlock* waiting_; // why an overlay is being held back, while it is
    QWidget* card_ = nullptr;
    QVBoxLayout* column_;
    QTimer clock_; // greeting and "how long ago" move on while the screen stays open
};

} // namespace velmor
