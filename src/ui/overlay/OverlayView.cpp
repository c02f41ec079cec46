#include "ui/overlay/OverlayView.h"

#include "core/model/Catalogues.h"
#include "core/settings/AppState.h"
#include "platform/wayland/WaylandSession.h"
#include "platform/x11/Flush.h"
#include "platform/x11/WindowBackground.h"
#include "ui/controls/Style.h"

#include <QCoreApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QWindow>

#include <cmath>

namespace velmor {

OverlayView::OverlayView(AppState& appState, Clock& clock, PromptItem prompt, bool reduceMotion,
                         bool appearsDismissing, QWidget* parent)
    : QWidget(parent), appState_(appState), clock_(clock), prompt_(std::move(prompt)),
      attribution_(attribution(prompt_).value_or(QString())),
      timeline_(reduceMotion, appearsDismissing), nextFade_(clock),
      text_(prompt_.text, attribution_), paintsBackgroundOpacity_(isWaylandSession()) {
    // Every pixel is painted by us: no system background fill before each paint.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    setAccessibleName(prompt_.text);
    setAccessibleDescription(attribution_);
    frames_.setTimerType(Qt::PreciseTimer);
    connect(&frames_, &QTimer::timeout, this, &OverlayView::advance);
    // Colours are read at every paint; a new theme needs new text images and one paint of
    // everything.
    connect(&appState_, &AppState::themeChanged, this, [this] {
        text_.invalidate();
        if (nativeBackground_) {
            applyNativeBackground();
            update(inkRegion());
        } else {
            update();
        }
    });
    fadeOutPaintPending_ = appearsDismissing;
}

void OverlayView::beginDismiss() {
    if (timeline_.isDismissing())
        return;
    fadeOutPaintPending_ = true;
    timeline_.beginDismiss(appearedAt_ < 0 ? 0.0 : clock_.now() - appearedAt_);
    advance();
}

OverlayOpacities OverlayView::opacities() const {
    if (appearedAt_ < 0)
        return {};
    return timeline_.at(clock_.now() - appearedAt_);
}

QRect OverlayView::textRect() const {
    return text_.layout().text;
}
QRect OverlayView::attributionRect() const {
    return text_.layout().attribution;
}

void OverlayView::resizeEvent(QResizeEvent* event) {
    text_.setSize(size());
    QWidget::resizeEvent(event);
}

void OverlayView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (appearedAt_ >= 0)
        return;
    appearedAt_ = clock_.now();
    // Before the window is mapped: the server fills the screen with the theme colour, and the
    // first paint covers the text only instead of 33 MB of one colour at 4K.
    applyNativeBackground();
    if (nativeBackground_) {
        // Showing marks the whole window for painting; held off until the window is exposed,
        // where only the text is asked for.
        setAttribute(Qt::WA_UpdatesDisabled);
        window()->setAttribute(Qt::WA_UpdatesDisabled);
        window()->windowHandle()->installEventFilter(this);
    }
    // Runs before the window is mapped, so it appears at its first opacity without a flash.
    shown_ = timeline_.at(0);
    applyWindowOpacity(shown_.background);
    advance();
}

void OverlayView::applyNativeBackground() {
    QWidget* top = window();
    nativeBackground_ =
        top && setWindowBackground(top->windowHandle(),
                                   ui::toQColor(themeInfo(appState_.theme()).overlayColor));
}

QRegion OverlayView::inkRegion() const {
    QRegion ink;
    if (!prompt_.text.isEmpty() && shown_.text > 0)
        ink += text_.layout().textInk;
    if (!attribution_.isEmpty() && shown_.attribution > 0)
        ink += text_.layout().attributionInk;
    return ink;
}

bool OverlayView::eventFilter(QObject* watched, QEvent* event) {
    // The server has already filled an exposed area with the background: only the text over it
    // needs painting.
    auto* top = qobject_cast<QWindow*>(watched);
    if (event->type() != QEvent::Expose || forwardingExpose_ || !nativeBackground_ || !top ||
        !top->isExposed())
        return QWidget::eventFilter(watched, event);
    QWidget* panel = window();
    forwardingExpose_ = true;
    QExposeEvent mapped{QRegion()}; // marks the widgets mapped, paints nothing
    QCoreApplication::sendEvent(top, &mapped);
    forwardingExpose_ = false;
    if (panel->testAttribute(Qt::WA_UpdatesDisabled)) {
        // First exposure: the backing store is sized while updates are still off, so that
        // this does not count as a reason to paint every pixel.
        QEvent sizeStore(QEvent::UpdateRequest);
        QCoreApplication::sendEvent(panel, &sizeStore);
        panel->setAttribute(Qt::WA_UpdatesDisabled, false);
        setAttribute(Qt::WA_UpdatesDisabled, false);
    }
    repaint(inkRegion());
    return true;
}

void OverlayView::applyWindowOpacity(double opacity) {
    QWidget* top = window();
    if (!top)
        return;
    if (paintsBackgroundOpacity_) {
        // No window opacity on Wayland: the next paint fills the background at this opacity.
        update();
        return;
    }
    top->setWindowOpacity(opacity);
    // The compositor reads the opacity from the window's property: it must reach the server
    // now, not when some later event happens to flush the connection.
    flushWindowSystem();
}

void OverlayView::advance() {
    if (appearedAt_ < 0)
        return;
    const double t = clock_.now() - appearedAt_;
    const OverlayOpacities now = timeline_.at(t);
    if (now.background != shown_.background)
        applyWindowOpacity(now.background);
    if (now.text != shown_.text)
        update(text_.layout().textInk);
    if (now.attribution != shown_.attribution)
        update(text_.layout().attributionInk);
    shown_ = now;

    if (timeline_.isMoving(t)) {
        nextFade_.cancel();
        const int interval = int(std::lround(timeline_.frameInterval(t) * 1000));
        if (!frames_.isActive() || frames_.interval() != interval)
            frames_.start(interval);
        return;
    }
    frames_.stop();
    if (const auto next = timeline_.nextFadeStart(t))
        nextFade_.startAt(appearedAt_ + *next, [this] { advance(); });
    else
        nextFade_.cancel();
}

void OverlayView::paintEvent(QPaintEvent* event) {
    if (++paints_ > 1 && QRegion(rect()).subtracted(event->region()).isEmpty())
        ++fullRepaints_;
    const ThemeInfo& theme = themeInfo(appState_.theme());
    QPainter painter(this);
    if (paintsBackgroundOpacity_) {
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(event->rect(),
                         ui::withOpacity(ui::toQColor(theme.overlayColor), shown_.background));
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    } else {
        painter.fillRect(event->rect(), ui::toQColor(theme.overlayColor));
    }
    // The text is blended from its image: no glyphs are shaped or rasterised per frame.
    text_.paintText(painter, event->rect(), shown_, ui::toQColor(theme.textColor),
                    devicePixelRatioF());
    if (fadeOutPaintPending_ && timeline_.isDismissing()) {
        fadeOutPaintPending_ = false;
        emit fadeOutPainted();
    }
}

} // namespace velmor
