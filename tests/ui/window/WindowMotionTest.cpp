// How the main window sizes its sidebar, lines up changing figures and moves between looks:
// everything measured on what it paints.
#include "../Pixels.h"
#include "ShownWindow.h"
#include "core/screens/SidebarSection.h"
#include "ui/controls/TextBlock.h"
#include "ui/screens/SoundScreen.h"
#include "ui/screens/ThemeScreen.h"
#include "ui/window/SidebarView.h"

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QVariantAnimation>

using namespace velmor;
using test::channelGap;

namespace {

class WindowMotionTest : public test::ShownWindow {
protected:
    // The animation with that name, held still so a test can set its moment.
    QVariantAnimation* held(const char* name) {
        auto* animation = window->findChild<QVariantAnimation*>(QString::fromLatin1(name));
        if (animation && animation->state() == QAbstractAnimation::Running)
            animation->pause();
        return animation;
    }
    QImage shot() { return test::onScreen(window.get()); }
    QImage at(QVariantAnimation* animation, int ms) {
        animation->setCurrentTime(ms);
        return shot();
    }
};

// Strictly on the way from `from` to `to` in every channel that changes by more than a little.
bool between(QRgb from, QRgb mid, QRgb to) {
    bool moved = false;
    for (int shift : {16, 8, 0}) {
        const int a = (from >> shift) & 0xff, m = (mid >> shift) & 0xff, b = (to >> shift) & 0xff;
        if (std::abs(a - b) < 6)
            continue;
        if (m <= std::min(a, b) + 1 || m >= std::max(a, b) - 1)
            return false;
        moved = true;
    }
    return moved;
}

// The first column of `image` holding anything but its top-left pixel's colour.
int firstInkColumn(const QImage& image) {
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            if (channelGap(image.pixel(x, y), image.pixel(0, 0)) > 40)
                return x;
    return image.width();
}

} // namespace

TEST_F(WindowMotionTest, SidebarOpensAtItsRowsWidthAndDragsWithinLimits) {
    SidebarView* sidebar = window->sidebar();
    EXPECT_EQ(sidebar->width(), sidebar->sizeHint().width());
    int widestRow = 0;
    for (SidebarSection section : allSidebarSections)
        widestRow = std::max(widestRow, sidebar->row(section)->sizeHint().width());
    EXPECT_GE(sidebar->width(), widestRow + 2 * SidebarWidth::rowInset);

    // A wider window gives the screen the room, not the sidebar.
    const int opened = sidebar->width();
    window->resize(900, 450);
    QTest::qWait(100);
    EXPECT_EQ(sidebar->width(), opened);

    // Dragging the edge with the real pointer: never below the minimum, never past the maximum.
    const auto drag = [&](int dx) {
        const QPoint edge = sidebar->mapToGlobal(QPoint(sidebar->width() + 1, 200));
        xdotool({"mousemove", QString::number(edge.x()), QString::number(edge.y())});
        xdotool({"mousedown", "1"});
        for (int step = 1; step <= 4; ++step)
            xdotool({"mousemove", QString::number(std::max(0, edge.x() + dx * step / 4)),
                     QString::number(edge.y())});
        xdotool({"mouseup", "1"});
    };
    drag(40);
    EXPECT_GT(sidebar->width(), opened + 20) << "the edge follows the pointer";
    drag(-300);
    EXPECT_EQ(sidebar->width(), SidebarWidth::minimum);
    drag(600);
    EXPECT_EQ(sidebar->width(), SidebarWidth::maximum);
    // A narrow window still leaves the screen its room, the sidebar giving way.
    window->resize(480, 450);
    QTest::qWait(100);
    EXPECT_EQ(sidebar->width(), SidebarWidth::minimum);
}

TEST_F(WindowMotionTest, ChangingFiguresKeepTheirPlace) {
    // The sound screen's percentage, right-aligned: 10% and 11% start their "1" at one place.
    reduceMotion = true;
    window->resize(600, 1000); // the whole screen in view, the volume row at its foot
    window->select(SidebarSection::sound);
    QTest::qWait(50);
    auto* sound = screen<SoundScreen>();
    ASSERT_NE(sound, nullptr);
    ui::TextBlock* percent = nullptr;
    for (auto* candidate : sound->findChildren<ui::TextBlock*>())
        if (candidate->text().endsWith(u'%'))
            percent = candidate;
    ASSERT_NE(percent, nullptr);
    const QFontMetrics plain(percent->font());
    ASSERT_NE(plain.horizontalAdvance(u'0'), plain.horizontalAdvance(u'1'))
        << "the face's own figures differ in width, or this proves nothing";
    world.state.setSoundVolume(0.10);
    ASSERT_EQ(percent->text(), "10%");
    const int ten = firstInkColumn(test::onScreen(percent));
    ASSERT_LT(ten, percent->width());
    world.state.setSoundVolume(0.11);
    ASSERT_EQ(percent->text(), "11%");
    EXPECT_EQ(firstInkColumn(test::onScreen(percent)), ten);
}

