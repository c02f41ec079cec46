#include "ui/controls/WindowStyle.h"

#include "ui/controls/Style.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOption>

namespace velmor::ui {

namespace {

constexpr int scrollBarWidth = 10;
constexpr int scrollHandleMinimum = 24;

void chevronDown(QPainter* painter, const QRectF& box, const QColor& color) {
    const QPointF c = box.center();
    painter->setPen(QPen(color, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter->setBrush(Qt::NoBrush);
    painter->drawPolyline(
        QPolygonF{c + QPointF(-3.5, -1.5), c + QPointF(0, 2), c + QPointF(3.5, -1.5)});
}

// The handle's place on a scroll bar's track, without arrow buttons.
QRect scrollHandle(const QStyleOptionSlider* bar) {
    const bool vertical = bar->orientation == Qt::Vertical;
    const int length = vertical ? bar->rect.height() : bar->rect.width();
    const int range = bar->maximum - bar->minimum;
    int handle =
        range <= 0 ? length : int(qint64(length) * bar->pageStep / (range + bar->pageStep));
    handle = std::clamp(handle, std::min(scrollHandleMinimum, length), length);
    const int at = QStyle::sliderPositionFromValue(bar->minimum, bar->maximum, bar->sliderPosition,
                                                   length - handle, bar->upsideDown);
    return vertical ? QRect(bar->rect.x(), bar->rect.y() + at, bar->rect.width(), handle)
                    : QRect(bar->rect.x() + at, bar->rect.y(), handle, bar->rect.height());
}

} // namespace

WindowStyle::WindowStyle() : QProxyStyle() {}

void WindowStyle::install() {
    if (!qobject_cast<WindowStyle*>(QApplication::style()))
        QApplication::setStyle(new WindowStyle);
}

void WindowStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                QPainter* painter, const QWidget* widget) const {
    if (element != PE_IndicatorCheckBox || !widget) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    if (!(option->state & State_Enabled))
        painter->setOpacity(0.5);
    const QRectF box = QRectF(option->rect).adjusted(0.5, 0.5, -0.5, -0.5);
    const QPainterPath shape = continuousRoundedRect(box, 4);
    const bool ticked = option->state & (State_On | State_NoChange);
    if (ticked) {
        painter->fillPath(shape, accentMarkColor(widget));
        painter->setPen(
            QPen(onAccentColor(widget), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        const QRectF r = box.adjusted(3, 3, -3, -3);
        if (option->state & State_On)
            painter->drawPolyline(QPolygonF{QPointF(r.left(), r.center().y()),
                                            QPointF(r.left() + r.width() * 0.38, r.bottom() - 0.5),
                                            QPointF(r.right(), r.top() + 0.5)});
        else
            painter->drawLine(QPointF(r.left(), r.center().y()),
                              QPointF(r.right(), r.center().y()));
    } else {
        painter->fillPath(shape, widget->palette().color(QPalette::Base));
        painter->setPen(QPen(outlineColor(widget), 1));
        painter->drawPath(shape);
    }
    painter->restore();
}

void WindowStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                     QPainter* painter, const QWidget* widget) const {
    if (!widget) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    const bool focused = option->state & State_HasFocus;
    switch (control) {
    case CC_ComboBox: {
        const QRectF box = QRectF(option->rect).adjusted(0.5, 0.5, -0.5, -0.5);
        const QPainterPath shape = continuousRoundedRect(box, 6);
        painter->fillPath(shape, widget->palette().color(QPalette::Base));
        painter->setPen(focused ? QPen(accentMarkColor(widget), 1.5)
                                : QPen(outlineColor(widget), 1));
        painter->drawPath(shape);
        chevronDown(painter, subControlRect(CC_ComboBox, option, SC_ComboBoxArrow, widget),
                    secondaryColor(widget));
        break;
    }
    case CC_Slider: {
        const auto* slider = qstyleoption_cast<const QStyleOptionSlider*>(option);
        if (!slider || slider->orientation != Qt::Horizontal) {
            painter->restore();
            QProxyStyle::drawComplexControl(control, option, painter, widget);
            return;
        }
        const QRect handle = subControlRect(CC_Slider, option, SC_SliderHandle, widget);
        const QRectF groove = subControlRect(CC_Slider, option, SC_SliderGroove, widget);
        const QRectF track(groove.left() + 2, groove.center().y() - 2, groove.width() - 4, 4);
        painter->setPen(Qt::NoPen);
        painter->setBrush(outlineColor(widget));
        painter->drawRoundedRect(track, 2, 2);
        painter->setBrush(accentMarkColor(widget));
        painter->drawRoundedRect(
            QRectF(track.left(), track.top(), handle.center().x() - track.left(), track.height()),
            2, 2);
        const double d = std::min(handle.width(), handle.height()) - 2.0;
        const QRectF knob(handle.center().x() - d / 2 + 0.5, handle.center().y() - d / 2 + 0.5, d,
                          d);
        painter->setBrush(widget->palette().color(QPalette::Base));
        painter->setPen(focused ? QPen(accentMarkColor(widget), 1.5)
                                : QPen(outlineColor(widget), 1));
        painter->drawEllipse(knob);
        break;
    }
    case CC_ScrollBar: {
        const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option);
        if (!bar || bar->maximum <= bar->minimum)
            break;
        // A thin rounded handle on a clear track: quiet, yet it reads at 3:1 where it lies.
        const bool vertical = bar->orientation == Qt::Vertical;
        const QRectF handle = QRectF(scrollHandle(bar))
                                  .adjusted(vertical ? 2 : 1, vertical ? 1 : 2, vertical ? -2 : -1,
                                            vertical ? -1 : -2);
        const bool active = bar->state & (State_Sunken | State_MouseOver);
        painter->setPen(Qt::NoPen);
        painter->setBrush(active ? secondaryColor(widget) : outlineColor(widget));
        const double r = std::min(handle.width(), handle.height()) / 2;
        painter->drawRoundedRect(handle, r, r);
        break;
    }
    default:
        painter->restore();
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    painter->restore();
}

QRect WindowStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                                  SubControl sub, const QWidget* widget) const {
    if (control == CC_ScrollBar)
        if (const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option)) {
            const QRect handle = scrollHandle(bar);
            const bool vertical = bar->orientation == Qt::Vertical;
            switch (sub) {
            case SC_ScrollBarAddLine:
            case SC_ScrollBarSubLine:
                return {};
            case SC_ScrollBarGroove:
                return bar->rect;
            case SC_ScrollBarSlider:
                return handle;
            case SC_ScrollBarSubPage:
                return vertical
                           ? QRect(bar->rect.topLeft(), QPoint(bar->rect.right(), handle.top() - 1))
                           : QRect(bar->rect.topLeft(),
                                   QPoint(handle.left() - 1, bar->rect.bottom()));
            case SC_ScrollBarAddPage:
                return vertical ? QRect(QPoint(bar->rect.left(), handle.bottom() + 1),
                                        bar->rect.bottomRight())
                                : QRect(QPoint(handle.right() + 1, bar->rect.top()),
                                        bar->rect.bottomRight());
            default:
                break;
            }
        }
    return QProxyStyle::subControlRect(control, option, sub, widget);
}

int WindowStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                             const QWidget* widget) const {
    switch (metric) {
    case PM_ScrollBarExtent:
        return scrollBarWidth;
    case PM_ScrollBarSliderMin:
        return scrollHandleMinimum;
    case PM_IndicatorWidth:
    case PM_IndicatorHeight:
        return 16;
    default:
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

int WindowStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                           QStyleHintReturn* returnData) const {
    // A click on the track moves the handle there, as on the desktops' own thin bars.
    if (hint == SH_ScrollBar_LeftClickAbsolutePosition)
        return 1;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

} // namespace velmor::ui
