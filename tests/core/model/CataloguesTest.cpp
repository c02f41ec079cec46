#include "core/model/Catalogues.h"

#include <gtest/gtest.h>

#include <set>

using namespace velmor;

TEST(Catalogues, RawValuesRoundTripAndAreCaseSensitive) {
    std::set<QString> raws;
    for (VelmorTheme theme : allThemes) {
        EXPECT_EQ(themeFromRawValue(rawValue(theme)), theme);
        raws.insert(rawValue(theme));
    }
    EXPECT_EQ(raws.size(), 6u);
    EXPECT_EQ(themeFromRawValue("Charcoal"), std::nullopt);
    EXPECT_EQ(themeFromRawValue("dusk"), std::nullopt);
    for (VelmorSound sound : allSounds)
        EXPECT_EQ(soundFromRawValue(rawValue(sound)), sound);
    EXPECT_EQ(rawValue(VelmorSound::windInPines), "Wind in Pines");
    EXPECT_EQ(soundFromRawValue("windInPines"), std::nullopt);
}

TEST(Catalogues, ColoursAndFilesAreDistinctWhereTheyShouldBe) {
    const ThemeInfo& minimal = themeInfo(VelmorTheme::minimal);
    EXPECT_EQ(minimal.overlayColor, (ThemeColor{0, 0, 0, 1}));
    EXPECT_EQ(minimal.textColor, (ThemeColor{1, 1, 1, 1}));
    EXPECT_EQ(minimal.washColor.alpha, 0.0);
    // Charcoal and ember share their accent and nothing else.
    const ThemeInfo& charcoal = themeInfo(VelmorTheme::charcoal);
    const ThemeInfo& ember = themeInfo(VelmorTheme::ember);
    EXPECT_EQ(charcoal.accentColor, ember.accentColor);
    EXPECT_NE(charcoal.overlayColor, ember.overlayColor);
    EXPECT_NE(charcoal.washColor, ember.washColor);

    std::set<QString> files;
    for (VelmorSound sound : allSounds) {
        if (sound == VelmorSound::silence) {
            EXPECT_FALSE(arrivalFile(sound));
            EXPECT_FALSE(departureFile(sound));
            continue;
        }
        ASSERT_TRUE(arrivalFile(sound) && departureFile(sound));
        EXPECT_EQ(*departureFile(sound), *arrivalFile(sound) + "-soft");
        files.insert(*arrivalFile(sound));
    }
    EXPECT_EQ(files.size(), 5u);
    EXPECT_EQ(arrivalFile(VelmorSound::windInPines), QString("wind-pines"));
}
