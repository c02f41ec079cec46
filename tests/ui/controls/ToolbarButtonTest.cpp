#include "ui/controls/ToolbarButton.h"
#include "TestApp.h"

#include <QApplication>
#include <QCursor>
#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

using namespace velmor;

namespace {

// The colour of the button's fill, read from what the widget paints (in the padding, clear of
// the icon and text).
QColor fillPixel(QWidget& widget) {
    const QImage image = widget.grab().toImage();
    return image.pixelColor(3, image.height() / 2);
}

} // namespace

TEST(ToolbarButton, ClicksKeysAndHoverFade) {
    if (!test::guiApplication())
        GTEST_SKIP() << "no display";
    int runs = 0;
    QWidget window;
    window.resize(300, 120);
    auto* button = new ui::ToolbarButton(
        QStringLiteral("Export"), QStringLiteral("square.and.arrow.up"), [&] { ++runs; }, &window);
    button->move(20, 20);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(runs, 1);
    button->setFocus(Qt::TabFocusReason);
    QTest::keyClick(button, Qt::Key_Space);
    QTest::keyClick(button, Qt::Key_Return);
    QTest::qWait(300); // Return animates the press
    EXPECT_EQ(runs, 3);
    button->clearFocus();

    const QColor clear = fillPixel(*button);
    QCursor::setPos(button->mapToGlobal(QPoint(button->width() / 2, button->height() / 2)));
    QTRY_VERIFY_WITH_TIMEOUT(button->isHovered(), 2000);
    QTest::qWait(250); // past the 0.15 s fade
    const QColor hovered = fillPixel(*button);
    EXPECT_NE(hovered.rgb(), clear.rgb()) << "a hovered button shows a fill";

    QCursor::setPos(window.mapToGlobal(QPoint(280, 110)));
    QTRY_VERIFY_WITH_TIMEOUT(!button->isHovered(), 2000);
    QTest::qWait(250);
    EXPECT_EQ(fillPixel(*button).rgb(), clear.rgb()) << "the fill is gone once the pointer left";
}
