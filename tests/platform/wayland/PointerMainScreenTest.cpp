// The main screen where the desktop does not say which window has the focus: the screen under
// the pointer once one of our windows has seen it, else the primary screen. Run on the test
// runner's two-monitor X server, where the pointer can be placed.
#include "platform/wayland/PointerMainScreen.h"

#include "TestApp.h"

#include <QApplication>
#include <QCursor>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

using namespace velmor;

TEST(PointerMainScreen, FollowsThePointerOnceSeenElseThePrimaryScreen) {
    if (!test::guiApplication() || QGuiApplication::screens().size() < 2)
        GTEST_SKIP() << "needs a display with two monitors";
    QScreen* primary = QGuiApplication::primaryScreen();
    QScreen* other = QGuiApplication::screens().first() == primary
                         ? QGuiApplication::screens().at(1)
                         : QGuiApplication::screens().first();

    PointerMainScreen mainScreen;
    QCursor::setPos(other->geometry().center());
    QTest::qWait(50);
    // Nothing of ours has seen the pointer: its position is not known to count.
    EXPECT_FALSE(mainScreen.knowsPointer());
    EXPECT_EQ(mainScreen.screen(), primary);

    QWidget window;
    window.setGeometry(QRect(other->geometry().center() - QPoint(150, 100), QSize(300, 200)));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QCursor::setPos(window.geometry().center() + QPoint(10, 0));
    ASSERT_TRUE(QTest::qWaitFor([&] { return mainScreen.knowsPointer(); }, 3000));
    EXPECT_EQ(mainScreen.screen(), other);

    // Seen once, the pointer counts wherever it goes.
    window.hide();
    QCursor::setPos(primary->geometry().center());
    QTest::qWait(50);
    EXPECT_EQ(mainScreen.screen(), primary);
    QCursor::setPos(other->geometry().topLeft() + QPoint(5, 5));
    QTest::qWait(50);
    EXPECT_EQ(mainScreen.screen(), other);
}
