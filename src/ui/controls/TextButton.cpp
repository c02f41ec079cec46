#include "ui/controls/TextButton.h"

#include "ui/controls/Style.h"

#include <QKeyEvent>
#include <QPainter>

namespace velmor::ui {

TextButton::TextButton(const QString& text, const QFont& font, TextBlock::Tone tone,
                       QWidget* parent)
    : QAbstractButton(parent), tone_(tone) {
    setText(text);
    setAccessibleName(text);
    setFont(font);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    padX_ = 2;
    padY_ = 1;
}

void TextButton::setPill(int radius, int padX, int padY) {
    pill_ = true;
    markAsCardSurface(this);
    radius_ = radius;
    padX_ = padX;
    padY_ = padY;
    updateGeometry();
}

QSize TextButton::sizeHint() const {
    const QFontMetrics metrics(font());
    return {metrics.horizontalAdvance(text()) + 2 * padX_ + 1, metrics.height() + 2 * padY_};
}

void TextButton::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        click();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

void TextButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = QRectF(rect());
    if (pill_)
        painter.fillPath(continuousRoundedRect(area, radius_), quaternaryColor(this));
    if (hasFocus()) {
        painter.setPen(QPen(accentMarkColor(this), 1.2));
        painter.drawPath(
            continuousRoundedRect(area.adjusted(0.6, 0.6, -0.6, -0.6), std::max(radius_, 3)));
    }
    QColor color;
    switch (tone_) {
    case TextBlock::Tone::primary:
        color = primaryColor(this);
        break;
    case TextBlock::Tone::secondary:
        color = secondaryColor(this);
        break;
    case TextBlock::Tone::tertiary:
        color = tertiaryColor(this);
        break;
    case TextBlock::Tone::quaternary:
        color = quaternaryTextColor(this);
        break;
    case TextBlock::Tone::accent:
        color = accentTextColor(this);
        break;
    }
    if (isDown())
        color = withOpacity(color, 0.6);
    painter.setPen(color);
    painter.setFont(font());
    painter.drawText(area, Qt::AlignCenter, text());
}

} // namespace velmor::ui
