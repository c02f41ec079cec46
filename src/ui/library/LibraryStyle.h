#pragma once

#include "core/model/Catalogues.h"

#include <QColor>
#include <QFont>
#include <QString>

class QPainter;
class QRectF;
class QWidget;

namespace velmor {

// The look the library screens share: the two Lora faces, the four levels of text colour that
// follow the palette (light or dark), theme colours, and the few symbols the screens draw.
namespace libraryStyle {

QFont regular(int pixelSize);
QFont italic(int pixelSize);

enum class Level { primary, secondary, tertiary, quaternary };
QColor text(const QWidget* widget, Level level);
// The primary text colour at a given opacity: the faint fills behind hovered rows and fields.
QColor fill(const QWidget* widget, double opacity);
QColor color(const ThemeColor& c);

// Draws a named symbol ("heart.fill", "chevron.right", "leaf", "trash", ...) into `box`.
void paintSymbol(QPainter& painter, const QString& name, const QRectF& box, const QColor& color);

} // namespace libraryStyle
} // namespace velmor
