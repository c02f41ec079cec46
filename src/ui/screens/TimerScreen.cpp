#include "ui/screens/TimerScreen.h"

#include "core/settings/AppState.h"
#include "ui/controls/RoleNamedMenu.h"
#include "ui/controls/TabularText.h"
#include "ui/controls/VelmorSegmentedPicker.h"
#include "ui/screens/ScreenLayout.h"

#include <QComboBox>
#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QPropertyAnimation>
#include <QStylePainter>
#include <QStyledItemDelegate>

namespace velmor {

using namespace ui;
using Tone = TextBlock::Tone;

namespace {

// The number menu's items, their digits of equal width so the figures line up in the list.
class TabularItemDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        const QString text = item.text;
        item.text.clear();
        const QWidget* widget = item.widget;
        QStyle* style = widget ? widget->style() : nullptr;
        if (!style)
            return;
        style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);
        const QRect field = style->subElementRect(QStyle::SE_ItemViewItemText, &item, widget);
        painter->save();
        painter->setFont(item.font);
        painter->setPen(item.palette.color(
            item.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled,
            item.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
        drawTabularText(*painter, QRectF(field).adjusted(4, 0, 0, 0),
                        Qt::AlignLeft | Qt::AlignVCenter, text);
        painter->restore();
    }
};

// A pop-up menu of numbers whose digits all take the same width.
class NumberMenu final : public RoleNamedMenu {
public:
    NumberMenu(const QString& role, QWidget* parent) : RoleNamedMenu(role, parent) {
        setItemDelegate(new TabularItemDelegate(this));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QStylePainter painter(this);
        QStyleOptionComboBox option;
        initStyleOption(&option);
        const QString text = option.currentText;
        option.currentText.clear();
        painter.drawComplexControl(QStyle::CC_ComboBox, option);
        painter.drawControl(QStyle::CE_ComboBoxLabel, option);
        const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                    QStyle::SC_ComboBoxEditField, this);
        painter.setFont(font());
        painter.setPen(palette().color(isEnabled() ? QPalette::Normal : QPalette::Disabled,
                                       QPalette::ButtonText));
        drawTabularText(painter, QRectF(field).adjusted(2, 0, 0, 0),
                        Qt::AlignLeft | Qt::AlignVCenter, text);
    }
};

} // namespace

IntervalInput::IntervalInput(std::function<double()> read, std::function<void(double)> write,
                             const QString& numberRole, const QString& unitRole, QWidget* parent)
    : QWidget(parent), read_(std::move(read)), write_(std::move(write)) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(4);
    number_ = new NumberMenu(numberRole, this);
    number_->setFixedWidth(70);
    number_->setFont(regularFont(13));
    unitMenu_ = new RoleNamedMenu(unitRole, this);
    unitMenu_->setFixedWidth(90);
    unitMenu_->setFont(regularFont(13));
    unitMenu_->addItem(TimerRules::unitLabel(IntervalUnit::minutes));
    unitMenu_->addItem(TimerRules::unitLabel(IntervalUnit::hours));
    row->addWidget(number_);
    row->addWidget(unitMenu_);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

    connect(number_, &QComboBox::activated, this, [this](int index) {
        const auto& choices = TimerRules::choices(unit_);
        if (index >= 0 && index < choices.size())
            write_(TimerRules::minutesForNumber(choices[index], unit_));
        refresh();
    });
    connect(unitMenu_, &QComboBox::activated, this, [this](int index) {
        const IntervalUnit unit = index == 1 ? IntervalUnit::hours : IntervalUnit::minutes;
        setUnit(unit);
        write_(TimerRules::minutesForUnit(unit, read_()));
        refresh();
    });
    refresh();
}

void IntervalInput::setUnit(IntervalUnit unit) {
    unit_ = unit;
    refresh();
}

void IntervalInput::refresh() {
    const QSignalBlocker blockNumber(number_);
    const QSignalBlocker blockUnit(unitMenu_);
    number_->clear();
    for (int choice : TimerRules::choices(unit_))
        number_->addItem(QString::number(choice));
    // A stored value that is not among the choices shows no selection and is left alone.
    number_->setCurrentIndex(TimerRules::selectedIndex(read_(), unit_));
    unitMenu_->setCurrentIndex(unit_ == IntervalUnit::hours ? 1 : 0);
}

