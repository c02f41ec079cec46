#include "ui/screens/ThemeScreen.h"

#include "core/screens/ThemeRules.h"
#include "core/settings/AppState.h"
#include "ui/controls/TextButton.h"
#include "ui/screens/ScreenLayout.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPainter>

namespace velmor {

using namespace ui;
using Tone = TextBlock::Tone;

ChoiceTile::ChoiceTile(int height, double glowOpacity, QWidget* parent)
    : SelectableItem(QAccessible::Button, parent), glowOpacity_(glowOpacity) {
    setFixedHeight(height + 2 * glowMargin);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    animation_.setDuration(hoverFadeMs);
    animation_.setEasingCurve(QEasingCurve::InOutQuad);
    connect(&animation_, &QVariantAnimation::valueChanged, this, [this](const QVariant& v) {
        selection_ = v.toDouble();
        update();
    });
    connect(this, &SelectableItem::selectedItemChanged, this, [this](bool selected) {
        animation_.stop();
        animation_.setStartValue(selection_);
        animation_.setEndValue(selected ? 1.0 : 0.0);
        animation_.start();
    });
}

void ChoiceTile::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF shape = QRectF(rect()).adjusted(glowMargin, glowMargin, -glowMargin, -glowMargin);
    // The selection is told by the accent's border, strong enough to read on the window.
    const QColor accent = accentMarkColor(this);
    // A soft glow in the accent around the selected tile.
    if (selection_ > 0)
        for (int ring = glowMargin; ring >= 1; --ring) {
            const double fade = 1.0 - double(ring) / (glowMargin + 1);
            painter.setPen(QPen(withOpacity(accent, glowOpacity_ * fade * selection_ * 0.6), 1));
            painter.drawPath(
                continuousRoundedRect(shape.adjusted(-ring, -ring, ring, ring), 8 + ring));
        }
    painter.save();
    painter.setClipPath(continuousRoundedRect(shape, 8));
    paintInside(painter, shape);
    painter.restore();
    // Border inside the shape: 1 point separator, or 2 points of accent when selected.
    const double width = 1.0 + selection_;
    const QColor border =
        selection_ >= 0.5 ? withOpacity(accent, selection_) : separatorColor(this);
    painter.setPen(QPen(border, width));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(continuousRoundedRect(
        shape.adjusted(width / 2, width / 2, -width / 2, -width / 2), 8 - width / 2));
    if (hasFocus()) {
        painter.setPen(QPen(withOpacity(accent, 0.8), 1, Qt::DashLine));
        painter.drawPath(continuousRoundedRect(shape.adjusted(3, 3, -3, -3), 6));
    }
}

ThemeTile::ThemeTile(VelmorTheme theme, QWidget* parent)
    : ChoiceTile(80, 0.2, parent), theme_(theme) {
    setAccessibleName(ThemeRules::accessibleLabel(theme));
    setAccessibleDescription(ThemeRules::accessibleHint());
}

void ThemeTile::paintInside(QPainter& painter, const QRectF& shape) {
    const ThemeInfo& info = themeInfo(theme_);
    painter.fillRect(shape, toQColor(info.overlayColor));
    painter.setPen(toQColor(info.textColor));
    painter.setFont(italicFont(14));
    painter.drawText(shape, Qt::AlignCenter, tr("Be here."));
}

ThemeScreen::ThemeScreen(AppState& state, Commands& commands, QWidget* parent) : QWidget(parent) {
    // The tiles carry a margin for their glow, so the column stands that much nearer the edges
    // and the caption steps back in: the tiles themselves line up with the caption.
    const int glow = ChoiceTile::glowMargin;
    auto* column = screenColumn(this, 16 - glow);
    column->setContentsMargins(24 - glow, 24 - glow, 24 - glow, 24);
    auto* captionRow = block(column, 0);
    captionRow->setContentsMargins(glow, glow, glow, 0);
    captionRow->addWidget(caption(tr("Overlay Theme"), this));
    auto* grid = new QGridLayout;
    // The grid's gaps and the glow margins make 12 points between tiles and rows.
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(12 - 2 * glow);
    grid->setVerticalSpacing(12 - glow);
    column->addLayout(grid);

    int index = 0;
    for (VelmorTheme theme : allThemes) {
        const ThemeInfo& info = themeInfo(theme);
        auto* card = new QWidget(this);
        auto* cardColumn = new QVBoxLayout(card);
        cardColumn->setContentsMargins(0, 0, 0, 0);
        cardColumn->setSpacing(6 - 4);
        auto* tile = new ThemeTile(theme, card);
        tiles_[theme] = tile;
        cardColumn->addWidget(tile);
        auto* row = new QHBoxLayout;
        row->setContentsMargins(4, 0, 4, 0);
        auto* names = new QVBoxLayout;
        names->setSpacing(2);
        names->addWidget(new TextBlock(info.displayName, regularFont(12), Tone::primary, card));
        names->addWidget(new TextBlock(info.description, regularFont(10), Tone::secondary, card));
        row->addLayout(names, 1);
        auto* preview = new TextButton(tr("Preview"), regularFont(10), Tone::secondary, card);
        preview->setPill(4, 8, 3);
        preview->setAccessibleName(tr("Preview %1").arg(info.displayName));
        row->addWidget(preview, 0, Qt::AlignVCenter);
        cardColumn->addLayout(row);
        grid->addWidget(card, index / 2, index % 2);
        ++index;

        connect(tile, &QAbstractButton::clicked, this,
                [&state, theme] { ThemeRules::select(state, theme); });
        connect(preview, &QAbstractButton::clicked, this,
                [&state, &commands, theme] { ThemeRules::preview(state, commands, theme); });
    }
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);

    const auto follow = [this, &state] {
        for (auto& [theme, tile] : tiles_)
            tile->setSelectedItem(theme == state.theme());
    };
    follow();
    connect(&state, &AppState::themeChanged, this, follow);
}

} // namespace velmor
