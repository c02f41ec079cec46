#pragma once

#include <QString>

#include <array>
#include <optional>

namespace velmor {

// An sRGB colour, components 0..1. Plain so the logic library needs no GUI module.
struct ThemeColor {
    double red = 0, green = 0, blue = 0, alpha = 1;
    friend bool operator==(const ThemeColor&, const ThemeColor&) = default;
};

enum class VelmorTheme { charcoal, ember, minimal, espresso, twilight, forest };

struct ThemeInfo {
    VelmorTheme theme;
    QString rawValue;
    QString displayName;
    QString description;
    ThemeColor overlayColor, textColor, accentColor, mutedColor, favoriteColor, washColor;
};

inline constexpr std::array<VelmorTheme, 6> allThemes = {
    VelmorTheme::charcoal, VelmorTheme::ember,    VelmorTheme::minimal,
    VelmorTheme::espresso, VelmorTheme::twilight, VelmorTheme::forest};

const ThemeInfo& themeInfo(VelmorTheme theme);
QString rawValue(VelmorTheme theme);
std::optional<VelmorTheme> themeFromRawValue(const QString& raw);

enum class VelmorSound { singingBowl, meditationBell, woodenBlock, stone, windInPines, silence };

struct SoundInfo {
    VelmorSound sound;
    QString rawValue; // also the display name
    QString description;
    QString arrivalFile;   // without extension; empty for silence
    QString departureFile; // without extension; empty for silence
};

inline constexpr std::array<VelmorSound, 6> allSounds = {
    VelmorSound::singingBowl, VelmorSound::meditationBell, VelmorSound::woodenBlock,
    VelmorSound::stone,       VelmorSound::windInPines,    VelmorSound::silence};

const SoundInfo& soundInfo(VelmorSound sound);
QString rawValue(VelmorSound sound);
std::optional<VelmorSound> soundFromRawValue(const QString& raw);
std::optional<QString> arrivalFile(VelmorSound sound);
std::optional<QString> departureFile(VelmorSound sound);

} // namespace velmor
