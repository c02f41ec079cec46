#pragma once

#include "core/model/SettingsEnums.h"

#include <QList>
#include <QString>

#include <optional>

namespace velmor {

class AppState;

enum class IntervalUnit { minutes, hours };

// The timer screen's number-and-unit inputs over durations stored in minutes.
struct TimerRules {
    static int factor(IntervalUnit unit) { return unit == IntervalUnit::hours ? 60 : 1; }
    // 5, 10, 15, 20, 25, 30, 45 minutes; 1 to 6 hours.
    static const QList<int>& choices(IntervalUnit unit);
    static QString unitLabel(IntervalUnit unit); // "minutes" / "hours", translated

    // The stored minutes in the unit, truncated toward zero.
    static int displayedNumber(double minutes, IntervalUnit unit);
    // The index of the displayed number in the unit's choices, or -1 (nothing selected; the
    // stored value is left as it is).
    static int selectedIndex(double minutes, IntervalUnit unit);
    // Picking a number stores it in the unit.
    static double minutesForNumber(int number, IntervalUnit unit) {
        return double(number) * factor(unit);
    }
    // Picking a unit: the last choice that fits within the stored minutes, else the first.
    static double minutesForUnit(IntervalUnit unit, double storedMinutes);
    // The unit a stored value is shown in: hours for whole hours from 60 up.
    static IntervalUnit unitFor(double minutes);

    struct MaxAdjustment {
        double maxMinutes;
        IntervalUnit maxUnit;
    };
    // Keeping the random range open: the maximum the range needs, or nothing when it is open
    // already (or the mode is fixed). Past 6 hours only the unit changes.
    static std::optional<MaxAdjustment> keepRangeOpen(IntervalMode mode, double minMinutes,
                                                      double maxMinutes, IntervalUnit maxUnit);
};

} // namespace velmor
