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
// they follow light and dark appearance; the theme's accent is the palette's highlight. The
// palette's window colour is the one the user sees, the theme's wash included.
//
// Secondary and tertiary text are as faint as the design draws them, but never below 4.5:1
// against the window or a card on it (WCAG AA), whatever the appearance and the theme's wash.
QColor primaryColor(const QWidget* widget);
QColor secondaryColor(const QWidget* widget);
QColor tertiaryColor(const QWidget* widget);
// The faintest fill (cards, pills); quaternaryTextColor() is its counterpart for text.
QColor quaternaryColor(const QWidget* widget);
QColor quaternaryTextColor(const QWidget* widget);
// Hairlines that only divide (dividers, card edges).
QColor separatorColor(const QWidget* widget);
// The edge that shows where a control is (a checkbox, a menu, the recorder, a picker, the
// slider's track): at least 3:1 against the window and its cards.
QColor outlineColor(const QWidget* widget);
QColor accentColor(const QWidget* widget);
// The theme's accent where it is text (4.5:1) or marks a state, a tick or a focus ring (3:1):
// darkened on light windows, lightened on dark ones, only as far as that takes.
QColor accentTextColor(const QWidget* widget);
QColor accentMarkColor(const QWidget* widget);
// What sits on a fill of the accent mark (a tick): white or near black, whichever reads.
QColor onAccentColor(const QWidget* widget);
// Text inside `widget` stands on a fill (a card, a pill, hovered rows): its tones are made to
// read on that fill too, not only on the window.
void markAsCardSurface(QWidget* widget);
// WCAG 2.1 contrast ratio of two opaque colours, 1 to 21.
double contrastRatio(const QColor& a, const QColor& b);
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
