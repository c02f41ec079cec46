#include "ui/controls/HoverFade.h"

#include <QEvent>
#include <QWidget>

namespace velmor::ui {

HoverFade::HoverFade(QWidget* widget, int durationMs) : QObject(widget), widget_(widget) {
    animation_.setDuration(durationMs);
    animation_.setEasingCurve(QEasingCurve::InOutQuad);
    connect(&animation_, &QVariantAnimation::valueChanged, this, [this](const QVariant& v) {
        value_ = v.toDouble();
        widget_->update();
    });
    widget->setAttribute(Qt::WA_Hover);
    widget->installEventFilter(this);
}

bool HoverFade::eventFilter(QObject* watched, QEvent* event) {
    if (watched == widget_) {
        if (event->type() == QEvent::Enter || event->type() == QEvent::HoverEnter)
            setHovered(true);
        else if (event->type() == QEvent::Leave || event->type() == QEvent::HoverLeave ||
                 event->type() == QEvent::Hide)
            setHovered(false);
    }
    return false;
}

void HoverFade::setHovered(bool hovered) {
    if (hovered == hovered_)
        return;
    hovered_ = hovered;
    animation_.stop();
    animation_.setStartValue(value_);
    animation_.setEndValue(hovered ? 1.0 : 0.0);
    animation_.start();
}

} // namespace velmor::ui
