#pragma once

#include "../../core/shortcuts/FakeHotKeys.h"
#include "StateWorld.h"
#include "TestApp.h"
#include "core/base/Resources.h"
#include "core/shortcuts/GlobalShortcuts.h"
#include "platform/desktop/Autostart.h"
#include "ui/window/MainWindow.h"

#include <QPointer>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace velmor::test {

// The main window on the test display, light, over settings of its own; the desktop's
// shortcuts are a fake and the login item lands in the private home.
class ShownWindow : public ::testing::Test {
protected:
    void SetUp() override {
        if (!guiApplication())
            GTEST_SKIP() << "no display";
        setResourcesDir(QStringLiteral(VELMOR_RESOURCES_DIR)); // the shipped fonts
        shortcuts::GlobalShortcuts::initialize(world.store, hotKeys);
        // The name is made once per process; its default is stored afresh for each test.
        shortcuts::GlobalShortcuts::reset({shortcuts::triggerVelmoring()});
        world.state.setAppearanceMode(AppearanceMode::light);
        const auto libraryPage = [this](QWidget* parent) {
            return contentPage = new QWidget(parent);
        };
        WindowServices services{.state = world.state,
                                .commands = world.notifications,
                                .loginItem = &autostart,
                                .requestCalendarAccess = [this] { ++calendarRequests; }};
        window = std::make_unique<MainWindow>(services, libraryPage);
        window->setReducesMotion([this] { return reduceMotion; });
        window->move(40, 40);
        window->bringToFront();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        QTest::qWait(50);
    }

    template <typename T> T* screen() { return qobject_cast<T*>(window->currentScreen()); }
    // Real input through the X server, given a moment to arrive.
    static void xdotool(const QStringList& args) {
        test::xdotool(args);
        QTest::qWait(120);
    }

    StateWorld world;
    FakeHotKeys hotKeys;
    XdgAutostart autostart{QStringLiteral("/opt/Velmor Apps/velmor")};
    int calendarRequests = 0;
    QPointer<QWidget> contentPage; // the latest the window asked for
    bool reduceMotion = false;
    std::unique_ptr<MainWindow> window;
};

} // namespace velmor::test
