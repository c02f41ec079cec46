#include "ui/controls/Style.h"

#include "platform/desktop/Fonts.h"

#include <QPalette>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace velmor::ui {

namespace {

bool isDark(const QWidget* widget) {
    return widget->palette().color(QPalette::Window).lightnessF() < 0.5;
}

double linear(double channel) {
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

double luminance(const QColor& c) {
    return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
}

// `top` painted over the opaque `bottom`.
QColor over(const QColor& top, const QColor& bottom) {
    const double a = top.alphaF();
    return QColor::fromRgbF(float(top.redF() * a + bottom.redF() * (1 - a)),
                            float(top.greenF() * a + bottom.greenF() * (1 - a)),
                            float(top.blueF() * a + bottom.blueF() * (1 - a)));
}

double cardOpacity(const QWidget* widget) {
    return isDark(widget) ? 0.16 : 0.1;
}

// The surfaces text and controls stand on: the window, and the strongest card fill on it.
struct Surfaces {
    QColor window, card;
    bool reads(const QColor& c, double ratio) const {
        return contrastRatio(c, window) >= ratio && contrastRatio(c, card) >= ratio;
    }
};

constexpr const char* cardProperty = "velmorCardSurface";

bool onCard(const QWidget* widget) {
    for (const QWidget* w = widget; w && !w->isWindow(); w = w->parentWidget())
        if (w->property(cardProperty).toBool())
            return true;
    return false;
}

Surfaces surfaces(const QWidget* widget, bool anywhere = false) {
    const QColor window = over(widget->palette().color(QPalette::Window), Qt::black);
    if (!anywhere && !onCard(widget))
        return {window, window};
    return {window, over(withOpacity(primaryColor(widget), cardOpacity(widget)), window)};
}

// The primary colour at the design's opacity over the window, made stronger in steps of 1 %
// until it reads at `ratio`; opaque, so it reads the same on a card.
QColor tone(const QWidget* widget, double opacity, double ratio, bool anywhere = false) {
    const Surfaces under = surfaces(widget, anywhere);
    const QColor primary = primaryColor(widget);
    for (double a = opacity; a < 1.0; a += 0.01) {
        const QColor c = over(withOpacity(primary, a), under.window);
        if (under.reads(c, ratio))
            return c;
    }
    return over(primary, under.window);
}

// The accent, darker on a light window and lighter on a dark one, until it reads at `ratio`.
QColor readableAccent(const QWidget* widget, double ratio) {
    const Surfaces under = surfaces(widget);
    QColor c = over(accentColor(widget), under.window);
    const double step = isDark(widget) ? 0.01 : -0.01;
    for (int i = 0; i < 100 && !under.reads(c, ratio); ++i) {
        const float lightness = std::clamp(float(c.lightnessF() + step), 0.0f, 1.0f);
        c = QColor::fromHslF(c.hslHueF(), c.hslSaturationF(), lightness);
    }
    return c;
}

constexpr double textRatio = 4.5;
constexpr double outlineRatio = 3.0;
// A hair above the line, so anti-aliased edges and rounding in the blend stay above it too.
constexpr double margin = 0.1;

} // namespace

void markAsCardSurface(QWidget* widget) {
    widget->setProperty(cardProperty, true);
}

double contrastRatio(const QColor& a, const QColor& b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor withOpacity(QColor color, double opacity) {
    color.setAlphaF(float(std::clamp(color.alphaF() * opacity, 0.0, 1.0)));
    return color;
}

QColor toQColor(const ThemeColor& color) {
    return QColor::fromRgbF(float(color.red), float(color.green), float(color.blue),
                            float(color.alpha));
}

QColor primaryColor(const QWidget* widget) {
    return widget->palette().color(QPalette::WindowText);
}

QColor secondaryColor(const QWidget* widget) {
    // Half a step above tertiary, so the two still read as two levels.
    return tone(widget, isDark(widget) ? 0.6 : 0.55, textRatio + 1.0);
}

QColor tertiaryColor(const QWidget* widget) {
    return tone(widget, isDark(widget) ? 0.4 : 0.38, textRatio + margin);
}

QColor quaternaryColor(const QWidget* widget) {
    return withOpacity(primaryColor(widget), cardOpacity(widget));
}

QColor quaternaryTextColor(const QWidget* widget) {
    return tertiaryColor(widget);
}

QColor separatorColor(const QWidget* widget) {
    return withOpacity(primaryColor(widget), isDark(widget) ? 0.18 : 0.12);
}

QColor outlineColor(const QWidget* widget) {
    // Worked out for a card under it wherever it stands: one edge colour for every control.
    return tone(widget, isDark(widget) ? 0.3 : 0.25, outlineRatio + margin, true);
}

QColor accentColor(const QWidget* widget) {
    return widget->palette().color(QPalette::Highlight);
}

QColor accentTextColor(const QWidget* widget) {
    return readableAccent(widget, textRatio + margin);
}

QColor accentMarkColor(const QWidget* widget) {
    return readableAccent(widget, outlineRatio + margin);
}

QColor onAccentColor(const QWidget* widget) {
    const QColor mark = accentMarkColor(widget);
    const QColor dark(0x1d, 0x1d, 0x1f);
    return contrastRatio(mark, Qt::white) >= contrastRatio(mark, dark) ? QColor(Qt::white) : dark;
}

QColor mutedColor(const QWidget* widget) {
    return widget->palette().color(QPalette::LinkVisited);
}

void setMutedColor(QPalette& palette, const QColor& color) {
    palette.setColor(QPalette::LinkVisited, color);
}

QColor primaryFill(const QWidget* widget, double opacity) {
    return withOpacity(primaryColor(widget), opacity);
}

QFont regularFont(int points) {
    return loraRegular(points);
}

QFont italicFont(int points) {
    return loraItalic(points);
}

QPainterPath continuousRoundedRect(const QRectF& rect, double radius) {
    QPainterPath path;
    const double r = std::min({radius, rect.width() / 2, rect.height() / 2});
    if (r <= 0) {
        path.addRect(rect);
        return path;
    }
    // The curve starts 1.28 r from each corner and bends more gently than a circular arc,
    // which is what makes the corner read as continuous.
    const double e = std::min({r * 1.28, rect.width() / 2, rect.height() / 2});
    const double c = e * 0.45; // control point inset from the corner
    const double l = rect.left(), t = rect.top(), rr = rect.right(), b = rect.bottom();
    path.moveTo(l + e, t);
    path.lineTo(rr - e, t);
    path.cubicTo(rr - c, t, rr, t + c, rr, t + e);
    path.lineTo(rr, b - e);
    path.cubicTo(rr, b - c, rr - c, b, rr - e, b);
    path.lineTo(l + e, b);
    path.cubicTo(l + c, b, l, b - c, l, b - e);
    path.lineTo(l, t + e);
    path.cubicTo(l, t + c, l + c, t, l + e, t);
    path.closeSubpath();
    return path;
}

} // namespace velmor::ui
