#pragma once

#include <QColor>
#include <QPixmap>
#include <QRectF>
#include <QString>

class QPainter;

namespace velmor::ui {

// Named symbols ("house", "gear", "play.fill", ...) drawn in one colour, like template images.
// The desktop's icon theme supplies a symbol where it has a matching symbolic icon; our own
// small drawings stand in everywhere else. An unknown name draws nothing.
QPixmap symbolPixmap(const QString& name, const QColor& color, int points, qreal devicePixelRatio);

// Draws the symbol centred in `rect`, `points` high.
void paintSymbol(QPainter& painter, const QRectF& rect, const QString& name, const QColor& color,
                 int points);

// True when the name has a drawing of ours (every symbol the window uses).
bool hasSymbol(const QString& name);

} // namespace velmor::ui
