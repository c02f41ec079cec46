#include "../Pixels.h"
#include "ShownWindow.h"
#include "core/screens/GeneralRules.h"
#include "core/screens/RecorderRules.h"
#include "core/screens/SidebarSection.h"
#include "platform/x11/KeyCodes.h"
#include "platform/x11/X11HotKeys.h"
#include "ui/controls/SelectableItem.h"
#include "ui/controls/TextBlock.h"
#include "ui/controls/VelmorSegmentedPicker.h"
#include "ui/screens/GeneralScreen.h"
#include "ui/screens/ShortcutRecorder.h"
#include "ui/screens/TimerScreen.h"
#include "ui/window/SidebarView.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>

#include <xcb/xcb.h>

#include <algorithm>

using namespace velmor;
using shortcuts::GlobalShortcuts;
using shortcuts::Shortcut;

namespace {

class MainWindowTest : public test::ShownWindow {
protected:
    void clickRow(SidebarSection section) {
        QTest::mouseClick(window->sidebar()->row(section), Qt::LeftButton);
    }
};

} // namespace

TEST_F(MainWindowTest, SectionsGiveFreshScreens) {
    EXPECT_EQ(window->selection(), SidebarSection::home);
    EXPECT_EQ(window->currentScreen()->objectName(), "homeScreen");
    EXPECT_EQ(window->size(), QSize(600, 450));

    clickRow(SidebarSection::content);
    EXPECT_EQ(window->selection(), SidebarSection::content);
    EXPECT_EQ(window->currentScreen(), contentPage.data());
    QPointer<QWidget> library = window->currentScreen();

    // The same section again: the screen stays.
    clickRow(SidebarSection::content);
    EXPECT_EQ(window->currentScreen(), library.data());

    clickRow(SidebarSection::timer);
    clickRow(SidebarSection::content);
    QTest::qWait(50);
    EXPECT_TRUE(library.isNull()) << "leaving a section discards its screen";

    // Keyboard: Space selects (the accessibility walk checks which row reads as selected).
    window->sidebar()->row(SidebarSection::about)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(window->sidebar()->row(SidebarSection::about), Qt::Key_Space);
    EXPECT_EQ(window->selection(), SidebarSection::about);

    // Ctrl+, opens the general settings.
    QTest::keyClick(window.get(), Qt::Key_Comma, Qt::ControlModifier);
    EXPECT_EQ(window->selection(), SidebarSection::general);
    // Ctrl+Q and "Quit Velmor" at the sidebar's foot ask to quit: without a tray, the way out.
    QSignalSpy quit(window.get(), &MainWindow::quitRequested);
    QTest::keyClick(window.get(), Qt::Key_Q, Qt::ControlModifier);
    QTest::mouseClick(window->sidebar()->quitButton(), Qt::LeftButton);
    EXPECT_EQ(quit.count(), 2);

    // Closing hides, and the window opens at Home again.
    window->close();
    EXPECT_FALSE(window->isVisible());
    window->bringToFront();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    EXPECT_EQ(window->selection(), SidebarSection::home);
    EXPECT_EQ(window->currentScreen()->objectName(), "homeScreen");

    window->resize(300, 200);
    QTest::qWait(100);
    EXPECT_GE(window->width(), 480);
    EXPECT_GE(window->height(), 350);
}

TEST_F(MainWindowTest, StatusWidgetSendsCommands) {
    QSignalSpy start(&world.notifications, &Commands::startSession);
    QSignalSpy stop(&world.notifications, &Commands::stopSession);
    SessionStatusWidget* status = window->sidebar()->statusWidget();

    world.state.setState(VelmorState::idle());
    QTest::mouseClick(status, Qt::LeftButton);
    EXPECT_EQ(start.count(), 1);
    EXPECT_EQ(stop.count(), 0);
    EXPECT_EQ(world.state.state(), VelmorState::idle()) << "the widget never changes the state";

    // Which states count as running is the core rule's; here, that the widget follows it.
    world.state.setState(VelmorState::velmoring("x"));
    EXPECT_EQ(status->accessibleName(), "Velmor is active. Tap to pause.");
    QTest::mouseClick(status, Qt::LeftButton);
    EXPECT_EQ(stop.count(), 1);
    EXPECT_EQ(start.count(), 1);
    status->setFocus(Qt::TabFocusReason);
    QTest::keyClick(status, Qt::Key_Return);
    EXPECT_EQ(stop.count(), 2);
}

