#pragma once

#include <QEasingCurve>
#include <QPointer>
#include <QVariantAnimation>

#include <functional>

namespace velmor {

// The library screens' animations: the two curves they use, their durations, and whether to
// animate at all. The desktop's reduce-motion setting is read when a screen is made; with it,
// every change lands at once.
namespace libraryMotion {

constexpr int hoverMs = 200;      // a prompt row's action bar, fill and heart
constexpr int shelfHoverMs = 150; // a shelf row's fill
constexpr int changeMs = 200;     // adding, restoring, editing, opening the set-aside list
constexpr int removeMs = 250;     // a row leaving the list

QEasingCurve easeInOut();
QEasingCurve easeOut();

// Whether the screens animate: the desktop's setting unless replaced (tests replace it).
bool enabled();
void setReduceMotionSource(std::function<bool()> reduces);

} // namespace libraryMotion

// One value moving between two points (0 to 1 mostly) over a duration on a curve; at rest it
// holds its target. Without motion it jumps to the target at once.
class Fade {
public:
    Fade() = default;
    Fade(const Fade&) = delete;
    Fade& operator=(const Fade&) = delete;
    ~Fade();
    double value() const;
    double target() const { return to_; }
    bool isRunning() const {
        return animation_ && animation_->state() == QAbstractAnimation::Running;
    }
    // Moves from the current value to `to`; `tick` runs on every step (and once at the end).
    void moveTo(double to, int ms, const QEasingCurve& curve, bool animate, QObject* owner,
                std::function<void()> tick);
    void jumpTo(double to);

private:
    double from_ = 0, to_ = 0;
    QPointer<QVariantAnimation> animation_;
};

} // namespace velmor
