#pragma once

#include <QObject>
#include <QVariantAnimation>

class QWidget;

namespace velmor::ui {

// The hover state of a widget as a value from 0 (pointer outside) to 1 (inside), faded
// ease-in-out each way and repainting the widget as it goes.
class HoverFade final : public QObject {
    Q_OBJECT
public:
    HoverFade(QWidget* widget, int durationMs);

    bool isHovered() const { return hovered_; }
    double value() const { return value_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setHovered(bool hovered);

    QWidget* widget_;
    QVariantAnimation animation_;
    bool hovered_ = false;
    double value_ = 0.0;
};

} // namespace velmor::ui
