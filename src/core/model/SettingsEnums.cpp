#include "core/model/SettingsEnums.h"

#include <array>
#include <utility>

namespace velmor {

namespace {
template <typename Enum, size_t N>
std::optional<Enum> lookUp(const std::array<Enum, N>& cases, const QString& raw) {
    for (Enum e : cases)
        if (rawValue(e) == raw)
            return e;
    return std::nullopt;
}
} // namespace

QString rawValue(IntervalMode mode) {
    return mode == IntervalMode::fixed ? QStringLiteral("Fixed") : QStringLiteral("Random");
}

QString rawValue(OverlayScope scope) {
    return scope == OverlayScope::thisScreen ? QStringLiteral("This screen")
                                             : QStringLiteral("Every screen");
}

QString rawValue(AppearanceMode mode) {
    switch (mode) {
    case AppearanceMode::system:
        return QStringLiteral("System");
    case AppearanceMode::light:
        return QStringLiteral("Light");
    case AppearanceMode::dark:
        return QStringLiteral("Dark");
    }
    return {};
}

std::optional<IntervalMode> intervalModeFromRawValue(const QString& raw) {
    return lookUp(std::array{IntervalMode::fixed, IntervalMode::random}, raw);
}

std::optional<OverlayScope> overlayScopeFromRawValue(const QString& raw) {
    return lookUp(std::array{OverlayScope::thisScreen, OverlayScope::everyScreen}, raw);
}

std::optional<AppearanceMode> appearanceModeFromRawValue(const QString& raw) {
    return lookUp(std::array{AppearanceMode::system, AppearanceMode::light, AppearanceMode::dark},
                  raw);
}

} // namespace velmor
