#include "ui/sync/SyncSettingsBlock.h"
#include "StateWorld.h"
#include "TestApp.h"
#include "core/sync/SyncService.h"
#include "core/sync/SyncSettings.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace velmor;

// The user chooses a folder in the block's dialog: sync starts at once and the library reaches
// the folder; "Stop syncing" ends it at once, and the block says so.
TEST(SyncSettingsBlock, ChoosingAndStoppingSignInAndOut) {
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    ASSERT_TRUE(test::guiApplication()) << "needs an X display";
    test::StateWorld world;
    SyncSettings settings(world.state);
    SyncService sync(settings, world.state, world.library, world.home.dataDir() + "/resolved");
    sync.start();
    world.library.addPrompt(test::userPrompt("MINE"));
    world.clock.advance(1);
    const QString folder = world.home.path() + "/Nextcloud";
    QDir().mkpath(folder);

    QWidget window;
    SyncSettingsBlock block(settings, &window);
    window.resize(480, 200);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    auto* label = block.findChild<QLabel*>("syncFolderLabel");
    auto* choose = block.findChild<QPushButton*>("syncChooseButton");
    auto* stop = block.findChild<QPushButton*>("syncStopButton");
    ASSERT_TRUE(label && choose && stop);
    EXPECT_EQ(label->text(), "Off");
    EXPECT_FALSE(stop->isEnabled());

    QTest::mouseClick(choose, Qt::LeftButton);
    QFileDialog* dialog = nullptr;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (dialog = window.findChild<QFileDialog*>()); }));
    EXPECT_EQ(dialog->windowModality(), Qt::WindowModal);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
    dialog->setDirectory(folder); // as if the user had gone there
    auto* buttons = dialog->findChild<QDialogButtonBox*>();
    ASSERT_TRUE(buttons && buttons->button(QDialogButtonBox::Open));
    QTest::mouseClick(buttons->button(QDialogButtonBox::Open), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return settings.folder().has_value(); }));

    EXPECT_EQ(settings.folder(), folder);
    EXPECT_EQ(label->text(), folder);
    EXPECT_TRUE(stop->isEnabled());
    world.clock.advance(1);
    const auto copy = decodeLibrary(test::readFile(folder + "/Velmor/user-library.json"));
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->userPrompts.value(0).id, "MINE");

    QTest::mouseClick(stop, Qt::LeftButton);
    EXPECT_EQ(label->text(), "Off");
    EXPECT_FALSE(settings.folder());
    world.library.addPrompt(test::userPrompt("AFTER"));
    world.clock.advance(1);
    EXPECT_EQ(decodeLibrary(test::readFile(folder + "/Velmor/user-library.json")), copy);
}
