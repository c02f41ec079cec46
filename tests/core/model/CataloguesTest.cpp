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
