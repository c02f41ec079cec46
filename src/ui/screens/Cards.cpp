#include "ui/screens/Cards.h"

#include "ui/controls/Style.h"

#include <QPainter>
#include <QVBoxLayout>

namespace velmor::ui {

Card::Card(QWidget* parent) : QWidget(parent) {
    markAsCardSurface(this);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Minimum);
}

void Card::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(continuousRoundedRect(QRectF(rect()), 8), quaternaryColor(this));
}

OutlinedCard::OutlinedCard(QWidget* parent) : QWidget(parent) {
    markAsCardSurface(this);
}

void OutlinedCard::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(continuousRoundedRect(QRectF(rect()), 8), primaryFill(this, 0.03));
    painter.setPen(QPen(withOpacity(separatorColor(this), 0.5), 1));
    painter.drawPath(continuousRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 8));
}

Divider::Divider(int inset, QWidget* parent) : QWidget(parent), inset_(inset) {
    setFixedHeight(1);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void Divider::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(QRect(inset_, 0, width() - 2 * inset_, 1), separatorColor(this));
}

} // namespace velmor::ui
