#pragma once

#include <QString>

#include <optional>

namespace velmor {

enum class IntervalMode { fixed, random };
enum class OverlayScope { thisScreen, everyScreen };
enum class AppearanceMode { system, light, dark };

QString rawValue(IntervalMode mode);
QString rawValue(OverlayScope scope);
QString rawValue(AppearanceMode mode);
std::optional<IntervalMode> intervalModeFromRawValue(const QString& raw);
std::optional<OverlayScope> overlayScopeFromRawValue(const QString& raw);
std::optional<AppearanceMode> appearanceModeFromRawValue(const QString& raw);

} // namespace velmor
