#include "ui/controls/Style.h"

#include "platform/desktop/Fonts.h"

#include <QPalette>
#include <QWidget>

#include <algorithm>

namespace velmor::ui {

namespace {

bool isDark(const QWidget* widget) {
    return widget->palette().color(QPalette::Window).lightnessF() < 0.5;
}

} // namespace

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
    return withOpacity(primaryColor(widget), isDark(widget) ? 0.6 : 0.55);
}

QColor tertiaryColor(const QWidget* widget) {
    return withOpacity(primaryColor(widget), isDark(widget) ? 0.4 : 0.38);
}

QColor quaternaryColor(const QWidget* widget) {
    return withOpacity(primaryColor(widget), isDark(widget) ? 0.16 : 0.1);
}

QColor separatorColor(const QWidget* widget) {
    return withOpacity(primaryColor(widget), isDark(widget) ? 0.18 : 0.12);
}

QColor accentColor(const QWidget* widget) {
    return widget->palette().color(QPalette::Highlight);
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
