#pragma once

#include <QFont>
#include <QRectF>
#include <QString>

class QPainter;

namespace velmor::ui {

// Text whose digits all take the same advance, that of the font's widest digit, so a figure that
// changes (a percentage, a count, an interval) keeps its place and width. Qt cannot switch a
// font's tabular figures on, so each digit is drawn centred in a cell of that width; everything
// else keeps its own advance.
double tabularDigitWidth(const QFont& font);
double tabularAdvance(const QFont& font, const QString& text);
// One line in the painter's font and pen, placed in `rect` by `alignment`.
void drawTabularText(QPainter& painter, const QRectF& rect, Qt::Alignment alignment,
                     const QString& text);

} // namespace velmor::ui