TimerScreen::TimerScreen(AppState& state, QWidget* parent) : QWidget(parent), state_(state) {
    auto* column = screenColumn(this, 20);

    auto* modeBlock = block(column, 8);
    modeBlock->addWidget(caption(tr("Interval mode"), this));
    picker_ = new VelmorSegmentedPicker(
        {rawValue(IntervalMode::fixed), rawValue(IntervalMode::random)}, this);
    picker_->bind<IntervalMode>(
        {IntervalMode::fixed, IntervalMode::random}, [&state] { return state.intervalMode(); },
        [&state](IntervalMode mode) { state.setIntervalMode(mode); }, &state,
        &AppState::intervalModeChanged);
    modeBlock->addWidget(picker_);

    fixedBlock_ = new QWidget(this);
    auto* fixedColumn = new QVBoxLayout(fixedBlock_);
    fixedColumn->setContentsMargins(0, 0, 0, 0);
    fixedColumn->setSpacing(8);
    fixedColumn->addWidget(caption(tr("Arrive every"), fixedBlock_));
    fixed_ = new IntervalInput([&state] { return state.fixedIntervalMinutes(); },
                               [&state](double v) { state.setFixedIntervalMinutes(v); },
                               tr("Interval"), tr("unit of the interval"), fixedBlock_);
    fixedColumn->addWidget(fixed_, 0, Qt::AlignLeft);

    randomBlock_ = new QWidget(this);
    auto* randomColumn = new QVBoxLayout(randomBlock_);
    randomColumn->setContentsMargins(0, 0, 0, 0);
    randomColumn->setSpacing(8);
    randomColumn->addWidget(caption(tr("Arrive between"), randomBlock_));
    auto* range = new QHBoxLayout;
    range->setSpacing(12);
    randomMin_ = new IntervalInput([&state] { return state.randomMinMinutes(); },
                                   [&state](double v) { state.setRandomMinMinutes(v); },
                                   tr("Shortest interval"), tr("unit of the shortest interval"),
                                   randomBlock_);
    randomMax_ =
        new IntervalInput([&state] { return state.randomMaxMinutes(); },
                          [&state](double v) { state.setRandomMaxMinutes(v); },
                          tr("Longest interval"), tr("unit of the longest interval"), randomBlock_);
    range->addWidget(randomMin_);
    // Centred on the menus beside it, not set at the top of the row.
    range->addWidget(new TextBlock(tr("and"), regularFont(13), Tone::tertiary, randomBlock_), 0,
                     Qt::AlignVCenter);
    range->addWidget(randomMax_);
    range->addStretch(1);
    randomColumn->addLayout(range);

    column->addWidget(fixedBlock_);
    column->addWidget(randomBlock_);

    auto* help = new TextBlock(tr("Velmor will arrive at this interval while active. Press any key "
                                  "or click to return when it appears."),
                               regularFont(12), Tone::tertiary, this);
    help->setLineSpacing(3);
    column->addSpacing(4);
    column->addWidget(help);

    // Units are worked out from the stored values each time the screen is shown.
    fixed_->setUnit(TimerRules::unitFor(state.fixedIntervalMinutes()));
    randomMin_->setUnit(TimerRules::unitFor(state.randomMinMinutes()));
    randomMax_->setUnit(TimerRules::unitFor(state.randomMaxMinutes()));

    connect(&state, &AppState::intervalModeChanged, this, [this] { showModeBlock(true); });
    connect(&state, &AppState::fixedIntervalMinutesChanged, fixed_, &IntervalInput::refresh);
    connect(&state, &AppState::randomMinMinutesChanged, randomMin_, &IntervalInput::refresh);
    connect(&state, &AppState::randomMaxMinutesChanged, randomMax_, &IntervalInput::refresh);
    connect(&state, &AppState::randomMinMinutesChanged, this, &TimerScreen::keepRangeOpen);
    connect(&state, &AppState::randomMaxMinutesChanged, this, &TimerScreen::keepRangeOpen);
    showModeBlock(false);
}

void TimerScreen::showModeBlock(bool animated) {
    const bool random = state_.intervalMode() == IntervalMode::random;
    QWidget* shown = random ? randomBlock_ : fixedBlock_;
    (random ? fixedBlock_ : randomBlock_)->hide();
    shown->show();
    if (!animated)
        return;
    auto* effect = new QGraphicsOpacityEffect(shown);
    shown->setGraphicsEffect(effect);
    auto* fade = new QPropertyAnimation(effect, "opacity", shown);
    fade->setDuration(crossFadeMs);
    fade->setEasingCurve(QEasingCurve::InOutQuad);
    fade->setStartValue(0.0);
    fade->setEndValue(1.0);
    connect(fade, &QPropertyAnimation::finished, shown,
            [shown] { shown->setGraphicsEffect(nullptr); });
    fade->start(QAbstractAnimation::DeleteWhenStopped);
}

void TimerScreen::keepRangeOpen() {
    const auto adjustment =
        TimerRules::keepRangeOpen(state_.intervalMode(), state_.randomMinMinutes(),
                                  state_.randomMaxMinutes(), randomMax_->unit());
    if (!adjustment)
        return;
    randomMax_->setUnit(adjustment->maxUnit);
    if (adjustment->maxMinutes != state_.randomMaxMinutes())
        state_.setRandomMaxMinutes(adjustment->maxMinutes);
}

} // namespace velmor
