#include "ui/sync/SyncSettingsBlock.h"
#include "SyncWorld.h"
#include "TestApp.h"
#include "ui/controls/TextBlock.h"
#include "ui/controls/TextButton.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace velmor;
using ui::TextBlock;
using ui::TextButton;

// The user chooses a folder in the block's dialog: sync starts at once, the library reaches the
// folder and the block says so, and a file sync leaves alone is named there; "Stop syncing" ends
// it at once.
TEST(SyncSettingsBlock, ChoosingShowsWhatSyncDoesAndStoppingEndsIt) {
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    ASSERT_TRUE(test::guiApplication()) << "needs an X display";
    test::TestHome home;
    test::Computer computer(home.path() + "/here");
    computer.start();
    computer.library.addPrompt(test::userPrompt("MINE"));
    computer.settle();
    const QString folder = home.path() + "/Nextcloud";
    QDir().mkpath(folder + "/Velmor");
    ::mkfifo(QFile::encodeName(folder + "/Velmor/device-00000000000000aa.json").constData(), 0600);

    QWidget window;
    SyncSettingsBlock block(computer.settings, computer.sync, &window);
    window.resize(480, 320);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    auto* label = block.findChild<TextBlock*>("syncFolderLabel");
    auto* status = block.findChild<TextBlock*>("syncStatus");

    auto* choose = block.findChild<TextButton*>("syncChooseButton");
    auto* stop = block.findChild<TextButton*>("syncStopButton");
    ASSERT_TRUE(label && status && choose && stop);
    EXPECT_EQ(label->text(), "Off");
    EXPECT_FALSE(stop->isVisible());
    EXPECT_FALSE(status->isVisible());

    QTest::mouseClick(choose, Qt::LeftButton);
    QFileDialog* dialog = nullptr;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (dialog = window.findChild<QFileDialog*>()); }));
    EXPECT_EQ(dialog->windowModality(), Qt::WindowModal);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
    dialog->setDirectory(folder); // as if the user had gone there
    auto* buttons = dialog->findChild<QDialogButtonBox*>();
    ASSERT_TRUE(buttons && buttons->button(QDialogButtonBox::Open));
    QTest::mouseClick(buttons->button(QDialogButtonBox::Open), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return status->isVisible(); }));
    EXPECT_EQ(label->text(), folder);
    EXPECT_TRUE(stop->isVisible());
    EXPECT_EQ(status->text(), "Syncing. No other computer has written to this folder yet.");
    const auto lines = block.findChildren<TextBlock*>("syncProblem");
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0]->text().startsWith("device-00000000000000aa.json is not a regular file"))
        << lines[0]->text().toStdString();
    const QStringList files = QDir(folder + "/Velmor").entryList({"device-*.json"}, QDir::Files);
    ASSERT_EQ(files.size(), 1);
    EXPECT_TRUE(test::readFile(folder + "/Velmor/" + files[0]).contains("\"MINE\""));

    QTest::mouseClick(stop, Qt::LeftButton);
    EXPECT_EQ(label->text(), "Off");
    EXPECT_FALSE(stop->isVisible());
    EXPECT_TRUE(block.findChildren<TextBlock*>("syncProblem").isEmpty());
    const QByteArray before = test::readFile(folder + "/Velmor/" + files[0]);
    computer.library.addPrompt(test::userPrompt("AFTER"));
    computer.settle();
    EXPECT_EQ(test::readFile(folder + "/Velmor/" + files[0]), before);
}