TEST_F(MainWindowTest, SegmentedPickerWritesAndFollows) {
    clickRow(SidebarSection::timer);
    auto* timer = screen<TimerScreen>();
    ASSERT_TRUE(timer);
    ui::VelmorSegmentedPicker* picker = timer->modePicker();
    const auto segments = picker->segments();
    ASSERT_EQ(segments.size(), 2);
    EXPECT_EQ(segments[0]->width(), segments[1]->width()) << "two equal halves";

    QTest::mouseClick(segments[1], Qt::LeftButton);
    EXPECT_EQ(world.state.intervalMode(), IntervalMode::random);
    EXPECT_TRUE(timer->randomMinInput()->isVisible());
    EXPECT_FALSE(timer->fixedInput()->isVisible());

    world.state.setIntervalMode(IntervalMode::fixed);
    EXPECT_EQ(picker->selectedIndex(), 0) << "follows a change made elsewhere";

    // Random range: a maximum picked at or below the minimum moves up at once.
    world.state.setIntervalMode(IntervalMode::random);
    world.state.setRandomMinMinutes(30);
    QComboBox* maxNumber = timer->randomMaxInput()->numberMenu();
    maxNumber->setCurrentIndex(3); // 20
    emit maxNumber->activated(3);
    EXPECT_EQ(world.state.randomMaxMinutes(), 45);
    EXPECT_EQ(maxNumber->currentText(), "45");
    // What the next start reads: the corrected maximum, not the one picked.
    AppState restarted(world.store, world.notifications, SoundPreparer::shared());
    EXPECT_EQ(restarted.randomMaxMinutes(), 45);

    // The general screen's picker sets the appearance (the colours' fade is WindowMotionTest's).
    clickRow(SidebarSection::general);
    auto* general = screen<GeneralScreen>();
    ASSERT_TRUE(general);
    const auto thirds = general->appearancePicker()->segments();
    ASSERT_EQ(thirds.size(), 3);
    QTest::mouseClick(thirds[2], Qt::LeftButton);
    EXPECT_EQ(world.state.appearanceMode(), AppearanceMode::dark);
}

TEST_F(MainWindowTest, LaunchAtLoginWritesAValidEntry) {
    clickRow(SidebarSection::general);
    auto* general = screen<GeneralScreen>();
    ASSERT_TRUE(general);
    QCheckBox* toggle = general->launchAtLoginToggle();
    EXPECT_FALSE(toggle->isChecked());

    QTest::mouseClick(toggle, Qt::LeftButton, {}, QPoint(6, toggle->height() / 2));
    ASSERT_TRUE(toggle->isChecked());
    const QString path = XdgAutostart::entryPath();
    EXPECT_TRUE(path.startsWith(world.home.configDir()));
    const QByteArray entry = test::readFile(path);
    EXPECT_TRUE(entry.contains("Exec=\"/opt/Velmor Apps/velmor\" --background\n"))
        << entry.constData();
    EXPECT_EQ(QProcess::execute(QStringLiteral("desktop-file-validate"), {path}), 0);

    QTest::mouseClick(toggle, Qt::LeftButton, {}, QPoint(6, toggle->height() / 2));
    EXPECT_FALSE(toggle->isChecked());
    EXPECT_FALSE(QFile::exists(path));

    // A desktop that refuses: the checkbox snaps back to the real state.
    QDir(world.home.configDir() + "/autostart").removeRecursively();
    test::writeFile(world.home.configDir() + "/autostart", "not a folder");
    QTest::mouseClick(toggle, Qt::LeftButton, {}, QPoint(6, toggle->height() / 2));
    EXPECT_FALSE(toggle->isChecked());

    // Calls: turning the pause on asks the calendars again, each time.
    QCheckBox* calls = general->pauseDuringCallsToggle();
    ASSERT_TRUE(calls->isChecked());
    calls->click();
    calls->click();
    QCoreApplication::processEvents();
    EXPECT_TRUE(world.state.pauseDuringCalls());
    EXPECT_EQ(calendarRequests, 1);
    // Full screen has a switch of its own, stored at once.
    auto* fullScreen = general->findChild<QCheckBox*>(QStringLiteral("waitWhileFullScreen"));
    ASSERT_TRUE(fullScreen && fullScreen->isChecked());
    fullScreen->click();
    EXPECT_FALSE(world.state.waitWhileFullScreen());
}

