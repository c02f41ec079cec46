#include "platform/desktop/ReduceMotion.h"
#include "TestHome.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace velmor;

// GIO is opened on this first question; in a child process, since GLib settles its settings
// backend and folders once per process.
TEST(OverlayReduceMotion, FollowsGnomeAnimationSetting) {
    const auto askWith = [](const char* animations) {
        test::TestHome home;
        qputenv("GSETTINGS_BACKEND", "keyfile");
        test::writeFile(home.configDir() + "/glib-2.0/settings/keyfile",
                        QByteArray("[org/gnome/desktop/interface]\nenable-animations=") +
                            animations + "\n");
        std::exit(systemReducesMotion() ? 10 : 20);
    };
    EXPECT_EXIT(askWith("false"), testing::ExitedWithCode(10), "");
    EXPECT_EXIT(askWith("true"), testing::ExitedWithCode(20), "");
}

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
