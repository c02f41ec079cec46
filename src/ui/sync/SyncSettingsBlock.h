#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace velmor {

class SyncSettings;

// The general screen's sync block: the chosen sync folder (or "Off"), a button to choose one,
// which turns sync on, and one to stop syncing.
class SyncSettingsBlock final : public QWidget {
    Q_OBJECT
public:
    explicit SyncSettingsBlock(SyncSettings& settings, QWidget* parent = nullptr);

    // Opens the folder chooser, window-modal; choosing a folder starts syncing through it.
    void chooseFolder();

private:
    void refresh();

    SyncSettings& settings_;
    QLabel* folderLabel_;
    QPushButton* stopButton_;
};

} // namespace velmor
