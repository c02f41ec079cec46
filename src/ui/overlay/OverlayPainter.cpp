#include "ui/overlay/OverlayPainter.h"

#include "platform/desktop/Fonts.h"

#include <QFontMetrics>
#include <QPainter>

#include <climits>

namespace velmor {

namespace {

constexpr int textPixelSize = 36;
constexpr int attributionPixelSize = 20;
constexpr int sidePadding = 80;
constexpr int stackSpacing = 14;
constexpr double attributionAlpha = 0.45;
constexpr int textFlags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap;

// Italic glyphs lean past their advance box: repaint a little around the text so a fading
// line leaves no stale edge behind.
QRect withOverhang(const QRect& r, int pixelSize) {
    if (r.isEmpty())
        return r;
    const int m = pixelSize / 3;
    return r.adjusted(-m, -m, m, m);
}

} // namespace

OverlayPainter::OverlayPainter(QString text, QString attribution)
    : text_(std::move(text)), attribution_(std::move(attribution)) {}

void OverlayPainter::setSize(const QSize& size) {
    if (size == size_)
        return;
    size_ = size;
    cacheValid_ = false;
    const int w = size.width();
    const int textWidth = std::max(1, w - 2 * sidePadding);
    QRect textBounds, attributionBounds; // laid out from y = 0, centred horizontally
    if (!text_.isEmpty())
        textBounds =
            QFontMetrics(loraItalic(textPixelSize))
                .boundingRect(QRect(sidePadding, 0, textWidth, INT_MAX / 2), textFlags, text_);
    if (!attribution_.isEmpty())
        attributionBounds = QFontMetrics(loraItalic(attributionPixelSize))
                                .boundingRect(QRect(0, 0, w, INT_MAX / 2), textFlags, attribution_);
    const int textHeight = textBounds.height(), attributionHeight = attributionBounds.height();
    const int gap = textHeight > 0 && attributionHeight > 0 ? stackSpacing : 0;
    const int top = (size.height() - (textHeight + gap + attributionHeight)) / 2;
    Layout l;
    if (textHeight > 0) {
        l.text = QRect(sidePadding, top, textWidth, textHeight);
        l.textInk = withOverhang(textBounds.translated(0, top), textPixelSize);
    }
    if (attributionHeight > 0) {
        l.attribution = QRect(0, top + textHeight + gap, w, attributionHeight);
        l.attributionInk = withOverhang(attributionBounds.translated(0, l.attribution.top()),
                                        attributionPixelSize);
    }
    layout_ = l;
}

void OverlayPainter::render(const QColor& colour, qreal ratio) {
    const auto image = [&](const QRect& ink, const QRect& box, const QFont& font, const QColor& pen,
                           const QString& text) {
        if (ink.isEmpty())
            return QImage();
        QImage out(ink.size() * ratio, QImage::Format_ARGB32_Premultiplied);
        out.setDevicePixelRatio(ratio);
        out.fill(Qt::transparent);
        QPainter painter(&out);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.translate(-ink.topLeft());
        painter.setFont(font);
        painter.setPen(pen);
        painter.drawText(box, textFlags, text);
        return out;
    };
    QColor faint = colour;
    faint.setAlphaF(float(colour.alphaF() * attributionAlpha));
    textImage_ = image(layout_.textInk, layout_.text, loraItalic(textPixelSize), colour, text_);
    attributionImage_ = image(layout_.attributionInk, layout_.attribution,
                              loraItalic(attributionPixelSize), faint, attribution_);
    renderedColour_ = colour;
    renderedRatio_ = ratio;
    cacheValid_ = true;
}

void OverlayPainter::paintText(QPainter& painter, const QRect& area,
                               const OverlayOpacities& opacities, const QColor& colour,
                               qreal ratio) {
    if (!cacheValid_ || colour != renderedColour_ || ratio != renderedRatio_)
        render(colour, ratio);
    const qreal before = painter.opacity();
    if (!textImage_.isNull() && opacities.text > 0 && area.intersects(layout_.textInk)) {
        painter.setOpacity(opacities.text);
        painter.drawImage(layout_.textInk.topLeft(), textImage_);
    }
    if (!attributionImage_.isNull() && opacities.attribution > 0 &&
        area.intersects(layout_.attributionInk)) {
        painter.setOpacity(opacities.attribution);
        painter.drawImage(layout_.attributionInk.topLeft(), attributionImage_);
    }
    painter.setOpacity(before);
}

} // namespace velmor
