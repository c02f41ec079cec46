#pragma once

#include "core/model/Catalogues.h"

#include <QColor>
#include <QFont>
#include <QPainterPath>
#include <QPalette>
#include <QRectF>

class QWidget;

namespace velmor::ui {

// The window's shared look. Text colours form a hierarchy over the palette's text colour, so
// they follow light and dark appearance; the theme's accent is the palette's highlight.
QColor primaryColor(const QWidget* widget);
QColor secondaryColor(const QWidget* widget);
QColor tertiaryColor(const QWidget* widget);
QColor quaternaryColor(const QWidget* widget);
QColor separatorColor(const QWidget* widget);
QColor accentColor(const QWidget* widget);
// The theme's muted colour, which the window keeps in its palette beside the accent so that it
// fades with the theme like every other colour.
QColor mutedColor(const QWidget* widget);
void setMutedColor(QPalette& palette, const QColor& color);
// The primary colour at a fraction of its opacity: the faint fills of hover and selection.
QColor primaryFill(const QWidget* widget, double opacity);

QColor withOpacity(QColor color, double opacity);
QColor toQColor(const ThemeColor& color);

// "Lora-Regular" and "Lora-Italic" at a size in points (device-independent pixels).
QFont regularFont(int points);
QFont italicFont(int points);

// A rounded rectangle with continuous corners (a squircle-like curve rather than circular
// arcs), as every card, row and button of the window draws it.
QPainterPath continuousRoundedRect(const QRectF& rect, double radius);

// Hover fades run 0.15 s, cross-fades 0.2 s, theme changes 0.3 s (all ease-in-out).
inline constexpr int hoverFadeMs = 150;
inline constexpr int crossFadeMs = 200;
inline constexpr int themeFadeMs = 300;

} // namespace velmor::ui
