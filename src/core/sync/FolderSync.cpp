#include "core/sync/FolderSync.h"

#include "core/base/Log.h"
#include "core/sync/FolderWatch.h"

#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <algorithm>

namespace velmor {

namespace {

const QString velmorFolder = QStringLiteral("Velmor");
const QString olderLibraryName = QStringLiteral("user-library");
const QString olderSettingsName = QStringLiteral("settings-sync");
// The three settings that travel, under the keys the older layout used.
const QStringList sharedSettingKeys = {QStringLiteral("velmor.theme"),
                                       QStringLiteral("velmor.sound"),
                                       QStringLiteral("velmor.intervalSeconds")};

// The same bytes on every computer, so that sync programs never see two versions of it.
const QByteArray markerText =
    "Velmor syncs your prompts, favourites, set-aside prompts, theme, sound and interval through "
    "this folder.\nEach computer writes only its own device-<id>.json here and reads the "
    "others'.\n";

// Stamps for files of the older layout, which have none: their time of writing, as the sync
// programs carry it, and no device, which loses every tie.
Stamp olderStamp(const FileSignature& signature) {
    return {signature.modified / 1000000 * 1000, QString()};
}

QString idOf(const QString& deviceFileName) {
    return deviceFileName.mid(7, 16);
}

} // namespace

FolderSync::FolderSync(FolderSyncOptions options)
    : options_(std::move(options)),
      libraryFile_(options_.dataDir + QStringLiteral("/user-library.json"), tr("User library"),
                   maxFileBytes),
      stateFile_(options_.dataDir + QStringLiteral("/sync-state.json"), tr("Sync state"),
                 2 * maxFileBytes),
      resolvedDir_(options_.dataDir + QStringLiteral("/resolved-conflicts")),
      clock_(options_.wallMilliseconds) {
    libraryFile_.reportTo(options_.fileProblems);
    stateFile_.reportTo(options_.fileProblems);
}

FolderSync::~FolderSync() = default;

void FolderSync::start(const std::optional<QString>& folder) {
    if (options_.watch && !watch_) {
        watch_ = new FolderWatch(this);
        connect(watch_, &FolderWatch::changed, this, &FolderSync::rescan);
    }
    const FileRead stateRead = stateFile_.read();
    if (stateRead.status == FileRead::read) {
        SyncFileRead decoded = decodeSyncFile(stateRead.bytes);
        if (decoded.status == SyncFileRead::read) {
            self_ = std::move(decoded.file);
            clock_.witness(std::max(self_.clock, self_.state.latestTime()));
        } else {
            stateFile_.markDamaged(decoded.status == SyncFileRead::newerFormat
                                       ? tr("written by a newer Velmor")
                                       : decoded.error);
        }
    }
    if (self_.device.isEmpty())
        newDeviceId(); // kept once something is written

    self_.host = options_.host;
    self_.machine = options_.machine;

    // What the library file holds beyond the state (changed by an older Velmor, by hand, or
    // written just before a crash that kept the state from following) is taken in as changes
    // made on this computer now.
    // A library file that is missing or damaged is written again from the state, if the state
    // holds anything: a fresh start writes nothing until the first change.
    const UserLibraryData& known = library();
    if (!known.userPrompts.isEmpty() || !known.favoriteIds.isEmpty() || !known.hiddenIds.isEmpty())
        changed(libraryFile);
    const FileRead libraryRead = libraryFile_.read();
    if (libraryRead.status == FileRead::read) {
        QString error;
        const auto library = decodeLibrary(libraryRead.bytes, &error);
        if (!library) {
            libraryFile_.markDamaged(error);
        } else {
            stale_ &= ~libraryFile; // as it should be, unless it holds changes of its own:
            const auto changes = changesBetween(self_.state.library(), *library);
            for (const LibraryChange& change : changes)
                self_.state.apply(change, {clock_.next(), self_.device});
            if (!changes.isEmpty())
                changed(files);
        }
    }
    folder_ = folder;
    chosenNow_ = false;
    changed(ownFile | windowLibrary | windowSettings); // the window hears the merged state once
    pass();
}

void FolderSync::setFolder(const std::optional<QString>& folder, bool chosenNow) {
    if (folder != folder_) {
        seen_.clear();
        problems_.clear();
        peers_.clear();
        keepPending_.clear();
        retiredElsewhere_.clear();
        ownWritten_ = {};
        changed(ownFile);
        if (folder_)
            logLine(tr("Sync folder: stopped syncing through %1").arg(*folder_));
    }
    folder_ = folder;
    chosenNow_ = chosenNow && folder.has_value();
    pass();
}

void FolderSync::record(const QList<LibraryChange>& changes, quint64 upTo) {
    for (const LibraryChange& change : changes)
        self_.state.apply(change, {clock_.next(), self_.device});
    libraryUpTo_ = upTo;
    changed(files); // the window has them already
}

void FolderSync::save() {
    pass();
}

void FolderSync::recordSetting(const QString& key, const QJsonValue& value, quint64 upTo) {
    self_.state.settings.insert(key, {{clock_.next(), self_.device}, value});
    settingsUpTo_ = upTo;
    changed(stateFile | ownFile);
    pass();
}

void FolderSync::rescan() {
    pass();
}

void FolderSync::stop() {
    delete watch_;
    watch_ = nullptr;
}

void FolderSync::pass() {
    bytesMoved_ = 0;
    // Watched before it is looked at: a change made while it is read is reported, not missed.
    rewatch();
    const FolderHandle folder = openFolder();
    if (folder.isOpen())
        look(folder);
    else
        write(nullptr);
    publish();
    updateStatus();
    rewatch();
    // Parsing and encoding a large library leaves much freed memory behind.
    if (bytesMoved_ > 4 * 1024 * 1024 && options_.releaseMemory)
        options_.releaseMemory();
}

QString FolderSync::ownName() const {
    return QStringLiteral("device-%1.json").arg(self_.device);
}

FolderSync::FileKind FolderSync::kind(const QString& name) const {
    static const QRegularExpression device(QStringLiteral("^device-[0-9a-f]{16}\\.json$"));
    static const QRegularExpression deviceBase(QStringLiteral("^device-[0-9a-f]{16}"));
    if (name == QLatin1String(markerName))
        return FileKind::marker;
    if (name == ownName())
        return FileKind::own;
    if (device.match(name).hasMatch())
        return FileKind::device;
    if (deviceBase.match(name).hasMatch() && isConflictCopyName(name, name.left(23)))
        return FileKind::deviceConflict;
    if (name == olderLibraryName + QLatin1String(".json") ||
        isConflictCopyName(name, olderLibraryName))
        return FileKind::olderLibrary;
    if (name == olderSettingsName + QLatin1String(".json") ||
        isConflictCopyName(name, olderSettingsName))
        return FileKind::olderSettings;
    return FileKind::ignored;
}

// The folder's Velmor subfolder while it holds the marker (or Velmor's files, or the user has
// just chosen it, and the marker is written now). An empty mount point holds none of these: it
// is waited for, never taken for a fresh folder.
FolderHandle FolderSync::openFolder() {
    const SyncStatus::State before = state_;
    FolderHandle velmor;
    if (!folder_) {
        state_ = SyncStatus::State::off;
        return velmor;
    }
    state_ = SyncStatus::State::waiting;
    QString error;
    const FolderHandle root = FolderHandle::open(*folder_, &error);
    if (root.isOpen()) {
        bool missing = false;
        velmor = root.sub(velmorFolder, &missing, &error);
        if (!velmor.isOpen() && missing && chosenNow_ && root.makeSub(velmorFolder, &error))
            velmor = root.sub(velmorFolder, &missing, &error);
        if (!velmor.isOpen() && !missing)
            problem(velmorFolder, SyncStatus::Problem::Kind::notRegular);
        else if (!velmor.isOpen() && chosenNow_)
            problem(velmorFolder, SyncStatus::Problem::Kind::cannotWrite, error);
    }
    if (velmor.isOpen() && !signatureOf(velmor, QLatin1String(markerName)).exists) {
        bool chosen = chosenNow_;
        for (const QString& name : velmor.names())
            chosen = chosen || (kind(name) != FileKind::ignored && kind(name) != FileKind::marker);
        if (!chosen)
            velmor = {};
        else if (!writeInFolder(velmor, QLatin1String(markerName), markerText, &error))
            problem(QLatin1String(markerName), SyncStatus::Problem::Kind::cannotWrite, error);
    }
    if (!velmor.isOpen()) {
        if (before != state_)
            logLine(
                tr("Sync folder %1: waiting for it (missing, or not mounted yet)").arg(*folder_));
        return velmor;
    }
    problems_.remove(velmorFolder);
    chosenNow_ = false;
    state_ = SyncStatus::State::syncing;
    if (before != state_) {
        removeUnfinishedWrites(velmor, ownName());
        logLine(tr("Sync folder %1: syncing").arg(*folder_));
    }
    return velmor;
}

void FolderSync::look(const FolderHandle& folder) {
    QStringList names = folder.names();
    std::sort(names.begin(), names.end());
    const QSet<QString> present(names.begin(), names.end());
    // Files that are gone take what was known about them along.
    for (const QString& name : seen_.keys())
        if (!present.contains(name)) {
            seen_.remove(name);
            problems_.remove(name);
            peers_.remove(name);
            keepPending_.remove(name);
        }
    QList<Kept> kept;
    int looked = 0;
    for (const QString& name : std::as_const(names)) {
        const FileKind fileKind = kind(name);
        if (fileKind == FileKind::ignored || fileKind == FileKind::marker)
            continue;
        if (++looked > maxFiles) {
            if (!std::exchange(tooManyFilesSaid_, true))
                logLine(
                    tr("Sync folder: more than %1 files; the rest are left alone").arg(maxFiles));
            break;
        }
        takeIn(folder, name, fileKind, kept);
    }
    if (stale_ & (windowLibrary | windowSettings))
        clock_.witness(self_.state.latestTime());
    // What was folded in is on disk here, and in this computer's file for the others, before
    // the files it came from leave the folder.
    if (!write(&folder) || (stale_ & ownFile))
        return;
    for (const Kept& k : std::as_const(kept)) {
        QString keptAs, error;
        switch (moveAside(folder, k.name, k.read, resolvedDir_, &keptAs, &error)) {
        case MoveAside::moved:
            logLine(tr("Sync folder: %1 is folded in and kept as %2").arg(k.name, keptAs));
            keepPending_.remove(k.name);
            seen_.remove(k.name);
            problems_.remove(k.name);
            break;
        case MoveAside::changedMeanwhile:
            keepPending_.remove(k.name); // read again, as it changed
            break;
        case MoveAside::failed:
            problem(k.name, SyncStatus::Problem::Kind::cannotKeep, error);
            break;
        }
    }
}

void FolderSync::takeIn(const FolderHandle& folder, const QString& name, FileKind fileKind,
                        QList<Kept>& kept) {
    using Kind = SyncStatus::Problem::Kind;
    const FileSignature signature = signatureOf(folder, name);
    if (!signature.exists || (fileKind == FileKind::own && signature == ownWritten_))
        return;
    if (seen_.value(name) == signature && !keepPending_.contains(name))
        return; // as it was at the last look
    seen_.insert(name, signature);
    peers_.remove(name);
    // This computer's own file, if it is not what was written, is simply written again.
    if (fileKind == FileKind::own && !signature.regular)
        return;
    // Checked before opening: a pipe or a device is never opened, a huge file never read.
    if (!signature.regular)
        return problem(name, Kind::notRegular);
    if (signature.size > maxFileBytes)
        return problem(name, Kind::tooLarge, QString::number(maxFileBytes / (1024 * 1024)));
    FolderRead read = readInFolder(folder, name, maxFileBytes);
    switch (read.status) {
    case FolderRead::read:
        break;
    case FolderRead::missing:
        return;
    case FolderRead::notRegular:
        return problem(name, Kind::notRegular);
    case FolderRead::tooLarge:
        return problem(name, Kind::tooLarge, QString::number(maxFileBytes / (1024 * 1024)));
    case FolderRead::failed:
        return problem(name, Kind::unreadable, read.error);
    }
    seen_.insert(name, read.signature);
    bytesMoved_ += read.bytes.size();
    int changes = 0;
    if (fileKind == FileKind::olderLibrary) {
        QString error;
        const auto library = decodeLibrary(read.bytes, &error);
        if (!library)
            return problem(name, Kind::unreadable, error);
        if (library->schemaVersion > UserLibraryData::currentSchemaVersion)
            return problem(name, Kind::newerFormat);
        if (self_.state.foldOlderLibrary(*library, olderStamp(read.signature)))
            changes = SyncState::libraryPart;
    } else if (fileKind == FileKind::olderSettings) {
        QJsonParseError parseError{};
        const QJsonDocument document = QJsonDocument::fromJson(read.bytes, &parseError);
        if (!document.isObject())
            return problem(name, Kind::unreadable, parseError.errorString());
        SyncState older;
        for (const QString& key : sharedSettingKeys) {
            const QJsonValue value = document.object().value(key);
            if (value.isString() || value.isDouble())
                older.settings.insert(key, {olderStamp(read.signature), value});
        }
        changes = self_.state.merge(older);
    } else {
        SyncFileRead decoded = decodeSyncFile(read.bytes);
        if (fileKind == FileKind::own && decoded.status != SyncFileRead::read)
            return;
        if (decoded.status == SyncFileRead::newerFormat)
            return problem(name, Kind::newerFormat);
        if (decoded.status != SyncFileRead::read)
            return problem(name, Kind::unreadable, decoded.error);
        if (fileKind == FileKind::own && decoded.file.machine != self_.machine) {
            // A copy of this home on another computer writes under this computer's id: this one
            // takes a new id and leaves that file to the other.
            self_.retired << self_.device;
            newDeviceId();
            changed(stateFile | ownFile);
            logLine(tr("Sync folder: another computer writes as this one (a copied home?); this "
                       "computer now writes %1")
                        .arg(ownName()));
            fileKind = FileKind::device;
        }
        changes = self_.state.merge(decoded.file.state, horizon());
        for (const QString& id : std::as_const(decoded.file.retired))
            retiredElsewhere_.insert(id);
        if (fileKind == FileKind::device) {
            peers_.insert(name);
            self_.lastExchange = options_.wallMilliseconds();
        }
    }
    problems_.remove(name);
    if (changes & SyncState::libraryPart)
        changed(files | windowLibrary);
    if (changes & SyncState::settingsPart)
        changed(stateFile | ownFile | windowSettings);
    if (fileKind == FileKind::olderLibrary || fileKind == FileKind::olderSettings ||
        fileKind == FileKind::deviceConflict) {
        kept.append({name, std::move(read)});
        keepPending_.insert(name);
    }
}

bool FolderSync::write(const FolderHandle* folder) {
    if (stale_ & files)
        self_.state.prune(horizon());
    self_.clock = clock_.last();
    bool local = true;
    if (stale_ & libraryFile) {
        const QByteArray bytes = encodeLibrary(library());
        bytesMoved_ += bytes.size();
        local = libraryFile_.write(bytes);
        if (local)
            stale_ &= ~libraryFile;
    }
    // The state never runs ahead of the library file: a start takes in what the library file
    // holds beyond the state, never the other way round.
    const bool syncing = folder && state_ == SyncStatus::State::syncing;
    // Removed or replaced by someone else: written again.
    if (syncing && !(signatureOf(*folder, ownName()) == ownWritten_))
        stale_ |= ownFile;
    // This computer's id is on disk here before a file bears it in the folder.
    if (syncing && (stale_ & ownFile))
        stale_ |= stateFile;
    // The two files hold the same entries: they are encoded once.
    QByteArray shared;
    if ((local && (stale_ & stateFile)) || (syncing && (stale_ & ownFile))) {
        shared = encodeSyncFile(self_, false);
        bytesMoved_ += shared.size();
    }
    if (local && (stale_ & stateFile)) {
        local = stateFile_.write(addLocalBookkeeping(shared, self_));
        if (local)
            stale_ &= ~stateFile;
    }
    if (syncing) {
        if (stale_ & ownFile) {
            QString error;
            if (writeInFolder(*folder, ownName(), shared, &error, &ownWritten_)) {
                stale_ &= ~ownFile;
                problems_.remove(ownName());
            } else {
                problem(ownName(), SyncStatus::Problem::Kind::cannotWrite, error);
            }
        }
    }
    return local;
}

void FolderSync::newDeviceId() {
    self_.device = QStringLiteral("%1").arg(options_.random(), 16, 16, QLatin1Char('0'));
    ownWritten_ = {};
}

qint64 FolderSync::horizon() const {
    constexpr qint64 day = 24 * 3600 * 1000;
    return (options_.wallMilliseconds() - tombstoneDays * day) * 1000;
}

void FolderSync::changed(int stale) {
    stale_ |= stale;
    if (stale & libraryFile)
        library_.reset();
}

const UserLibraryData& FolderSync::library() {
    if (!library_)
        library_ = self_.state.library();
    return *library_;
}

void FolderSync::publish() {
    const bool acks = libraryUpTo_ != libraryUpToSent_ || settingsUpTo_ != settingsUpToSent_;
    if (!(stale_ & (windowLibrary | windowSettings)) && !acks)
        return;
    SyncSnapshot snapshot;
    // Handed over rather than shared: a list shared across threads would be copied whole on
    // the window's thread by its next change.
    if (stale_ & windowLibrary) {
        library();
        snapshot.library = std::exchange(library_, std::nullopt);
    }
    if (stale_ & windowSettings) {
        QHash<QString, QJsonValue> settings;
        for (auto it = self_.state.settings.constBegin(); it != self_.state.settings.constEnd();
             ++it)
            settings.insert(it.key(), it.value().value);
        snapshot.settings = std::move(settings);
    }
    snapshot.libraryUpTo = libraryUpToSent_ = libraryUpTo_;
    snapshot.settingsUpTo = settingsUpToSent_ = settingsUpTo_;
    stale_ &= ~(windowLibrary | windowSettings);
    if (onSnapshot)
        onSnapshot(std::move(snapshot));
}

void FolderSync::problem(const QString& file, SyncStatus::Problem::Kind kind,
                         const QString& detail) {
    const SyncStatus::Problem p{kind, file, detail};
    if (problems_.value(file) == p && problems_.contains(file))
        return;
    problems_.insert(file, p);
    logLine(tr("Sync folder: ") + describeProblem(p));
}

void FolderSync::updateStatus() {
    SyncStatus status;
    status.state = state_;
    status.folder = folder_.value_or(QString());
    if (state_ != SyncStatus::State::off) {
        for (const QString& name : std::as_const(peers_)) {
            const QString id = idOf(name);
            if (!self_.retired.contains(id) && !retiredElsewhere_.contains(id))
                ++status.otherComputers;
        }
        if (self_.lastExchange > 0)
            status.lastExchange = QDateTime::fromMSecsSinceEpoch(self_.lastExchange);
        QStringList named = problems_.keys();
        std::sort(named.begin(), named.end());
        for (const QString& file : std::as_const(named))
            status.problems << problems_.value(file);
    }
    if (status == status_)
        return;
    status_ = status;
    if (onStatus)
        onStatus(status);
}

void FolderSync::rewatch() {
    if (!watch_)
        return;
    QStringList paths;
    if (folder_) {
        const QString velmor = *folder_ + QLatin1Char('/') + velmorFolder;
        paths << *folder_ << velmor;
        // A folder that is gone is waited for where it would appear again.
        QString above = *folder_;
        while (!QFileInfo(above).isDir() && above.size() > 1)
            above = QFileInfo(above).absolutePath();
        paths << above;
        // Files a sync program may write in place, which a watch on the folder does not see.
        for (const QString& name : seen_.keys())
            if (name != ownName())
                paths << velmor + QLatin1Char('/') + name;
    }
    watch_->watch(paths);
}

} // namespace velmor