TEST_F(MainWindowTest, RecorderStoresRefusesAndAsks) {
    clickRow(SidebarSection::general);
    auto* general = screen<GeneralScreen>();
    ASSERT_TRUE(general);
    ShortcutRecorder* recorder = general->recorder();
    EXPECT_FALSE(recorder->isRecording()) << "opening the screen does not start recording";
    EXPECT_EQ(recorder->text(), "Ctrl+Shift+G");
    const Shortcut old(5, shortcuts::carbon::command | shortcuts::carbon::shift);

    int alerts = 0;
    bool force = false;
    recorder->setAlert([&](const QString&, const QString& informative, bool offersForce) {
        ++alerts;
        EXPECT_TRUE(offersForce);
        EXPECT_FALSE(informative.isEmpty());
        return force;
    });

    QTest::mouseClick(recorder, Qt::LeftButton, {}, QPoint(20, recorder->height() / 2));
    ASSERT_TRUE(recorder->isRecording());
    EXPECT_TRUE(GlobalShortcuts::isPaused());
    xdotool({"key", "k"});
    EXPECT_TRUE(recorder->isRecording()) << "a plain letter only beeps";
    EXPECT_EQ(GlobalShortcuts::getShortcut(shortcuts::triggerVelmoring()), old);

    xdotool({"key", "ctrl+alt+k"});
    const Shortcut ctrlAltK(0x28, shortcuts::carbon::command | shortcuts::carbon::option);
    EXPECT_EQ(GlobalShortcuts::getShortcut(shortcuts::triggerVelmoring()), ctrlAltK);
    EXPECT_FALSE(recorder->isRecording());
    EXPECT_FALSE(GlobalShortcuts::isPaused());
    EXPECT_EQ(recorder->text(), "Ctrl+Alt+K");
    EXPECT_TRUE(hotKeys.isGrabbed(ctrlAltK)) << "the new shortcut works at once";

    // A combination the desktop holds: the alert; OK stores nothing, "Use Anyway" stores it.
    const Shortcut ctrlAltT(0x11, shortcuts::carbon::command | shortcuts::carbon::option);
    hotKeys.taken.insert(ctrlAltT);
    QTest::mouseClick(recorder, Qt::LeftButton, {}, QPoint(20, recorder->height() / 2));
    xdotool({"key", "ctrl+alt+t"});
    EXPECT_EQ(alerts, 1);
    EXPECT_EQ(GlobalShortcuts::getShortcut(shortcuts::triggerVelmoring()), ctrlAltK);
    EXPECT_TRUE(recorder->isRecording()) << "recording goes on after the alert";
    force = true;
    xdotool({"key", "ctrl+alt+t"});
    EXPECT_EQ(alerts, 2);
    EXPECT_EQ(GlobalShortcuts::getShortcut(shortcuts::triggerVelmoring()), ctrlAltT);

    // Our own menu command: Ctrl+, opens the settings, so it cannot be recorded.
    recorder->setAlert([&](const QString& text, const QString&, bool offersForce) {
        EXPECT_FALSE(offersForce);
        EXPECT_TRUE(text.contains("Open settings")) << text.toStdString();
        ++alerts;
        return false;
    });
    QTest::mouseClick(recorder, Qt::LeftButton, {}, QPoint(20, recorder->height() / 2));
    xdotool({"key", "ctrl+comma"});
    EXPECT_EQ(alerts, 3);
    EXPECT_EQ(GlobalShortcuts::getShortcut(shortcuts::triggerVelmoring()), ctrlAltT);

    // Backspace clears: the default's key then holds false, and the box shows its placeholder.
    xdotool({"key", "BackSpace"});
    EXPECT_EQ(GlobalShortcuts::getShortcut(shortcuts::triggerVelmoring()), std::nullopt);
    EXPECT_EQ(recorder->accessibleName(), "Trigger velmoring shortcut, not set");
    xdotool({"key", "Escape"});
    EXPECT_FALSE(recorder->isRecording());
    EXPECT_FALSE(GlobalShortcuts::isPaused());
}

