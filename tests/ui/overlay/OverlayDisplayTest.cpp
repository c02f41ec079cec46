// The overlay on a real display: the runner's Xvfb with two monitors side by side, L (left) and
// R (right). R is made the main screen so that "main" and "first" differ.
#include "../Pixels.h"
#include "StateWorld.h"
#include "XServer.h"
#include "core/base/Resources.h"
#include "core/session/OverlaySounds.h"
#include "core/shortcuts/GlobalShortcuts.h"
#include "platform/desktop/Fonts.h"
#include "platform/x11/MainScreen.h"
#include "platform/x11/X11HotKeys.h"
#include "ui/overlay/OverlayManager.h"
#include "ui/overlay/OverlayPanel.h"
#include "ui/overlay/OverlayView.h"
#include "ui/tray/TrayMenu.h"

#include <QApplication>
#include <QCursor>
#include <QFontInfo>
#include <QImage>
#include <QMenu>
#include <QProcess>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include "TestApp.h"

#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <memory>

using namespace velmor;

namespace {

// The window's opacity on the X server, read on a connection of our own.
double serverOpacity(const QWidget* window) {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    const double opacity = test::serverOpacity(c, xcb_window_t(window->winId()));
    xcb_disconnect(c);
    return opacity;
}

// Whether any client holds the keyboard, tried from a connection of our own.
bool keyboardGrabbedByAnyone() {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    auto* reply = xcb_grab_keyboard_reply(
        c,
        xcb_grab_keyboard(c, 0, root, XCB_CURRENT_TIME, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC),
        nullptr);
    const bool taken = !reply || reply->status != XCB_GRAB_STATUS_SUCCESS;
    free(reply);
    xcb_ungrab_keyboard(c, XCB_CURRENT_TIME);
    xcb_disconnect(c);
    return taken;
}

struct RecordingSounds final : OverlaySounds {
    int arrivals = 0;
    int departures = 0;
    void playArrival() override { ++arrivals; }
    void playDeparture() override { ++departures; }
};

struct FixedMainScreen final : MainScreen {
    QScreen* main = nullptr;
    QScreen* screen() const override { return main; }
};

class OverlayDisplay : public ::testing::Test {
protected:
    void SetUp() override {
        if (!test::guiApplication())
            GTEST_SKIP() << "no X display";
        setResourcesDir(QStringLiteral(VELMOR_RESOURCES_DIR));
        world = std::make_unique<test::StateWorld>();
        ASSERT_EQ(QGuiApplication::screens().size(), 2) << "the runner's display has L and R";
        left = QGuiApplication::screens().at(0);
        right = QGuiApplication::screens().at(1);
        if (left->geometry().x() > right->geometry().x())
            std::swap(left, right);
        mainScreen.main = right;
        overlays = std::make_unique<OverlayManager>(world->state, clock, sounds);
        overlays->setMainScreen(&mainScreen);
        overlays->setReduceMotion([this] { return reduceMotion; });
        // The pointer rests on the screen without the prompt, where keys would go without a grab.
        QCursor::setPos(left->geometry().center());
    }

    void TearDown() override {
        overlays.reset();
        QTest::qWait(20); // deletes the removed panels
    }

    void present(OverlayScope scope = OverlayScope::everyScreen) {
        world->state.setOverlayScope(scope);
        presentedAt = clock.now();
        overlays->present(prompt, [this] { ++dismissals; });
        QTest::qWait(30);
        for (OverlayPanel* p : overlays->panels())
            EXPECT_TRUE(QTest::qWaitForWindowExposed(p->windowHandle(), 2000));
    }

    // Moves the clock to `seconds` after the presentation and lets the frames catch up: a
    // background frame is due within 50 ms.
    void at(double seconds) {
        clock.advanceTo(presentedAt + seconds);
        QTest::qWait(100);
    }

