#pragma once

#include "core/session/OverlayTimeline.h"

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>

class QPainter;

namespace velmor {

// The prompt's line and attribution as every kind of overlay panel shows them: laid out in the
// middle of the screen, rendered once at full opacity into images, then blended at the
// opacities of the moment, so no glyph is shaped or rasterised per frame. Qt Gui only.
class OverlayPainter {
public:
    struct Layout {
        QRect text, attribution;       // where each is laid out
        QRect textInk, attributionInk; // what their glyphs cover, repainted while they fade
    };

    OverlayPainter(QString text, QString attribution);

    // Lays the text out over a screen of `size`; the images are rendered again at next paint.
    void setSize(const QSize& size);
    const Layout& layout() const { return layout_; }
    // Both ink rects together (empty without text).
    QRect inkRect() const { return layout_.textInk | layout_.attributionInk; }
    // The images are rendered again at the next paint (a new theme).
    void invalidate() { cacheValid_ = false; }

    // Paints the line and its attribution at `opacities` where they meet `area`, in `colour`
    // (the attribution lighter), for a device of `ratio` pixels per logical pixel.
    void paintText(QPainter& painter, const QRect& area, const OverlayOpacities& opacities,
                   const QColor& colour, qreal ratio);

private:
    void render(const QColor& colour, qreal ratio);

    QString text_, attribution_;
    QSize size_;
    Layout layout_;
    QImage textImage_, attributionImage_; // covering layout_.textInk and attributionInk
    QColor renderedColour_;
    qreal renderedRatio_ = 0;
    bool cacheValid_ = false;
};

} // namespace velmor
