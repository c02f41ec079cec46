#include "ui/library/LibraryMotion.h"

#include "platform/desktop/ReduceMotion.h"

#include <QPointF>

namespace velmor {

namespace libraryMotion {

namespace {
std::function<bool()>& reduceSource() {
    static std::function<bool()> source;
    return source;
}

// The common cubic timing curves, with their control points.
QEasingCurve bezier(QPointF c1, QPointF c2) {
    QEasingCurve curve(QEasingCurve::BezierSpline);
    curve.addCubicBezierSegment(c1, c2, QPointF(1, 1));
    return curve;
}
} // namespace

QEasingCurve easeInOut() {
    return bezier(QPointF(0.42, 0), QPointF(0.58, 1));
}

QEasingCurve easeOut() {
    return bezier(QPointF(0, 0), QPointF(0.58, 1));
}

bool enabled() {
    const auto& source = reduceSource();
    return !(source ? source() : systemReducesMotion());
}

void setReduceMotionSource(std::function<bool()> reduces) {
    reduceSource() = std::move(reduces);
}

} // namespace libraryMotion

double Fade::value() const {
    if (!animation_)
        return to_;
    return from_ + (to_ - from_) * animation_->currentValue().toDouble();
}

Fade::~Fade() {
    jumpTo(0);
}

// A running animation is let go of without its signals: its callbacks may be what is ending
// this fade.
void Fade::jumpTo(double to) {
    if (animation_) {
        animation_->disconnect();
        animation_->stop();
        animation_->deleteLater();
    }
    animation_ = nullptr;
    from_ = to_ = to;
}

void Fade::moveTo(double to, int ms, const QEasingCurve& curve, bool animate, QObject* owner,
                  std::function<void()> tick) {
    if (to == to_ && (animation_ || value() == to))
        return;
    const double from = value();
    jumpTo(to);
    if (!animate || from == to) {
        if (tick)
            tick();
        return;
    }
    from_ = from;
    auto* animation = new QVariantAnimation(owner);
    animation->setStartValue(0.0);
    animation->setEndValue(1.0);
    animation->setDuration(ms);
    animation->setEasingCurve(curve);
    animation_ = animation;
    QObject::connect(animation, &QVariantAnimation::valueChanged, owner, [tick] {
        if (tick)
            tick();
    });
    QObject::connect(animation, &QAbstractAnimation::finished, owner, [this, animation, tick] {
        if (animation_ == animation) {
            animation_ = nullptr;
            from_ = to_;
        }
        animation->deleteLater();
        if (tick)
            tick();
    });
    animation->start();
}

} // namespace velmor
