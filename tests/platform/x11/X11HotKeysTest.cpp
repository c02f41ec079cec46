#include "platform/x11/X11HotKeys.h"
#include "StateWorld.h"
#include "core/shortcuts/GlobalShortcuts.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QProcess>
#include <QTest>

#include "TestApp.h"

#include <gtest/gtest.h>

#include <xcb/xcb.h>

#include <memory>

using namespace velmor;
using namespace velmor::shortcuts;

namespace {

constexpr int command = carbon::command, shift = carbon::shift, option = carbon::option;

bool displayReachable() {
    int screen = 0;
    xcb_connection_t* connection = xcb_connect(nullptr, &screen);
    const bool reachable = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return reachable;
}

// A second X client, standing for another program.
class OtherClient {
public:
    OtherClient() : connection_(xcb_connect(nullptr, nullptr)) {
        root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    }
    ~OtherClient() { xcb_disconnect(connection_); }
    bool grab(std::uint8_t keyCode, std::uint16_t modifiers) {
        xcb_generic_error_t* error = xcb_request_check(
            connection_, xcb_grab_key_checked(connection_, 0, root_, modifiers, keyCode,
                                              XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
        std::free(error);
        return error == nullptr;
    }
    // The modifier and lock state of the keyboard as the server sees it now.
    std::uint16_t modifierState() {
        xcb_query_pointer_reply_t* reply =
            xcb_query_pointer_reply(connection_, xcb_query_pointer(connection_, root_), nullptr);
        const std::uint16_t state = reply ? reply->mask : 0;
        std::free(reply);
        return state;
    }

private:
    xcb_connection_t* connection_;
    xcb_window_t root_ = 0;
};

class X11HotKeysTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (displayReachable())
            test::guiApplication();
    }

    void SetUp() override {
        if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
            GTEST_SKIP() << "no X display to grab keys on";
        hotKeys_ = X11HotKeys::create();
        ASSERT_TRUE(hotKeys_);
        GlobalShortcuts::initialize(world_.store, *hotKeys_);
    }

    void TearDown() override {
        // Put the locks back as they were for whoever types next.
        if (other_.modifierState() & XCB_MOD_MASK_LOCK)
            test::xdotool({"key", "Caps_Lock"});
        if (other_.modifierState() & (XCB_MOD_MASK_2 | XCB_MOD_MASK_3))
            test::xdotool({"key", "Num_Lock"});
        hotKeys_.reset();
    }

    // Counts the key-up actions of `name` in ups_.
    void watch(const Name& name) {
        GlobalShortcuts::onKeyUp(name, [this] { ++ups_; });
    }
    // Types with xdotool and lets the release arrive; the key-up actions run meanwhile.
    int tap(const QStringList& xdotoolArgs) {
        const int before = ups_;
        EXPECT_TRUE(test::xdotool(xdotoolArgs));
        static_cast<void>(QTest::qWaitFor([&] { return ups_ > before; }));
        QTest::qWait(200); // a second run would show up here
        return ups_ - before;
    }

    test::StateWorld world_;
    OtherClient other_;
    std::unique_ptr<X11HotKeys> hotKeys_;
    int ups_ = 0;
};

} // namespace

TEST_F(X11HotKeysTest, CtrlShiftGRunsEachActionOncePerPress) {
    const Name name(QStringLiteral("triggerVelmoring"),
                    Shortcut(Key::g, Qt::ControlModifier | Qt::ShiftModifier));
    int downs = 0;
    GlobalShortcuts::onKeyDown(name, [&] { ++downs; });
    watch(name);
    EXPECT_EQ(tap({"key", "ctrl+shift+g"}), 1);
    EXPECT_EQ(downs, 1);

    // Other modifiers are another combination.
    ASSERT_TRUE(test::xdotool({"key", "ctrl+g", "ctrl+alt+shift+g", "shift+g"}));
    QTest::qWait(300);
    EXPECT_EQ(ups_, 1);

    // Held past the repeat delay, the key still goes down once and up once, also when the
    // modifiers are let go before the key.
    EXPECT_EQ(tap({"keydown", "ctrl+shift+g", "sleep", "1", "keyup", "ctrl+shift", "sleep", "0.3",
                   "keyup", "g"}),
              1);
    EXPECT_EQ(downs, 2);
}

