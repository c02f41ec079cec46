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
    for (const auto& [factor, reduced] : {std::pair{"0", true}, {"0.5", false}, {"fast", false}}) {
        test::writeFile(home.configDir() + "/kdeglobals",
                        QByteArray("[KDE]\nAnimationDurationFactor=") + factor + "\n");
        EXPECT_EQ(systemReducesMotion(), reduced) << factor;
    }
}
