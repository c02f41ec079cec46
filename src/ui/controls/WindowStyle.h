#pragma once

#include <QProxyStyle>

namespace velmor::ui {

// The desktop's style with the few standard controls the window uses drawn in the window's own
// look: checkboxes (an outline that reads at 3:1, the tick on the theme's accent), pop-up menus,
// the volume slider and thin scroll bars without arrow buttons. Everything else is the desktop's.
class WindowStyle final : public QProxyStyle {
    Q_OBJECT
public:
    WindowStyle();

    // Makes it the application's style, once.
    static void install();

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget) const override;
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                         const QWidget* widget) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override;
};

} // namespace velmor::ui
