#include "ui/overlay/LayerPanel.h"

#include "core/model/Catalogues.h"
#include "core/settings/AppState.h"
#include "platform/wayland/LayerShell.h"
#include "ui/controls/Style.h"

#include <QPainter>
#include <QScreen>

#include <xkbcommon/xkbcommon-keysyms.h>

namespace velmor {

LayerPanel* LayerPanel::create(LayerShell& shell, QScreen* screen, AppState& appState, Clock& clock,
                               PromptItem prompt, bool reduceMotion, bool takesKeyboard) {
    if (!screen)
        return nullptr;
    auto surface = shell.createSurface(screen->name(), takesKeyboard);
    if (!surface)
        return nullptr;
    return new LayerPanel(std::move(surface), appState, clock, std::move(prompt), reduceMotion);
}

LayerPanel::LayerPanel(std::unique_ptr<LayerSurface> surface, AppState& appState, Clock& clock,
                       PromptItem prompt, bool reduceMotion)
    : surface_(std::move(surface)), appState_(appState), clock_(clock), prompt_(std::move(prompt)),
      timeline_(reduceMotion), text_(prompt_.text, attribution(prompt_).value_or(QString())),
      nextFade_(clock) {
    pace_.setSingleShot(true);
    pace_.setTimerType(Qt::PreciseTimer);
    connect(&pace_, &QTimer::timeout, this, &LayerPanel::advance);
    LayerSurface* s = surface_.get();
    connect(s, &LayerSurface::configured, this, &LayerPanel::configured);
    connect(s, &LayerSurface::frameDone, this, &LayerPanel::advance);
    connect(s, &LayerSurface::closed, this, [this] {
        // Once shown, a closed surface means its output went: the screen change removes the
        // overlay. Before, the compositor would not have it.
        if (appearedAt_ < 0)
            if (auto refused = onRefused)
                refused();
    });
    connect(s, &LayerSurface::keyPressed, this, &LayerPanel::key);
    connect(s, &LayerSurface::pointerPressed, this, [this] { clicked(clock_.now()); });
    connect(&appState_, &AppState::themeChanged, this, [this] {
        text_.invalidate();
        backgroundShown_ = textShown_ = false;
        if (!pace_.isActive() && !surface_->isFramePending())
            advance();
    });
}

LayerPanel::~LayerPanel() = default;

void LayerPanel::appear(bool) {
    // The surface asked for the keyboard when it was made; it shows at its first configure.
}

void LayerPanel::configured() {
    if (appearedAt_ >= 0)
        return;
    appearedAt_ = clock_.now();
    text_.setSize(surface_->size());
    advance();
}

void LayerPanel::beginDismiss() {
    if (timeline_.isDismissing())
        return;
    timeline_.beginDismiss(appearedAt_ < 0 ? 0.0 : clock_.now() - appearedAt_);
    // A pending frame advances when it is done.
    if (!surface_->isFramePending()) {
        pace_.stop();
        advance();
    }
}

void LayerPanel::removeLater() {
    onKeyDown = onMouseDown = onEscape = nullptr;
    onRefused = nullptr;
    pace_.stop();
    nextFade_.cancel();
    // The surface goes now, with the events it may be delivering: deleted once they are done.
    if (surface_) {
        surface_->disconnect(this);
        surface_.release()->deleteLater();
    }
    deleteLater();
}

void LayerPanel::advance() {
    if (appearedAt_ < 0 || !surface_)
        return;
    const double now = clock_.now();
    const double t = now - appearedAt_;
    const OverlayOpacities o = timeline_.at(t);
    const bool moving = timeline_.isMoving(t);
    const double interval = timeline_.frameInterval(t);
    // Not before a frame interval has passed since the last one shown.
    if (moving && lastCommit_ >= 0 && now - lastCommit_ < interval - 0.002) {
        pace_.start(int((interval - (now - lastCommit_)) * 1000) + 1);
        return;
    }

    const ThemeInfo& theme = themeInfo(appState_.theme());
    bool changed = false;
    const QColor background = ui::withOpacity(ui::toQColor(theme.overlayColor), o.background);
    const QRgb pixel = qPremultiply(background.rgba());
    if (!backgroundShown_ || pixel != shownBackground_) {
        surface_->setBackground(background);
        shownBackground_ = pixel;
        backgroundShown_ = true;
        changed = true;
    }
    if (!textShown_ || o.text != shown_.text || o.attribution != shown_.attribution) {
        const QRect ink = o.text > 0 || o.attribution > 0 ? text_.inkRect() : QRect();
        if (QImage* image = surface_->beginForeground(ink)) {
            QPainter painter(image);
            painter.translate(-ink.topLeft());
            text_.paintText(painter, ink, o, ui::toQColor(theme.textColor), surface_->scale());
        }
        textShown_ = true;
        changed = true;
    }
    shown_ = o;
    if (changed) {
        surface_->commit(moving);
        lastCommit_ = now;
    } else if (moving) {
        pace_.start(int(interval * 1000));
    }
    if (moving) {
        nextFade_.cancel();
        return;
    }
    pace_.stop();
    if (const auto next = timeline_.nextFadeStart(t))
        nextFade_.startAt(appearedAt_ + *next, [this] { advance(); });
    else
        nextFade_.cancel();
}

void LayerPanel::key(std::uint32_t keysym, bool control) {
    const double now = clock_.now();
    if (control && (keysym == XKB_KEY_q || keysym == XKB_KEY_Q))
        keyPressed(Key::quit, now);
    else
        keyPressed(keysym == XKB_KEY_Escape ? Key::escape : Key::other, now);
}

} // namespace velmor
