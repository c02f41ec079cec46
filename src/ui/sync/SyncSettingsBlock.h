#pragma once

#include <QStringList>
#include <QWidget>

namespace velmor {

class SyncService;
class SyncSettings;

namespace ui {
class TextBlock;
class TextButton;
} // namespace ui

// The general screen's sync block: the chosen sync folder (or "Off"), what sync is doing in
// words and any file it leaves alone, a button to choose a folder, which turns sync on, and one
// to stop syncing.
class SyncSettingsBlock final : public QWidget {
    Q_OBJECT
public:
    SyncSettingsBlock(SyncSettings& settings, SyncService& sync, QWidget* parent = nullptr);

    // Opens the folder chooser, window-modal; choosing a folder starts syncing through it.
    void chooseFolder();

private:
    void refresh();

    SyncSettings& settings_;
    SyncService& sync_;
    ui::TextBlock* folder_;
    ui::TextBlock* status_;
    QList<ui::TextBlock*> problems_;
    QStringList shownProblems_;
    ui::TextButton* stop_;
};

} // namespace velmor