    OverlayPanel* panel(int i) const { return overlays->panels().at(size_t(i)); }
    OverlayPanel* mainPanel() const { return panel(overlays->primaryPanelIndex()); }
    OverlayPanel* otherPanel() const { return panel(1 - overlays->primaryPanelIndex()); }
    OverlayView* mainView() const {
        return overlays->views().at(size_t(overlays->primaryPanelIndex()));
    }

    test::VirtualClock clock; // the overlays'
    std::unique_ptr<test::StateWorld> world;
    RecordingSounds sounds;
    FixedMainScreen mainScreen;
    std::unique_ptr<OverlayManager> overlays;
    QScreen* left = nullptr;
    QScreen* right = nullptr;
    PromptItem prompt{.id = QStringLiteral("P1"),
                      .text = QStringLiteral("What is the quietest sound you can hear?"),
                      .source = QStringLiteral("Ada Lane"),
                      .sourceWork = QStringLiteral("Field Notes")};
    bool reduceMotion = false;
    double presentedAt = 0;
    int dismissals = 0;
};

} // namespace

TEST_F(OverlayDisplay, EveryScreenGetsAPanelButOnlyTheMainOneThePromptAndKeyboard) {
    present(OverlayScope::everyScreen);
    ASSERT_EQ(overlays->panels().size(), 2u);
    EXPECT_EQ(overlays->primaryPanelIndex(), 1);
    EXPECT_EQ(sounds.arrivals, 1);
    for (int i = 0; i < 2; ++i) {
        EXPECT_TRUE(panel(i)->isVisible());
        EXPECT_EQ(panel(i)->geometry(), QGuiApplication::screens().at(i)->geometry());
        EXPECT_EQ(panel(i)->windowHandle()->screen(), QGuiApplication::screens().at(i));
        EXPECT_EQ(overlays->views().at(size_t(i))->geometry(), panel(i)->rect());
    }
    EXPECT_EQ(mainView()->prompt(), prompt);
    // The other panel draws neither text nor attribution.
    EXPECT_TRUE(overlays->views().at(0)->textRect().isEmpty());
    EXPECT_TRUE(overlays->views().at(0)->attributionRect().isEmpty());

    EXPECT_TRUE(mainPanel()->hasKeyboardGrab());
    EXPECT_FALSE(otherPanel()->hasKeyboardGrab());
    EXPECT_EQ(QWidget::keyboardGrabber(), mainPanel());
}

TEST_F(OverlayDisplay, ThisScreenCoversOnlyTheMainScreen) {
    present(OverlayScope::thisScreen);
    ASSERT_EQ(overlays->panels().size(), 1u);
    EXPECT_EQ(panel(0)->geometry(), right->geometry());

    // Without a main screen the first screen stands in.
    overlays->dismissImmediately();
    mainScreen.main = nullptr;
    present(OverlayScope::thisScreen);
    ASSERT_EQ(overlays->panels().size(), 1u);
    EXPECT_EQ(panel(0)->geometry(), QGuiApplication::screens().first()->geometry());
    EXPECT_EQ(overlays->views().at(0)->prompt(), prompt);
}