TEST_F(WindowMotionTest, SectionChangeCrossFades) {
    const QImage before = shot();
    window->select(SidebarSection::about);
    QVariantAnimation* fade = held("sectionFade");
    ASSERT_NE(fade, nullptr);
    ASSERT_EQ(fade->state(), QAbstractAnimation::Paused) << "a section change fades";
    EXPECT_EQ(fade->duration(), 200);
    const QImage start = at(fade, 0);
    const QImage middle = at(fade, 100);
    const QImage end = at(fade, 200);

    // Only the screen's side changes; there the old picture covers the new screen at first,
    // and halfway both show through: where only the new screen has ink, and where only the old.
    const int left = window->sidebar()->width() + 4;
    int changed = 0, halfway = 0, startMatches = 0;
    for (int y = 0; y < end.height(); y += 2)
        for (int x = left; x < end.width(); x += 2) {
            const QRgb a = before.pixel(x, y), b = end.pixel(x, y);
            if (channelGap(a, b) < 60)
                continue;
            ++changed;
            startMatches += channelGap(start.pixel(x, y), a) <= 8;
            halfway += between(a, middle.pixel(x, y), b);
        }
    ASSERT_GT(changed, 100);
    EXPECT_GT(startMatches, changed * 9 / 10);
    EXPECT_GT(halfway, changed * 8 / 10) << "new screen painted at once under a fading picture";

    // The same section again replays nothing; with less motion asked for, no fade at all.
    fade->setCurrentTime(200);
    QTest::qWait(20);
    window->select(SidebarSection::about);
    EXPECT_NE(fade->state(), QAbstractAnimation::Running);
    reduceMotion = true;
    window->select(SidebarSection::timer);
    EXPECT_NE(fade->state(), QAbstractAnimation::Running);
    EXPECT_EQ(window->currentScreen()->objectName(), "timerScreen");
}

TEST_F(WindowMotionTest, ThemeAndAppearanceFadeTheColours) {
    world.state.setTheme(VelmorTheme::espresso);
    QTest::qWait(400);
    // The selected row's accent fill, right of its label.
    SidebarRow* home = window->sidebar()->row(SidebarSection::home);
    const QPoint fill = home->mapTo(window.get(), QPoint(home->width() - 6, home->height() / 2));
    // The screen's background, in the wash.
    const QPoint ground(window->width() - 4, window->height() - 4);

    world.state.setTheme(VelmorTheme::twilight);
    QVariantAnimation* colours = held("colourFade");
    ASSERT_NE(colours, nullptr);
    ASSERT_EQ(colours->state(), QAbstractAnimation::Paused) << "a theme change fades";
    EXPECT_EQ(colours->duration(), 300);
    const QImage espresso = at(colours, 0), mid = at(colours, 150), twilight = at(colours, 300);
    EXPECT_GT(channelGap(espresso.pixel(fill), twilight.pixel(fill)), 12);
    EXPECT_TRUE(between(espresso.pixel(fill), mid.pixel(fill), twilight.pixel(fill)))
        << std::hex << espresso.pixel(fill) << " " << mid.pixel(fill) << " "
        << twilight.pixel(fill);
    colours->setCurrentTime(300);

    // Light to dark passes through the greys between.
    world.state.setAppearanceMode(AppearanceMode::dark);
    ASSERT_EQ(held("colourFade"), colours);
    ASSERT_EQ(colours->state(), QAbstractAnimation::Paused) << "an appearance change fades";
    const QImage light = at(colours, 0), dusk = at(colours, 150), dark = at(colours, 300);
    EXPECT_GT(channelGap(light.pixel(ground), dark.pixel(ground)), 100);
    EXPECT_TRUE(between(light.pixel(ground), dusk.pixel(ground), dark.pixel(ground)));

    // Less motion: the new colours at once.
    reduceMotion = true;
    world.state.setAppearanceMode(AppearanceMode::light);
    EXPECT_NE(colours->state(), QAbstractAnimation::Running);
    EXPECT_LE(channelGap(shot().pixel(ground), light.pixel(ground)), 2);
}

TEST_F(WindowMotionTest, TilesLineUpWithTheCaptions) {
    // The tiles' glow lies outside their drawn edge; the edge itself meets the column's.
    reduceMotion = true;
    for (SidebarSection section : {SidebarSection::theme, SidebarSection::sound}) {
        window->select(section);
        QTest::qWait(50);
        QWidget* screen = window->currentScreen();
        const auto tiles = screen->findChildren<ChoiceTile*>();
        ASSERT_EQ(tiles.size(), 6);
        ui::TextBlock* caption = screen->findChildren<ui::TextBlock*>().first();
        const int captionLeft = caption->mapTo(screen, QPoint(0, 0)).x();
        EXPECT_EQ(captionLeft, 24);
        EXPECT_EQ(tiles[0]->mapTo(screen, QPoint(0, 0)).x() + ChoiceTile::glowMargin, captionLeft);
        EXPECT_EQ(tiles[1]->mapTo(screen, QPoint(tiles[1]->width(), 0)).x() -
                      ChoiceTile::glowMargin,
                  screen->width() - 24);
    }
}
