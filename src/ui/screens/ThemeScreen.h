#pragma once

#include "core/model/Catalogues.h"
#include "ui/controls/SelectableItem.h"

#include <QVariantAnimation>
#include <QWidget>

#include <map>

namespace velmor {

class AppState;
class Commands;

// A tile that stands for one choice of a card grid: its border and glow follow the selection,
// eased over 0.15 s. Subclasses paint what is inside.
class ChoiceTile : public ui::SelectableItem {
    Q_OBJECT
public:
    ChoiceTile(int height, double glowOpacity, QWidget* parent);

    // The room around the drawn tile that its glow takes.
    static constexpr int glowMargin = 4;

protected:
    // Glow, clip and border around `paintInside`; the shape is inset by the glow margin.
    void paintEvent(QPaintEvent* event) override;
    virtual void paintInside(QPainter& painter, const QRectF& shape) = 0;
    double selection() const { return selection_; }

private:
    QVariantAnimation animation_;
    double selection_ = 0;
    double glowOpacity_;
};

// The overlay in miniature: the theme's colour with "Be here." in its text colour.
class ThemeTile final : public ChoiceTile {
    Q_OBJECT
public:
    ThemeTile(VelmorTheme theme, QWidget* parent);
    VelmorTheme theme() const { return theme_; }

protected:
    void paintInside(QPainter& painter, const QRectF& shape) override;

private:
    VelmorTheme theme_;
};

// One card per theme; a click on the preview selects it, "Preview" selects it and shows an
// overlay at once.
class ThemeScreen final : public QWidget {
    Q_OBJECT
public:
    ThemeScreen(AppState& state, Commands& commands, QWidget* parent = nullptr);
    ThemeTile* tile(VelmorTheme theme) const { return tiles_.at(theme); }

private:
    std::map<VelmorTheme, ThemeTile*> tiles_;
};

} // namespace velmor