TEST_F(MainWindowTest, RecorderSeesACombinationAnotherProgramHolds) {
    // Another program on the display holds Ctrl+Alt+T, as a terminal launcher does.
    const std::uint8_t keyT = xKeyCodeForVirtualKey(0x11);
    xcb_connection_t* other = xcb_connect(nullptr, nullptr);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(other)).data->root;
    xcb_grab_key(other, 1, root, XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1, keyT, XCB_GRAB_MODE_ASYNC,
                 XCB_GRAB_MODE_ASYNC);
    xcb_flush(other);
    const auto desktop = X11HotKeys::create();
    ASSERT_TRUE(desktop);
    GlobalShortcuts::initialize(world.store, *desktop);
    GlobalShortcuts::reset({shortcuts::triggerVelmoring()});

    clickRow(SidebarSection::general);
    ShortcutRecorder* recorder = screen<GeneralScreen>()->recorder();
    QStringList alerts;
    recorder->setAlert([&](const QString& text, const QString&, bool offersForce) {
        alerts << text;
        return offersForce; // "Use Anyway"
    });
    QTest::mouseClick(recorder, Qt::LeftButton, {}, QPoint(20, recorder->height() / 2));
    xdotool({"key", "ctrl+alt+t"});
    EXPECT_EQ(alerts, QStringList{RecorderRules::usedBySystem()});
    const Shortcut ctrlAltT(0x11, shortcuts::carbon::command | shortcuts::carbon::option);
    EXPECT_EQ(GlobalShortcuts::getShortcut(shortcuts::triggerVelmoring()), ctrlAltT);

    xcb_disconnect(other);
    GlobalShortcuts::initialize(world.store, hotKeys);
}

TEST_F(MainWindowTest, WithoutDesktopShortcutsTheCardSaysWhatToBindInstead) {
    hotKeys.available = false;
    GeneralScreen general(WindowServices{world.state, world.notifications}, {});
    general.resize(560, 900);
    general.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&general));
    EXPECT_EQ(general.recorder(), nullptr) << "no recorder for a shortcut that cannot fire";
    auto* line = qobject_cast<ui::TextBlock*>(general.shortcutUnavailableLine());
    ASSERT_TRUE(line);
    EXPECT_EQ(line->text(), RecorderRules::unavailableLine());
    // Drawn in full inside the card: wrapped to its width, with ink on its pixels.
    ASSERT_TRUE(line->isVisible());
    EXPECT_GE(line->height(), line->heightForWidth(line->width()));
    EXPECT_TRUE(general.rect().contains(line->geometry().translated(line->parentWidget()->pos())));
    const QImage pixels = line->grab().toImage();
    EXPECT_GT(test::pixelsAwayFrom(pixels, pixels.pixel(pixels.width() - 1, pixels.height() - 1)),
              200);
    // Nor does a tray host run here: the note under the card says what works instead.
    const auto blocks = general.findChildren<ui::TextBlock*>();
    EXPECT_TRUE(std::any_of(blocks.begin(), blocks.end(), [](const ui::TextBlock* block) {
        return block->text() == GeneralRules::footnote(false);
    }));
}
