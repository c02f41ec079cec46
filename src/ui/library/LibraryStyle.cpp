#include "ui/library/LibraryStyle.h"

#include "ui/controls/Style.h"

#include <QPainter>
#include <QPainterPath>
#include <QWidget>

namespace velmor::libraryStyle {

QFont regular(int pixelSize) {
    return ui::regularFont(pixelSize);
}

QFont italic(int pixelSize) {
    return ui::italicFont(pixelSize);
}

QColor text(const QWidget* widget, Level level) {
    switch (level) {
    case Level::primary:
        return ui::primaryColor(widget);
    case Level::secondary:
        return ui::secondaryColor(widget);
    case Level::tertiary:
        return ui::tertiaryColor(widget);
    case Level::quaternary:
        break;
    }
    return ui::quaternaryTextColor(widget);
}

QColor fill(const QWidget* widget, double opacity) {
    return ui::primaryFill(widget, opacity);
}

QColor color(const ThemeColor& c) {
    return ui::toQColor(c);
}

namespace {

QPainterPath heart(const QRectF& r) {
    const double x = r.x(), y = r.y(), w = r.width(), h = r.height();
    QPainterPath p;
    p.moveTo(x + w * 0.5, y + h * 0.92);
    p.cubicTo(x - w * 0.05, y + h * 0.52, x + w * 0.02, y + h * 0.02, x + w * 0.28, y + h * 0.06);
    p.cubicTo(x + w * 0.40, y + h * 0.08, x + w * 0.47, y + h * 0.18, x + w * 0.5, y + h * 0.26);
    p.cubicTo(x + w * 0.53, y + h * 0.18, x + w * 0.60, y + h * 0.08, x + w * 0.72, y + h * 0.06);
    p.cubicTo(x + w * 0.98, y + h * 0.02, x + w * 1.05, y + h * 0.52, x + w * 0.5, y + h * 0.92);
    p.closeSubpath();
    return p;
}

QPainterPath leaf(const QRectF& r) {
    QPainterPath p;
    p.moveTo(r.bottomLeft() + QPointF(r.width() * 0.1, -r.height() * 0.1));
    p.cubicTo(r.left(), r.top() + r.height() * 0.3, r.left() + r.width() * 0.5, r.top(), r.right(),
              r.top());
    p.cubicTo(r.right(), r.top() + r.height() * 0.5, r.left() + r.width() * 0.7, r.bottom(),
              r.left() + r.width() * 0.1, r.bottom() - r.height() * 0.1);
    p.closeSubpath();
    return p;
}

} // namespace

void paintSymbol(QPainter& painter, const QString& name, const QRectF& box, const QColor& c) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const double s = std::min(box.width(), box.height());
    const QRectF r(box.center().x() - s / 2, box.center().y() - s / 2, s, s);
    QPen pen(c, std::max(1.0, s / 9.0), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const auto pt = [&](double fx, double fy) {
        return QPointF(r.x() + r.width() * fx, r.y() + r.height() * fy);
    };
    if (name == QLatin1String("heart.fill") || name == QLatin1String("heart")) {
        if (name == QLatin1String("heart.fill")) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(c);
        }
        painter.drawPath(heart(r.adjusted(s * 0.05, s * 0.08, -s * 0.05, -s * 0.02)));
    } else if (name.startsWith(QLatin1String("chevron."))) {
        const QString dir = name.mid(8);
        QPolygonF line;
        if (dir == QLatin1String("left"))
            line << pt(0.65, 0.15) << pt(0.3, 0.5) << pt(0.65, 0.85);
        else if (dir == QLatin1String("right"))
            line << pt(0.35, 0.15) << pt(0.7, 0.5) << pt(0.35, 0.85);
        else if (dir == QLatin1String("up"))
            line << pt(0.15, 0.65) << pt(0.5, 0.3) << pt(0.85, 0.65);
        else
            line << pt(0.15, 0.35) << pt(0.5, 0.7) << pt(0.85, 0.35);
        painter.drawPolyline(line);
    } else if (name == QLatin1String("leaf") || name == QLatin1String("leaf.fill")) {
        if (name == QLatin1String("leaf.fill"))
            painter.setBrush(c);
        painter.drawPath(leaf(r.adjusted(s * 0.08, s * 0.08, -s * 0.08, -s * 0.08)));
    } else if (name == QLatin1String("pencil")) {
        painter.drawLine(pt(0.2, 0.8), pt(0.8, 0.2));
        painter.drawLine(pt(0.12, 0.88), pt(0.25, 0.85));
    } else if (name == QLatin1String("trash")) {
        painter.drawLine(pt(0.15, 0.25), pt(0.85, 0.25));
        painter.drawLine(pt(0.4, 0.12), pt(0.6, 0.12));
        painter.drawPolyline(QPolygonF()
                             << pt(0.25, 0.3) << pt(0.3, 0.9) << pt(0.7, 0.9) << pt(0.75, 0.3));
    } else if (name == QLatin1String("xmark.circle")) {
        painter.drawEllipse(r.adjusted(s * 0.08, s * 0.08, -s * 0.08, -s * 0.08));
        painter.drawLine(pt(0.35, 0.35), pt(0.65, 0.65));
        painter.drawLine(pt(0.65, 0.35), pt(0.35, 0.65));
    } else if (name.startsWith(QLatin1String("square.and.arrow."))) {
        const bool up = name.endsWith(QLatin1String("up"));
        painter.drawPolyline(QPolygonF() << pt(0.32, 0.45) << pt(0.18, 0.45) << pt(0.18, 0.92)
                                         << pt(0.82, 0.92) << pt(0.82, 0.45) << pt(0.68, 0.45));
        painter.drawLine(pt(0.5, 0.08), pt(0.5, 0.66));
        if (up)
            painter.drawPolyline(QPolygonF() << pt(0.34, 0.24) << pt(0.5, 0.08) << pt(0.66, 0.24));
        else
            painter.drawPolyline(QPolygonF() << pt(0.34, 0.5) << pt(0.5, 0.66) << pt(0.66, 0.5));
    }
    painter.restore();
}

} // namespace velmor::libraryStyle
