#include "platform/desktop/ReduceMotion.h"
#include "TestHome.h"

#include <gtest/gtest.h>

using namespace velmor;

TEST(OverlayReduceMotion, FollowsKdeAnimationSpeed) {
    // The in-memory GSettings backend gives GNOME's default: animations on.
    qputenv("GSETTINGS_BACKEND", "memory");
    test::TestHome home;
    EXPECT_FALSE(systemReducesMotion());
    test::writeFile(home.configDir() + "/kdeglobals", "[KDE]\nAnimationDurationFactor=0\n");
    EXPECT_TRUE(systemReducesMotion());
    test::writeFile(home.configDir() + "/kdeglobals", "[KDE]\nAnimationDurationFactor=0.5\n");
    EXPECT_FALSE(systemReducesMotion());
    test::writeFile(home.configDir() + "/kdeglobals", "[KDE]\nAnimationDurationFactor=fast\n");
    EXPECT_FALSE(systemReducesMotion());
}
