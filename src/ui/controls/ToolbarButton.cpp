#include "ui/controls/ToolbarButton.h"

#include "ui/controls/HoverFade.h"
#include "ui/controls/Style.h"
#include "ui/controls/Symbols.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>

namespace velmor::ui {

namespace {
constexpr int iconPoints = 10;
constexpr int spacing = 4;
constexpr int padX = 10;
constexpr int padY = 5;
} // namespace

ToolbarButton::ToolbarButton(const QString& label, const QString& icon,
                             std::function<void()> action, QWidget* parent)
    : QAbstractButton(parent), icon_(icon), action_(std::move(action)),
      hover_(new HoverFade(this, hoverFadeMs)) {
    setText(label);
    setAccessibleName(label);
    setFont(regularFont(12));
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::ArrowCursor);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(this, &QAbstractButton::clicked, this, [this] {
        if (action_)
            action_();
    });
}

bool ToolbarButton::isHovered() const {
    return hover_->isHovered();
}

QSize ToolbarButton::sizeHint() const {
    const QFontMetrics metrics(font());
    const int width = padX + iconPoints + spacing + metrics.horizontalAdvance(text()) + padX;
    const int height = padY + std::max(iconPoints, metrics.height()) + padY;
    return {width, height};
}

void ToolbarButton::keyPressEvent(QKeyEvent* event) {
    // Return presses it as Space does.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        animateClick();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

void ToolbarButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = QRectF(rect());
    const auto shape = continuousRoundedRect(area, 6);
    const double fill = 0.06 * hover_->value() + (isDown() ? 0.04 : 0.0);
    if (fill > 0)
        painter.fillPath(shape, primaryFill(this, fill));
    if (hasFocus()) {
        painter.setPen(QPen(accentMarkColor(this), 1.5));
        painter.drawPath(continuousRoundedRect(area.adjusted(0.75, 0.75, -0.75, -0.75), 6));
    }
    const QColor color = secondaryColor(this);
    const QRectF iconRect(padX, 0, iconPoints, height());
    paintSymbol(painter, iconRect, icon_, color, iconPoints);
    painter.setPen(color);
    painter.setFont(font());
    const QRectF textRect(padX + iconPoints + spacing, 0,
                          width() - padX - iconPoints - spacing - padX + 1, height());
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, text());
}

} // namespace velmor::ui
