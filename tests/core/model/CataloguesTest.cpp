#include "core/model/Catalogues.h"

#include <gtest/gtest.h>

using namespace velmor;

// A raw value shared by two entries fails the round trip of the second.
TEST(Catalogues, RawValuesRoundTripAndAreCaseSensitive) {
    for (VelmorTheme theme : allThemes)
        EXPECT_EQ(themeFromRawValue(rawValue(theme)), theme);
    EXPECT_EQ(themeFromRawValue("Charcoal"), std::nullopt);
    for (VelmorSound sound : allSounds)
        EXPECT_EQ(soundFromRawValue(rawValue(sound)), sound);
    EXPECT_EQ(rawValue(VelmorSound::windInPines), "Wind in Pines");
    EXPECT_EQ(soundFromRawValue("windInPines"), std::nullopt);
}
