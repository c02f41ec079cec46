#include "core/model/Catalogues.h"

namespace velmor {

namespace {

constexpr ThemeColor rgb(double r, double g, double b) {
    return {r, g, b, 1};
}

const std::array<ThemeInfo, 6>& themes() {
    static const std::array<ThemeInfo, 6> table = {{
        {VelmorTheme::charcoal, "charcoal", "Charcoal", "Quiet dark room", rgb(0.145, 0.145, 0.153),
         rgb(0.918, 0.902, 0.875), rgb(0.82, 0.68, 0.42), rgb(0.45, 0.42, 0.38),
         rgb(0.78, 0.52, 0.42), rgb(0.55, 0.53, 0.50)},
        {VelmorTheme::ember, "ember", "Ember", "Last ember before sleep", rgb(0.102, 0.090, 0.078),
         rgb(0.929, 0.910, 0.878), rgb(0.82, 0.68, 0.42), rgb(0.44, 0.40, 0.36),
         rgb(0.79, 0.51, 0.40), rgb(0.52, 0.46, 0.40)},
        {VelmorTheme::minimal, "minimal", "Minimal", "Pure stillness", rgb(0, 0, 0), rgb(1, 1, 1),
         rgb(0.90, 0.82, 0.60), rgb(0.50, 0.50, 0.50), rgb(0.72, 0.55, 0.55),
         ThemeColor{0, 0, 0, 0}},
        {VelmorTheme::espresso, "espresso", "Espresso", "Coffee shop after close",
         rgb(0.102, 0.063, 0.031), rgb(0.929, 0.910, 0.871), rgb(0.85, 0.62, 0.32),
         rgb(0.45, 0.38, 0.30), rgb(0.82, 0.48, 0.30), rgb(0.60, 0.40, 0.22)},
        {VelmorTheme::twilight, "twilight", "Twilight", "Ten minutes after sunset",
         rgb(0.071, 0.075, 0.102), rgb(0.886, 0.898, 0.929), rgb(0.68, 0.65, 0.78),
         rgb(0.40, 0.40, 0.48), rgb(0.72, 0.50, 0.58), rgb(0.35, 0.35, 0.52)},
        {VelmorTheme::forest, "forest", "Forest", "Deep woods at nightfall",
         rgb(0.055, 0.102, 0.063), rgb(0.871, 0.910, 0.875), rgb(0.68, 0.76, 0.42),
         rgb(0.38, 0.45, 0.38), rgb(0.65, 0.58, 0.42), rgb(0.35, 0.50, 0.35)},
    }};
    return table;
}

const std::array<SoundInfo, 6>& sounds() {
    static const std::array<SoundInfo, 6> table = {{
        {VelmorSound::singingBowl, "Singing Bowl", "Resonant, sustained", "singing-bowl",
         "singing-bowl-soft"},
        {VelmorSound::meditationBell, "Meditation Bell", "Clear, bright", "meditation-bell",
         "meditation-bell-soft"},
        {VelmorSound::woodenBlock, "Wooden Block", "Warm, velmored", "wooden-block",
         "wooden-block-soft"},
        {VelmorSound::stone, "Stone", "Sharp, immediate", "stone", "stone-soft"},
        {VelmorSound::windInPines, "Wind in Pines", "Soft, continuous", "wind-pines",
         "wind-pines-soft"},
        {VelmorSound::silence, "Silence", "Just presence", QString(), QString()},
    }};
    return table;
}

} // namespace

const ThemeInfo& themeInfo(VelmorTheme theme) {
    return themes()[size_t(theme)];
}
QString rawValue(VelmorTheme theme) {
    return themeInfo(theme).rawValue;
}

std::optional<VelmorTheme> themeFromRawValue(const QString& raw) {
    for (const auto& info : themes())
        if (info.rawValue == raw)
            return info.theme;
    return std::nullopt;
}

const SoundInfo& soundInfo(VelmorSound sound) {
    return sounds()[size_t(sound)];
}
QString rawValue(VelmorSound sound) {
    return soundInfo(sound).rawValue;
}

std::optional<VelmorSound> soundFromRawValue(const QString& raw) {
    for (const auto& info : sounds())
        if (info.rawValue == raw)
            return info.sound;
    return std::nullopt;
}

std::optional<QString> arrivalFile(VelmorSound sound) {
    const QString& file = soundInfo(sound).arrivalFile;
    return file.isEmpty() ? std::nullopt : std::optional<QString>(file);
}

std::optional<QString> departureFile(VelmorSound sound) {
    const QString& file = soundInfo(sound).departureFile;
    return file.isEmpty() ? std::nullopt : std::optional<QString>(file);
}

} // namespace velmor
