#include "core/screens/TimerRules.h"

#include <QCoreApplication>

#include <cmath>

namespace velmor {

const QList<int>& TimerRules::choices(IntervalUnit unit) {
    static const QList<int> minutes{5, 10, 15, 20, 25, 30, 45};
    static const QList<int> hours{1, 2, 3, 4, 5, 6};
    return unit == IntervalUnit::hours ? hours : minutes;
}

QString TimerRules::unitLabel(IntervalUnit unit) {
    return unit == IntervalUnit::hours
               ? QCoreApplication::translate("TimerSettingsView", "hours")
               : QCoreApplication::translate("TimerSettingsView", "minutes");
}

int TimerRules::displayedNumber(double minutes, IntervalUnit unit) {
    const double value = std::trunc(minutes / factor(unit));
    if (!std::isfinite(value) || std::abs(value) > 1e9)
        return 0;
    return int(value);
}

int TimerRules::selectedIndex(double minutes, IntervalUnit unit) {
    return int(choices(unit).indexOf(displayedNumber(minutes, unit)));
}

double TimerRules::minutesForUnit(IntervalUnit unit, double storedMinutes) {
    const auto& list = choices(unit);
    int entry = list.first();
    for (int choice : list)
        if (double(choice) * factor(unit) <= storedMinutes)
            entry = choice;
    return double(entry) * factor(unit);
}

IntervalUnit TimerRules::unitFor(double minutes) {
    return minutes >= 60 && std::fmod(minutes, 60.0) == 0 ? IntervalUnit::hours
                                                          : IntervalUnit::minutes;
}

std::optional<TimerRules::MaxAdjustment> TimerRules::keepRangeOpen(IntervalMode mode,
                                                                   double minMinutes,
                                                                   double maxMinutes,
                                                                   IntervalUnit maxUnit) {
    if (mode != IntervalMode::random)
        return std::nullopt;
    if (maxMinutes > minMinutes)
        return std::nullopt;
    for (int choice : choices(maxUnit)) {
        const double value = double(choice) * factor(maxUnit);
        if (value > minMinutes)
            return MaxAdjustment{value, maxUnit};
    }
    for (int hours : choices(IntervalUnit::hours)) {
        const double value = hours * 60.0;
        if (value > minMinutes)
            return MaxAdjustment{value, IntervalUnit::hours};
    }
    return MaxAdjustment{maxMinutes, IntervalUnit::hours};
}

} // namespace velmor