TEST_F(OverlayDisplay, InputIsIgnoredDuringTheFadeInThenStartsTheFadeOut) {
    present();
    // A real key press through the X server, with the pointer on the other screen: the main
    // panel's keyboard grab brings it there (real Escape shows it arrives), where it is ignored.
    int dropped = 0; // presents while an overlay is on screen are dropped
    overlays->present(prompt, [&] { ++dropped; });
    at(5.0);
    ASSERT_TRUE(test::xdotool({"key", "a"}));
    QTest::qWait(150);
    at(7.2);
    QTest::mouseClick(otherPanel(), Qt::LeftButton);
    EXPECT_FALSE(overlays->isDismissing());
    EXPECT_EQ(dismissals, 0);

    // From 7.3 s clicks count on every panel, keys only on the main one.
    at(7.4);
    QTest::keyClick(otherPanel(), Qt::Key_A);
    EXPECT_FALSE(overlays->isDismissing());
    const QPoint spot = left->geometry().center();
    ASSERT_TRUE(test::xdotool(
        {"mousemove", QString::number(spot.x()), QString::number(spot.y()), "click", "1"}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return overlays->isDismissing(); }, 3000));
    EXPECT_EQ(dismissals, 1);
    EXPECT_EQ(sounds.departures, 1);
    for (OverlayView* view : overlays->views())
        EXPECT_TRUE(view->isDismissing());

    // During the fade-out keys, clicks and presents do nothing.
    overlays->present(prompt, [&] { ++dropped; });
    EXPECT_EQ(overlays->generation(), 1u);
    EXPECT_EQ(sounds.arrivals, 1);
    QTest::keyClick(mainPanel(), Qt::Key_B);
    QTest::mouseClick(otherPanel(), Qt::LeftButton);
    EXPECT_EQ(dismissals, 1);
    EXPECT_EQ(sounds.departures, 1);

    // The panels stay for the 6.5 s of the fade-out, then go.
    at(7.4 + 6.4);
    EXPECT_TRUE(overlays->isPresenting());
    std::vector<QPointer<OverlayPanel>> panels(overlays->panels().begin(),
                                               overlays->panels().end());
    at(7.4 + 6.6);
    EXPECT_FALSE(overlays->isPresenting());
    EXPECT_TRUE(overlays->panels().empty());
    for (const auto& p : panels)
        EXPECT_TRUE(!p || !p->isVisible());
    EXPECT_EQ(QWidget::keyboardGrabber(), nullptr);
    EXPECT_EQ(dismissals, 1);
    EXPECT_EQ(dropped, 0);
}

TEST_F(OverlayDisplay, AnEarlierOverlaysTimersAndCallbacksLeaveTheNextAlone) {
    present();
    at(8.0);
    QTest::keyClick(mainPanel(), Qt::Key_Space); // removal due at 14.5 s
    const auto staleEscape = mainPanel()->onEscape;
    const auto generation = overlays->generation();
    QTest::keyClick(otherPanel(), Qt::Key_Escape); // during the fade-out: gone, no second call
    EXPECT_FALSE(overlays->isPresenting());

    int laterDismissals = 0;
    clock.advance(1.0);
    overlays->present(prompt, [&] { ++laterDismissals; });
    EXPECT_EQ(overlays->generation(), generation + 1);
    at(15.0); // past the first overlay's removal
    EXPECT_TRUE(overlays->isPresenting());
    EXPECT_FALSE(overlays->isDismissing());
    staleEscape(); // a callback of the first overlay
    EXPECT_TRUE(overlays->isPresenting());
    EXPECT_EQ(dismissals, 1);
    at(600.5); // past the first overlay's safety time-out
    EXPECT_TRUE(overlays->isPresenting());
    EXPECT_EQ(laterDismissals, 0);
    at(608.9);
    EXPECT_TRUE(overlays->isPresenting());
    at(609.1); // the second one's own, 600 s after it came at 9 s, with its onDismiss
    EXPECT_FALSE(overlays->isPresenting());
    EXPECT_EQ(laterDismissals, 1);
    EXPECT_EQ(sounds.departures, 1) << "the safety removal is silent";
}

TEST_F(OverlayDisplay, CtrlQQuitsButAPlainQIsAnOrdinaryKey) {
    present();
    QTimer::singleShot(0, [&] { QTest::keyClick(mainPanel(), Qt::Key_Q, Qt::ControlModifier); });
    QTimer::singleShot(3000, [] { QCoreApplication::exit(1); }); // no quit
    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_FALSE(overlays->isDismissing());

    at(8.0);
    QTest::keyClick(mainPanel(), Qt::Key_Q);
    EXPECT_TRUE(overlays->isDismissing());
}

