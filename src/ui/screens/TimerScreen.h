#pragma once

#include "core/screens/TimerRules.h"

#include <QWidget>

#include <functional>

class QComboBox;
class QVBoxLayout;

namespace velmor {

class AppState;

namespace ui {
class VelmorSegmentedPicker;
}

// A duration picked from two pop-up menus, a number and a unit, over minutes stored elsewhere.
class IntervalInput final : public QWidget {
    Q_OBJECT
public:
    IntervalInput(std::function<double()> read, std::function<void(double)> write,
                  const QString& numberRole, const QString& unitRole, QWidget* parent = nullptr);

    IntervalUnit unit() const { return unit_; }
    void setUnit(IntervalUnit unit);
    void refresh();
    QComboBox* numberMenu() const { return number_; }
    QComboBox* unitMenu() const { return unitMenu_; }

private:
    std::function<double()> read_;
    std::function<void(double)> write_;
    IntervalUnit unit_ = IntervalUnit::minutes;
    QComboBox* number_;
    QComboBox* unitMenu_;
};

// How often an overlay arrives: a fixed interval, or a random one between two bounds.
class TimerScreen final : public QWidget {
    Q_OBJECT
public:
    explicit TimerScreen(AppState& state, QWidget* parent = nullptr);

    IntervalInput* fixedInput() const { return fixed_; }
    IntervalInput* randomMinInput() const { return randomMin_; }
    IntervalInput* randomMaxInput() const { return randomMax_; }
    ui::VelmorSegmentedPicker* modePicker() const { return picker_; }

private:
    void showModeBlock(bool animated);
    void keepRangeOpen();

    AppState& state_;
    ui::VelmorSegmentedPicker* picker_;
    QWidget* fixedBlock_;
    QWidget* randomBlock_;
    IntervalInput* fixed_;
    IntervalInput* randomMin_;
    IntervalInput* randomMax_;
};

} // namespace velmor
