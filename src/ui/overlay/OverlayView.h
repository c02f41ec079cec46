#pragma once

#include "core/base/Clock.h"
#include "core/model/PromptItem.h"
#include "core/session/OverlayTimeline.h"
#include "ui/overlay/OverlayPainter.h"

#include <QTimer>
#include <QWidget>

namespace velmor {

class AppState;

// What the user sees on one screen: the theme's background, the prompt and its attribution,
// fading in and out along an OverlayTimeline. The background fades through the opacity of the
// top-level window (the compositor blends it; on Wayland, which has no window opacity, the view
// paints the background translucent itself, at the same frame rate); text and
// attribution are painted with their own opacities and only their area is repainted while they
// fade. Frames run only while a fade does.
class OverlayView final : public QWidget {
    Q_OBJECT
public:
    // `appearsDismissing`: built for the fade-out, so it starts fully visible and fades at once.
    OverlayView(AppState& appState, Clock& clock, PromptItem prompt, bool reduceMotion,
                bool appearsDismissing = false, QWidget* parent = nullptr);

    const PromptItem& prompt() const { return prompt_; }

    // Starts the fade-out from what is visible now; later calls do nothing.
    void beginDismiss();
    bool isDismissing() const { return timeline_.isDismissing(); }

    // The opacities at the clock's current time (0 before the view has appeared).
    OverlayOpacities opacities() const;
    // The opacities last applied to the window and painted.
    OverlayOpacities shownOpacities() const { return shown_; }
    // Whether frames are being produced right now.
    bool isAnimating() const { return frames_.isActive(); }

    // Where the text and the attribution are drawn (empty when absent).
    QRect textRect() const;
    QRect attributionRect() const;

    // Paint events that covered the whole view after the first one (should stay 0).
    int fullRepaintsAfterFirst() const { return fullRepaints_; }

signals:
    // A frame of the fade-out was painted for the first time.
    void fadeOutPainted();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void advance();
    void applyWindowOpacity(double opacity);
    // The theme colour as the window's own background, filled in by the X server.
    void applyNativeBackground();
    // What must be painted on top of the native background: the text and attribution shown.
    QRegion inkRegion() const;

    AppState& appState_;
    Clock& clock_;
    PromptItem prompt_;
    QString attribution_;
    OverlayTimeline timeline_;
    double appearedAt_ = -1;
    OverlayOpacities shown_;
    QTimer frames_;
    OneShot nextFade_;
    OverlayPainter text_;
    int paints_ = 0;
    int fullRepaints_ = 0;
    bool fadeOutPaintPending_ = false;
    bool nativeBackground_ = false;
    bool forwardingExpose_ = false;
    // Where the window's opacity does nothing (Wayland), the background is painted translucent.
    bool paintsBackgroundOpacity_ = false;
};

} // namespace velmor