TEST_F(OverlayDisplay, RemovingAMonitorTakesTheOverlayAwayWithoutCallingBack) {
    present();
    QSignalSpy removed(overlays.get(), &OverlayManager::removedByScreenChange);
    struct Restore {
        ~Restore() {
            QProcess::execute("xrandr", {"--setmonitor", "R", "1920/508x1080/286+1920+0", "none"});
            if (!QTest::qWaitFor([] { return QGuiApplication::screens().size() == 2; }, 5000))
                ADD_FAILURE() << "monitor R did not come back";
        }
    } restore;
    ASSERT_EQ(QProcess::execute("xrandr", {"--delmonitor", "R"}), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !overlays->isPresenting(); }, 5000));
    EXPECT_EQ(removed.count(), 1);
    EXPECT_EQ(dismissals, 0);
    EXPECT_EQ(sounds.departures, 0);
}

TEST_F(OverlayDisplay, ViewDrawsTheLayersInTurnAndOnlyRepaintsTheText) {
    world->state.setTheme(VelmorTheme::forest);
    present(OverlayScope::thisScreen);
    OverlayView* view = mainView();
    const ThemeInfo& forest = themeInfo(VelmorTheme::forest);
    const QColor background =
        QColor::fromRgbF(float(forest.overlayColor.red), float(forest.overlayColor.green),
                         float(forest.overlayColor.blue));

    // Text block: 80 px each side, centred vertically with the attribution 14 px below.
    const QRect text = view->textRect(), attribution = view->attributionRect();
    EXPECT_EQ(text.left(), 80);
    EXPECT_EQ(text.width(), view->width() - 160);
    EXPECT_EQ(attribution.top(), text.bottom() + 1 + 14);
    EXPECT_NEAR((text.top() + attribution.bottom()) / 2.0, view->height() / 2.0, 1.0);
    EXPECT_EQ(QFontInfo(loraItalic(36)).family(), QStringLiteral("Lora"));

    // What the X server shows on R (no compositor here: the window itself is opaque).
    auto onScreen = [&] { return right->grabWindow(0).toImage(); };
    auto inkIn = [&](const QRect& area) {
        return test::pixelsAwayFrom(onScreen(), background.rgb(), 0, area, 2);
    };
    const QRect whole = view->rect();
    at(1.75);
    EXPECT_NEAR(serverOpacity(mainPanel()), view->opacities().background, 0.01);
    EXPECT_TRUE(view->isAnimating());
    at(4.0); // nothing moves between the background and the text: no frames
    EXPECT_FALSE(view->isAnimating());
    EXPECT_EQ(inkIn(whole), 0);
    at(5.5);
    EXPECT_TRUE(view->isAnimating());
    EXPECT_GT(inkIn(text), 50);
    EXPECT_EQ(inkIn(attribution), 0);
    at(7.5);
    EXPECT_FALSE(view->isAnimating());
    const int textInk = inkIn(text);
    EXPECT_GT(inkIn(attribution), 20);
    EXPECT_EQ(inkIn(whole), textInk + inkIn(attribution)) << "nothing drawn outside the block";
    EXPECT_EQ(view->fullRepaintsAfterFirst(), 0);

    // A new theme recolours the overlay.
    world->state.setTheme(VelmorTheme::ember);
    const ThemeInfo& ember = themeInfo(VelmorTheme::ember);
    QTest::qWait(50);
    const QColor corner = onScreen().pixelColor(2, 2);
    EXPECT_NEAR(corner.redF(), ember.overlayColor.red, 0.01);
    EXPECT_NEAR(corner.greenF(), ember.overlayColor.green, 0.01);
}

TEST_F(OverlayDisplay, ReduceMotionShowsEverythingAtOnceAndKeepsTheTimings) {
    reduceMotion = true;
    present(OverlayScope::thisScreen);
    at(0.1);
    EXPECT_EQ(mainView()->shownOpacities(), (OverlayOpacities{1, 1, 1}));
    EXPECT_DOUBLE_EQ(serverOpacity(mainPanel()), 1.0);
    EXPECT_FALSE(mainView()->isAnimating());
    at(5.0);
    QTest::keyClick(mainPanel(), Qt::Key_Space);
    EXPECT_FALSE(overlays->isDismissing()) << "input still waits 7.3 s";
    at(8.0);
    QTest::keyClick(mainPanel(), Qt::Key_Space);
    at(8.1);
    EXPECT_EQ(mainView()->shownOpacities(), (OverlayOpacities{0, 0, 0}));
    EXPECT_TRUE(overlays->isPresenting()) << "panels stay 6.5 s";
    at(14.6);
    EXPECT_FALSE(overlays->isPresenting());
}

