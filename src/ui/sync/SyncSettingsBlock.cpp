#include "ui/sync/SyncSettingsBlock.h"

#include "core/sync/SyncService.h"
#include "core/sync/SyncSettings.h"
#include "ui/controls/Style.h"
#include "ui/controls/TextBlock.h"
#include "ui/controls/TextButton.h"

#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace velmor {

using namespace ui;
using Tone = TextBlock::Tone;

namespace {
TextButton* pillButton(const QString& text, const QString& name, QWidget* parent) {
    auto* button = new TextButton(text, regularFont(12), Tone::primary, parent);
    button->setPill(6, 10, 4);
    button->setObjectName(name);
    return button;
}
} // namespace

SyncSettingsBlock::SyncSettingsBlock(SyncSettings& settings, SyncService& sync, QWidget* parent)
    : QWidget(parent), settings_(settings), sync_(sync) {
    auto* caption = new TextBlock(tr("Sync"), regularFont(12), Tone::secondary, this);
    caption->setObjectName(QStringLiteral("syncCaption"));
    folder_ = new TextBlock(QString(), regularFont(13), Tone::primary, this);
    folder_->setObjectName(QStringLiteral("syncFolderLabel"));
    status_ = new TextBlock(QString(), regularFont(12), Tone::secondary, this);
    status_->setObjectName(QStringLiteral("syncStatus"));
    status_->setLineSpacing(2);

    auto* choose = pillButton(tr("Choose folder..."), QStringLiteral("syncChooseButton"), this);
    stop_ = pillButton(tr("Stop syncing"), QStringLiteral("syncStopButton"), this);
    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(8);
    buttons->addWidget(choose);
    buttons->addWidget(stop_);
    buttons->addStretch();

    auto* help = new TextBlock(tr("Shares the theme, sound, fixed interval, your prompts, "
                                  "favourites and set-aside prompts with your other computers "
                                  "through a folder that a sync program such as Syncthing or "
                                  "Nextcloud keeps equal."),
                               regularFont(11), Tone::tertiary, this);
    help->setObjectName(QStringLiteral("syncHelp"));
    help->setLineSpacing(2);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    layout->addWidget(caption);
    layout->addWidget(folder_);
    layout->addWidget(status_);
    layout->addLayout(buttons);
    layout->addWidget(help);

    connect(choose, &QAbstractButton::clicked, this, &SyncSettingsBlock::chooseFolder);
    connect(stop_, &QAbstractButton::clicked, this, [this] { settings_.setFolder(std::nullopt); });
    connect(&settings_, &SyncSettings::folderChanged, this, &SyncSettingsBlock::refresh);
    connect(&sync_, &SyncService::statusChanged, this, &SyncSettingsBlock::refresh);
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
    folder_->setText(folder ? QDir::toNativeSeparators(*folder) : tr("Off"));
    stop_->setVisible(folder.has_value());
    const SyncStatus& status = sync_.status();
    // The status may still speak of the folder just left or chosen: it follows in a moment.
    const bool current = folder && status.folder == *folder;
    status_->setText(current ? describeState(status) : QString());
    status_->setVisible(current);
    QStringList problems;
    if (current)
        for (const SyncStatus::Problem& problem : status.problems)
            problems << describeProblem(problem);
    // Files sync leaves alone and what it could not do, one text each, under the status: the
    // user may have to act on them.
    if (problems != shownProblems_) {
        shownProblems_ = problems;
        qDeleteAll(std::exchange(problems_, {}));
        auto* column = static_cast<QVBoxLayout*>(layout());
        const int at = column->indexOf(status_) + 1;
        for (const QString& line : std::as_const(problems)) {
            auto* text = new TextBlock(line, regularFont(12), Tone::primary, this);
            text->setObjectName(QStringLiteral("syncProblem"));
            text->setLineSpacing(2);
            column->insertWidget(at + int(problems_.size()), text);
            problems_ << text;
        }
    }
}

} // namespace velmor
