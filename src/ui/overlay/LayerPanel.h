#pragma once

#include "core/base/Clock.h"
#include "core/model/PromptItem.h"
#include "core/session/OverlayTimeline.h"
#include "ui/overlay/OverlayPainter.h"
#include "ui/overlay/OverlaySurface.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>

class QScreen;

namespace velmor {

class AppState;
class LayerShell;
class LayerSurface;

// One screen's overlay as a surface on the compositor's overlay layer (Wayland): above panels
// and full-screen windows, where no toplevel can go. The background is one colour scaled over
// the output, its alpha the fade; the text sits on a surface of its own the size of its ink,
// painted again only while it fades. Frames follow the compositor's frame callbacks, no faster
// than the fade needs; between fades nothing runs at all.
class LayerPanel final : public QObject, public OverlaySurface {
    Q_OBJECT
public:
    // Null when the shell knows no output for `screen`.
    static LayerPanel* create(LayerShell& shell, QScreen* screen, AppState& appState, Clock& clock,
                              PromptItem prompt, bool reduceMotion, bool takesKeyboard);
    ~LayerPanel() override;

    void appear(bool takesKeyboard) override;
    void beginDismiss() override;
    void removeLater() override;

    // The compositor refused the surface before showing it.
    std::function<void()> onRefused;

private:
    LayerPanel(std::unique_ptr<LayerSurface> surface, AppState& appState, Clock& clock,
               PromptItem prompt, bool reduceMotion);
    void configured();
    void advance();
    void key(std::uint32_t keysym, bool control);

    std::unique_ptr<LayerSurface> surface_;
    AppState& appState_;
    Clock& clock_;
    PromptItem prompt_;
    OverlayTimeline timeline_;
    OverlayPainter text_;
    double appearedAt_ = -1;
    double lastCommit_ = -1;
    OverlayOpacities shown_;
    bool textShown_ = false;
    QRgb shownBackground_ = 0;
    bool backgroundShown_ = false;
    QTimer pace_; // the rest of a frame interval, only while no frame is pending
    OneShot nextFade_;
};

} // namespace velmor
