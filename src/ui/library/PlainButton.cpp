#include "ui/library/PlainButton.h"

#include <QFocusEvent>
#include <QPainter>
#include <QPainterPath>

namespace velmor {

PlainButton::PlainButton(const QString& symbol, const QString& text, QWidget* parent)
    : QAbstractButton(parent), symbol_(symbol) {
    setText(text);
    setAccessibleName(text);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_Hover);
}

void PlainButton::setLook(const Look& look) {
    look_ = look;
    updateGeometry();
    update();
}

void PlainButton::setSymbol(const QString& symbol) {
    symbol_ = symbol;
    updateGeometry();
    update();
}

void PlainButton::setColorFunction(std::function<QColor()> color) {
    color_ = std::move(color);
    update();
}

void PlainButton::setSymbolColorFunction(std::function<QColor()> color) {
    symbolColor_ = std::move(color);
    update();
}

QSize PlainButton::sizeHint() const {
    const QFontMetrics metrics(look_.font);
    int width = metrics.horizontalAdvance(text());
    if (!symbol_.isEmpty())
        width += look_.symbolSize + (text().isEmpty() ? 0 : look_.spacing);
    const int height = std::max(metrics.height(), look_.symbolSize);
    return QSize(width, height).grownBy(look_.padding);
}

void PlainButton::setOpacity(double opacity) {
    if (opacity_ == opacity)
        return;
    opacity_ = opacity;
    update();
}

void PlainButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setOpacity(opacity_);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    if (look_.hoverFill > 0 && underMouse()) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(libraryStyle::fill(this, look_.hoverFill));
        painter.drawRoundedRect(box, look_.radius, look_.radius);
    }
    if (hasFocus() && keyboardFocus_) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1.2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(box, look_.radius, look_.radius);
    }
    const QColor color =
        color_ ? color_() : libraryStyle::text(this, libraryStyle::Level::secondary);
    const QRect inner = rect().marginsRemoved(look_.padding);
    painter.setFont(look_.font);
    const int textWidth = QFontMetrics(look_.font).horizontalAdvance(text());
    int x = inner.x();
    const auto drawSymbol = [&] {
        const QRectF symbolBox(x, inner.center().y() - look_.symbolSize / 2.0 + 0.5,
                               look_.symbolSize, look_.symbolSize);
        libraryStyle::paintSymbol(painter, symbol_, symbolBox,
                                  symbolColor_ ? symbolColor_() : color);
        x += look_.symbolSize + look_.spacing;
    };
    if (!symbol_.isEmpty() && !look_.symbolAfter)
        drawSymbol();
    painter.setPen(color);
    painter.drawText(QRect(x, inner.y(), textWidth + 1, inner.height()),
                     Qt::AlignVCenter | Qt::AlignLeft, text());
    x += textWidth + look_.spacing;
    if (!symbol_.isEmpty() && look_.symbolAfter)
        drawSymbol();
}

void PlainButton::enterEvent(QEnterEvent* event) {
    update();
    QAbstractButton::enterEvent(event);
}

void PlainButton::leaveEvent(QEvent* event) {
    update();
    QAbstractButton::leaveEvent(event);
}

} // namespace velmor

namespace velmor {

bool cameByKeyboard(Qt::FocusReason reason) {
    return reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
           reason == Qt::ShortcutFocusReason;
}

void PlainButton::focusInEvent(QFocusEvent* event) {
    keyboardFocus_ = cameByKeyboard(event->reason());
    QAbstractButton::focusInEvent(event);
}

void PlainButton::focusOutEvent(QFocusEvent* event) {
    keyboardFocus_ = false;
    QAbstractButton::focusOutEvent(event);
}

} // namespace velmor
