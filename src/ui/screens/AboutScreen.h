#pragma once

#include <QWidget>

namespace velmor {

// What Velmor is, its version and an invitation to write.
class AboutScreen final : public QWidget {
    Q_OBJECT
public:
    explicit AboutScreen(QWidget* parent = nullptr);
};

} // namespace velmor
