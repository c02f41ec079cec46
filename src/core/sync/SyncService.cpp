#include "core/sync/SyncService.h"

#include "core/base/Log.h"
#include "core/model/Catalogues.h"
#include "core/settings/AppState.h"
#include "core/sync/SyncSettings.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSemaphore>
#include <QSysInfo>
#include <QThread>

namespace velmor {

namespace {
const QString themeKey = QStringLiteral("velmor.theme");
const QString soundKey = QStringLiteral("velmor.sound");
const QString intervalKey = QStringLiteral("velmor.intervalSeconds");

// The machine's id (the same for every user and every run, different on another computer)
// with the home folder: what a copied home does not share with its original.
QString machineToken() {
    QByteArray machine;
    for (const char* path : {"/etc/machine-id", "/var/lib/dbus/machine-id"}) {
        QFile file(QString::fromLatin1(path));
        if (file.open(QIODevice::ReadOnly) && !(machine = file.readAll().trimmed()).isEmpty())
            break;
    }
    if (machine.isEmpty())
        machine = QSysInfo::machineHostName().toUtf8();
    return QString::fromLatin1(QCryptographicHash::hash(machine + '\n' + QDir::homePath().toUtf8(),
                                                        QCryptographicHash::Sha256)
                                   .toHex()
                                   .left(32));
}
} // namespace

SyncService::SyncService(SyncSettings& settings, AppState& state, UserLibrary& library,
                         FolderSyncOptions options, bool ownThread)
    : settings_(settings), state_(state), library_(library),
      sync_(std::make_unique<FolderSync>(std::move(options))) {
    sync_->onSnapshot = [this](SyncSnapshot snapshot) {
        QMetaObject::invokeMethod(
            this, [this, snapshot = std::move(snapshot)]() mutable { take(std::move(snapshot)); },
            Qt::QueuedConnection);
    };
    sync_->onStatus = [this](SyncStatus status) {
        QMetaObject::invokeMethod(
            this,
            [this, status] {
                status_ = status;
                emit statusChanged();
            },
            Qt::QueuedConnection);
    };
    if (ownThread) {
        thread_ = new QThread(this);
        thread_->setObjectName(QStringLiteral("sync"));
        sync_->moveToThread(thread_);
    }
}

SyncService::~SyncService() {
    finish();
}

FolderSyncOptions SyncService::thisComputer() {
    FolderSyncOptions options;
    options.dataDir = velmorDataDir();
    options.wallMilliseconds = [] { return QDateTime::currentMSecsSinceEpoch(); };
    options.random = systemRandomWords();
    options.host = QSysInfo::machineHostName();
    options.machine = machineToken();
    return options;
}

template <typename Work> void SyncService::toSync(Work work) {
    if (!finished_)
        QMetaObject::invokeMethod(sync_.get(), std::move(work), Qt::QueuedConnection);
}

void SyncService::start() {
    library_.setJournal(this);
    connect(&state_, &AppState::themeChanged, this,
            [this] { settingChanged(themeKey, rawValue(state_.theme())); });
    connect(&state_, &AppState::selectedSoundChanged, this,
            [this] { settingChanged(soundKey, rawValue(state_.selectedSound())); });
    connect(&state_, &AppState::fixedIntervalMinutesChanged, this,
            [this] { settingChanged(intervalKey, state_.fixedIntervalMinutes() * 60.0); });
    connect(&settings_, &SyncSettings::folderChanged, this, [this] {
        toSync(
            [sync = sync_.get(), folder = settings_.folder()] { sync->setFolder(folder, true); });
    });
    if (thread_)
        thread_->start();
    toSync([sync = sync_.get(), folder = settings_.folder()] { sync->start(folder); });
}

void SyncService::finish() {
    if (finished_)
        return;
    finished_ = true;
    library_.setJournal(nullptr);
    FolderSync* sync = sync_.get();
    if (!thread_ || !thread_->isRunning()) {
        QCoreApplication::sendPostedEvents(sync, QEvent::MetaCall);
        sync->stop();
        return;
    }
    // Everything queued before this runs first; the folder sync then comes back to this thread
    // to be deleted here.
    QThread* home = thread();
    const auto done = std::make_shared<QSemaphore>();
    QMetaObject::invokeMethod(
        sync,
        [sync, home, done] {
            sync->stop();
            sync->moveToThread(home);
            done->release();
        },
        Qt::QueuedConnection);
    if (!done->tryAcquire(1, quitWaitMilliseconds)) {
        // Stuck on a drive that does not answer (a network share gone away): left to the end
        // of the process rather than waited for.
        logLine(tr("Sync folder: still busy at quit; the last changes may not be in the folder"));
        thread_->setParent(nullptr);
        thread_ = nullptr;
        (void)sync_.release();
        return;
    }
    thread_->quit();
    thread_->wait();
}

void SyncService::rescanNow() {
    toSync([sync = sync_.get()] { sync->rescan(); });
}

void SyncService::record(const QList<LibraryChange>& changes, quint64 upTo) {
    toSync([sync = sync_.get(), changes, upTo] { sync->record(changes, upTo); });
}

void SyncService::save() {
    toSync([sync = sync_.get()] { sync->save(); });
}

void SyncService::settingChanged(const QString& key, const QJsonValue& value) {
    if (applying_)
        return;
    const quint64 number = ++lastSettingNumber_;
    unmergedSettings_.insert(key, number);
    toSync([sync = sync_.get(), key, value, number] { sync->recordSetting(key, value, number); });
}

void SyncService::take(SyncSnapshot snapshot) {
    if (snapshot.library)
        library_.takeMerged(std::move(*snapshot.library), snapshot.libraryUpTo);
    else
        library_.acknowledge(snapshot.libraryUpTo);
    unmergedSettings_.removeIf(
        [upTo = snapshot.settingsUpTo](const auto& it) { return it.value() <= upTo; });
    if (!snapshot.settings)
        return;
    // Values this version does not know (a newer Velmor's theme) and intervals that are not
    // positive leave this computer's own.
    applying_ = true;
    const auto& settings = *snapshot.settings;
    if (!unmergedSettings_.contains(themeKey))
        if (const auto theme = themeFromRawValue(settings.value(themeKey).toString()))
            state_.setTheme(*theme);
    if (!unmergedSettings_.contains(soundKey))
        if (const auto sound = soundFromRawValue(settings.value(soundKey).toString()))
            state_.setSelectedSound(*sound);
    if (!unmergedSettings_.contains(intervalKey))
        if (const double seconds = settings.value(intervalKey).toDouble(); seconds > 0)
            state_.setFixedIntervalMinutes(seconds / 60.0);
    applying_ = false;
}

} // namespace velmor