TEST_F(X11HotKeysTest, ACombinationAnotherProgramHoldsPrintsTheErrorLine) {
    // J is X key code 44; Mod1 is Alt.
    ASSERT_TRUE(other_.grab(44, XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1));
    const Shortcut ctrlAltJ(0x26, command | option);
    EXPECT_TRUE(GlobalShortcuts::isTakenBySystem(ctrlAltJ));

    testing::internal::CaptureStdout();
    const Name name(QStringLiteral("taken"), ctrlAltJ);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Error registering hotkey Ctrl+Alt+J: already taken by another program\n");

    // A free combination is free, and the trial grab leaves it free for others.
    const Shortcut ctrlAltU(0x20, command | option);
    EXPECT_FALSE(GlobalShortcuts::isTakenBySystem(ctrlAltU));
    EXPECT_TRUE(other_.grab(32, XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1));
    // Our own hot key is not "taken", and asking does not let it go.
    const Name ours(QStringLiteral("ours"), Shortcut(0x28, command | shift));
    EXPECT_FALSE(GlobalShortcuts::isTakenBySystem(Shortcut(0x28, command | shift)));
    watch(ours);
    EXPECT_EQ(tap({"key", "ctrl+shift+k"}), 1);
}

TEST_F(X11HotKeysTest, LitLocksDoNotStopTheShortcutWhereverNumLockSits) {
    watch(Name(QStringLiteral("locks"), Shortcut(0x25, command | shift))); // L
    ASSERT_TRUE(test::xdotool({"key", "Num_Lock"}));
    ASSERT_TRUE(other_.modifierState() & XCB_MOD_MASK_2);
    EXPECT_EQ(tap({"key", "ctrl+shift+l"}), 1);
    ASSERT_TRUE(test::xdotool({"key", "Caps_Lock"}));
    ASSERT_TRUE(other_.modifierState() & XCB_MOD_MASK_LOCK);
    EXPECT_EQ(tap({"key", "ctrl+shift+l"}), 1);
    ASSERT_TRUE(test::xdotool({"key", "Num_Lock"}));
    EXPECT_EQ(tap({"key", "ctrl+shift+l"}), 1);

    // Num Lock moved to another modifier: the grabs follow it.
    ASSERT_EQ(QProcess::execute("xmodmap", {"-e", "clear mod2", "-e", "add mod3 = Num_Lock"}), 0);
    QTest::qWait(300);
    ASSERT_TRUE(test::xdotool({"key", "Num_Lock"}));
    const bool numLockOnMod3 = other_.modifierState() & XCB_MOD_MASK_3;
    const int ups = tap({"key", "ctrl+shift+l"});
    test::xdotool({"key", "Num_Lock"});
    ASSERT_EQ(QProcess::execute("xmodmap", {"-e", "clear mod3", "-e", "add mod2 = Num_Lock"}), 0);
    EXPECT_TRUE(numLockOnMod3);
    EXPECT_EQ(ups, 1);
}

TEST_F(X11HotKeysTest, WhileOurMenuIsOpenTheShortcutStillRunsAndOtherKeysReachTheMenu) {
    watch(Name(QStringLiteral("menu"), Shortcut(0x2E, command | shift))); // M
    QMenu menu;
    QAction* first = menu.addAction(QStringLiteral("First"));
    menu.addAction(QStringLiteral("Second"));
    menu.popup(QPoint(200, 200));
    ASSERT_TRUE(QTest::qWaitFor([&] { return menu.isVisible(); }));
    QTest::qWait(300);

    ASSERT_TRUE(test::xdotool({"key", "ctrl+shift+m"}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return ups_ == 1; }));
    EXPECT_TRUE(menu.isVisible());
    ASSERT_TRUE(test::xdotool({"key", "Down"}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return menu.activeAction() == first; }));

    ASSERT_TRUE(test::xdotool({"key", "Escape"}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !menu.isVisible(); }));
    QTest::qWait(200);
    EXPECT_EQ(tap({"key", "ctrl+shift+m"}), 1);
}

TEST(GlobalShortcutsRegistration, WithoutAnX11DisplayTheDesktopServiceSaysSoOnce) {
    testing::internal::CaptureStdout();
    const std::unique_ptr<HotKeyService> none = makeSystemHotKeys();
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Global shortcuts are not available: no X11 display (platform none)\n");
    EXPECT_FALSE(none->isAvailable());
    EXPECT_EQ(none->registerHotKey(1, Shortcut(5, 768)), HotKeyService::statusUnavailable);
}
