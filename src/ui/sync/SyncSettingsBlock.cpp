#include "ui/sync/SyncSettingsBlock.h"

#include "core/sync/SyncSettings.h"

#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace velmor {

SyncSettingsBlock::SyncSettingsBlock(SyncSettings& settings, QWidget* parent)
    : QWidget(parent), settings_(settings) {
    auto* caption = new QLabel(tr("Sync"), this);
    caption->setObjectName(QStringLiteral("syncCaption"));
    QFont captionFont = caption->font();
    captionFont.setBold(true);
    caption->setFont(captionFont);

    folderLabel_ = new QLabel(this);
    folderLabel_->setObjectName(QStringLiteral("syncFolderLabel"));
    folderLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    folderLabel_->setWordWrap(true);

    auto* chooseButton = new QPushButton(tr("Choose folder..."), this);
    chooseButton->setObjectName(QStringLiteral("syncChooseButton"));
    stopButton_ = new QPushButton(tr("Stop syncing"), this);
    stopButton_->setObjectName(QStringLiteral("syncStopButton"));

    auto* help = new QLabel(tr("Shares the theme, sound, fixed interval, your prompts, "
                               "favourites and set-aside prompts with your other computers "
                               "through a folder that a sync program such as Syncthing or "
                               "Nextcloud keeps equal."),
                            this);
    help->setObjectName(QStringLiteral("syncHelp"));
    help->setWordWrap(true);
    help->setForegroundRole(QPalette::PlaceholderText);

    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->addWidget(chooseButton);
    buttons->addWidget(stopButton_);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(caption);
    layout->addWidget(folderLabel_);
    layout->addLayout(buttons);
    layout->addWidget(help);

    connect(chooseButton, &QPushButton::clicked, this, &SyncSettingsBlock::chooseFolder);
    connect(stopButton_, &QPushButton::clicked, this,
            [this] { settings_.setFolder(std::nullopt); });
    connect(&settings_, &SyncSettings::folderChanged, this, &SyncSettingsBlock::refresh);
    refresh();
}

void SyncSettingsBlock::chooseFolder() {
    auto* dialog = new QFileDialog(window(), tr("Choose a sync folder"),
                                   settings_.folder().value_or(QDir::homePath()));
    dialog->setObjectName(QStringLiteral("syncFolderDialog"));
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QFileDialog::fileSelected, this,
            [this](const QString& path) { settings_.setFolder(path); });
    dialog->open();
}

void SyncSettingsBlock::refresh() {
    const auto folder = settings_.folder();
    folderLabel_->setText(folder ? QDir::toNativeSeparators(*folder) : tr("Off"));
    stopButton_->setEnabled(folder.has_value());
}

} // namespace velmor
