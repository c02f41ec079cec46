#include "ui/window/SidebarView.h"

#include "core/model/Commands.h"
#include "core/settings/AppState.h"
#include "ui/controls/HoverFade.h"
#include "ui/controls/Style.h"
#include "ui/controls/Symbols.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace velmor {

using namespace ui;

namespace {
constexpr int rowIconPoints = 14;
constexpr int rowIconGap = 7;
} // namespace

SidebarRow::SidebarRow(SidebarSection section, QWidget* parent)
    : SelectableItem(QAccessible::PageTab, parent), section_(section),
      hover_(new HoverFade(this, hoverFadeMs)) {
    setText(title(section));
    setAccessibleName(title(section));
    setFont(regularFont(13));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

bool SidebarRow::isHovered() const {
    return hover_->isHovered();
}

QSize SidebarRow::sizeHint() const {
    const QFontMetrics metrics(font());
    return {10 + rowIconPoints + rowIconGap + metrics.horizontalAdvance(text()) + 10,
            7 + std::max(metrics.height(), rowIconPoints) + 7};
}

void SidebarRow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = QRectF(rect());
    const auto shape = continuousRoundedRect(area, 6);
    if (isSelectedItem())
        painter.fillPath(shape, withOpacity(accentColor(this), 0.18));
    else if (hover_->value() > 0)
        painter.fillPath(shape, primaryFill(this, 0.05 * hover_->value()));
    if (hasFocus()) {
        painter.setPen(QPen(accentMarkColor(this), 1.5));
        painter.drawPath(continuousRoundedRect(area.adjusted(0.75, 0.75, -0.75, -0.75), 6));
    }
    const QColor color = isSelectedItem() ? primaryColor(this) : secondaryColor(this);
    paintSymbol(painter, QRectF(10, 0, rowIconPoints, height()), iconName(section_), color,
                rowIconPoints);
    painter.setPen(color);
    painter.setFont(font());
    const int textLeft = 10 + rowIconPoints + rowIconGap;
    painter.drawText(QRectF(textLeft, 0, width() - textLeft - 10, height()),
                     Qt::AlignLeft | Qt::AlignVCenter, text());
}

SessionStatusWidget::SessionStatusWidget(AppState& state, Commands& commands, QWidget* parent)
    : QAbstractButton(parent), state_(state), commands_(commands),
      hover_(new HoverFade(this, hoverFadeMs)) {
    setFont(regularFont(12));
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(&state, &AppState::stateChanged, this, &SessionStatusWidget::refresh);
    connect(this, &QAbstractButton::clicked, this,
            [this] { commands_.send(SessionStatus::commandOnClick(state_.state())); });
    refresh();
}

bool SessionStatusWidget::isHovered() const {
    return hover_->isHovered();
}

void SessionStatusWidget::refresh() {
    setText(SessionStatus::text(state_.state()));
    setAccessibleName(SessionStatus::accessibleLabel(state_.state()));
    update();
}

QSize SessionStatusWidget::sizeHint() const {
    const QFontMetrics metrics(font());
    return {10 + 10 + 6 + metrics.horizontalAdvance(text()) + 10, 10 + metrics.height() + 10};
}

void SessionStatusWidget::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        click();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

void SessionStatusWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = QRectF(rect());
    painter.fillPath(continuousRoundedRect(area, 8),
                     primaryFill(this, 0.03 + 0.03 * hover_->value()));
    if (hasFocus()) {
        painter.setPen(QPen(accentMarkColor(this), 1.5));
        painter.drawPath(continuousRoundedRect(area.adjusted(0.75, 0.75, -0.75, -0.75), 8));
    }
    // The theme's colours come through the palette, so they fade when the theme changes.
    const VelmorState state = state_.state();
    const QColor symbolColor =
        SessionStatus::isPaused(state) ? mutedColor(this) : accentColor(this);
    paintSymbol(painter, QRectF(10, 0, 10, height()), SessionStatus::symbol(state), symbolColor,
                10);
    painter.setPen(primaryColor(this));
    painter.setFont(font());
    painter.drawText(QRectF(26, 0, width() - 36, height()), Qt::AlignLeft | Qt::AlignVCenter,
                     text());
}

SidebarView::SidebarView(AppState& state, Commands& commands, QWidget* parent) : QWidget(parent) {
    setMinimumWidth(SidebarWidth::minimum);
    setMaximumWidth(SidebarWidth::maximum);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    auto* statusBox = new QVBoxLayout;
    statusBox->setContentsMargins(SidebarWidth::statusInset, 8, SidebarWidth::statusInset, 12);
    status_ = new SessionStatusWidget(state, commands, this);
    statusBox->addWidget(status_);
    column->addLayout(statusBox);

    auto* rows = new QVBoxLayout;
    rows->setContentsMargins(SidebarWidth::rowInset, 0, SidebarWidth::rowInset, 8);
    rows->setSpacing(2);
    const auto addRow = [&](SidebarSection section) {
        auto* row = new SidebarRow(section, this);
        rows_[section] = row;
        rows->addWidget(row);
        connect(row, &QAbstractButton::clicked, this,
                [this, section] { emit selectionRequested(section); });
    };
    for (SidebarSection section : allSidebarSections)
        if (!isFooterSection(section))
            addRow(section);
    rows->addSpacing(16);
    rows->addStretch(1);
    addRow(SidebarSection::general);
    addRow(SidebarSection::about);
    auto* quit = new QToolButton(this);
    quit->setText(tr("Quit Velmor"));
    quit->setFont(regularFont(12));
    quit->setAutoRaise(true);
    quit_ = quit;
    rows->addWidget(quit_, 0, Qt::AlignLeft);
    connect(quit_, &QAbstractButton::clicked, this, &SidebarView::quitRequested);
    column->addLayout(rows, 1);
    setSelection(SidebarSection::home);
}

void SidebarView::setSelection(SidebarSection section) {
    selection_ = section;
    for (auto& [s, row] : rows_)
        row->setSelectedItem(s == section);
}

QSize SidebarView::sizeHint() const {
    int widestRow = 0;
    for (const auto& [section, row] : rows_)
        widestRow = std::max(widestRow, row->sizeHint().width());
    return {SidebarWidth::preferred(widestRow, status_->sizeHint().width()),
            QWidget::sizeHint().height()};
}

void SidebarView::paintEvent(QPaintEvent*) {
    // A faint column sets the sidebar off from the screen; the window draws the hairline.
    QPainter painter(this);
    painter.fillRect(rect(), primaryFill(this, 0.025));
}

} // namespace velmor