TEST_F(OverlayDisplay, MainScreenFollowsTheActiveWindowElseThePointer) {
    DesktopMainScreen desktop;
    QCursor::setPos(right->geometry().center());
    QTest::qWait(30);
    EXPECT_EQ(desktop.screen(), right);
    QCursor::setPos(left->geometry().center());
    QTest::qWait(30);
    EXPECT_EQ(desktop.screen(), left);

    // A window on R reported active the way a window manager reports it.
    QWidget window;
    window.setGeometry(QRect(right->geometry().topLeft() + QPoint(100, 100), QSize(300, 200)));
    window.show();
    QTest::qWait(50);
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    ASSERT_NE(x11, nullptr);
    xcb_connection_t* c = x11->connection();
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const xcb_atom_t atom = test::internAtom(c, "_NET_ACTIVE_WINDOW");
    const xcb_window_t active = xcb_window_t(window.winId());
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, root, atom, XCB_ATOM_WINDOW, 32, 1, &active);
    xcb_flush(c);
    EXPECT_EQ(desktop.screen(), right);
    xcb_delete_property(c, root, atom);
    xcb_flush(c);
    EXPECT_EQ(desktop.screen(), left);
}

TEST_F(OverlayDisplay, AnOverlayClosesAnOpenMenuAndEscapeLeavesTheShortcutWorking) {
    // The desktop's hot keys live as long as the process: the shortcut registry keeps them.
    static const std::unique_ptr<shortcuts::HotKeyService> hotKeys = makeSystemHotKeys();
    ASSERT_TRUE(hotKeys->isAvailable());
    shortcuts::GlobalShortcuts::initialize(world->store, *hotKeys);
    const shortcuts::Name& name = shortcuts::triggerVelmoring();
    shortcuts::GlobalShortcuts::setShortcut(
        shortcuts::Shortcut(shortcuts::Key::g, Qt::ControlModifier | Qt::ShiftModifier), name);
    int fired = 0;
    shortcuts::GlobalShortcuts::onKeyUp(name, [&] { ++fired; });
    const auto pressShortcut = [&](int expected) {
        return test::xdotool({"key", "ctrl+shift+g"}) &&
               QTest::qWaitFor([&] { return fired == expected; }, 3000);
    };
    ASSERT_TRUE(pressShortcut(1));

    TrayMenu tray(world->state, world->notifications, [] {});
    tray.menu()->popup(right->geometry().center());
    ASSERT_TRUE(QTest::qWaitFor([&] { return tray.menu()->isVisible(); }, 3000));
    QTest::qWait(100);
    present();
    EXPECT_FALSE(tray.menu()->isVisible());
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_TRUE(mainPanel()->hasKeyboardGrab());

    // Escape during the fade-in: gone at once, with the call-back but no departure sound.
    ASSERT_TRUE(test::xdotool({"key", "Escape"}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !overlays->isPresenting(); }, 3000));
    EXPECT_TRUE(overlays->panels().empty());
    EXPECT_EQ(dismissals, 1);
    EXPECT_EQ(sounds.departures, 0);
    QTest::qWait(100);
    EXPECT_FALSE(tray.menu()->isVisible());
    // The shortcut alone would pass with a grab of our own left behind: ask the server.
    EXPECT_FALSE(keyboardGrabbedByAnyone()) << "nobody is left holding the keyboard";
    EXPECT_TRUE(pressShortcut(2)) << "the global shortcut works again";
}
