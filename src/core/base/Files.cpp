#include "core/base/Files.h"

#include "core/base/FileProblems.h"
#include "core/base/Log.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace velmor {

namespace {
const QString tempSuffix = QStringLiteral(".velmor-tmp");

QString baseDir(const char* variable, const char* fallbackUnderHome) {
    const QString fromEnv = qEnvironmentVariable(variable);
    if (!fromEnv.isEmpty() && QDir::isAbsolutePath(fromEnv))
        return fromEnv;
    return QDir::homePath() + QLatin1Char('/') + QLatin1String(fallbackUnderHome);
}

// Texts::tr: lupdate files these texts under the context they are looked up in.
struct Texts {
    Q_DECLARE_TR_FUNCTIONS(Files)
};

bool fail(QString* error, const QString& reason) {
    if (error)
        *error = reason;
    return false;
}

// Where a write to `path` lands: the end of its chain of links, if any. Empty when the chain
// loops or is absurdly long.
QString finalTarget(const QString& path) {
    QString target = path;
    for (int depth = 0; depth < 40; ++depth) {
        const QFileInfo info(target);
        if (!info.isSymLink())
            return target;
        target = info.symLinkTarget();
    }
    return {};
}

std::filesystem::path nativePath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

// Temporary files that a write killed before its rename left beside `path`.
void removeLeftovers(const QString& path) {
    const QFileInfo info(path);
    QDir folder = info.absoluteDir();
    const QStringList found =
        folder.entryList({info.fileName() + tempSuffix + QLatin1Char('*')},
                         QDir::Files | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString& name : found) {
        if (folder.remove(name))
            logLine(Texts::tr("Removed an unfinished write: %1").arg(folder.filePath(name)));
    }
}
} // namespace

QString velmorConfigDir() {
    return baseDir("XDG_CONFIG_HOME", ".config") + QStringLiteral("/velmor");
}

QString velmorDataDir() {
    return baseDir("XDG_DATA_HOME", ".local/share") + QStringLiteral("/velmor");
}

bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error) {
    // The file's own folder is created; a link's target folder must already be there (it may be
    // a drive that is not mounted).
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        return fail(error, Texts::tr("cannot create folder %1").arg(folder));
    const QString target = finalTarget(path);
    if (target.isEmpty())
        return fail(error, Texts::tr("too many levels of symbolic links"));
    const QFileInfo targetInfo(target);
    if (targetInfo.exists() && !targetInfo.isFile())
        return fail(error, Texts::tr("%1 is not a regular file").arg(target));

    // A fixed name beside the target, so that a write killed before its rename leaves a file
    // that the next start recognises and removes.
    const QString temp = target + tempSuffix;
    QFile::remove(temp); // a leftover, or a link that would redirect the write
    {
        // Unbuffered, so that a full disk fails the write itself rather than a late flush that
        // the commit would not notice.
        QSaveFile file(temp);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return fail(error, file.errorString());
        if (file.write(bytes) != bytes.size() || file.error() != QFileDevice::NoError) {
            const QString reason = file.errorString();
            file.cancelWriting();
            return fail(error, reason);
        }
        if (!file.commit())
            return fail(error, file.errorString());
    }
    std::error_code renameError;
    std::filesystem::rename(nativePath(temp), nativePath(target), renameError);
    if (renameError) {
        QFile::remove(temp);
        return fail(error, QString::fromStdString(renameError.message()));
    }
    return true;
}

QString keepAside(const QString& path, QString* error) {
    const QFileInfo info(path);
    if (!info.isFile()) {
        fail(error,
             info.exists() ? Texts::tr("not a regular file") : Texts::tr("the file is gone"));
        return {};
    }
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString target = path + QStringLiteral(".bad-") + stamp;
    for (int n = 2; QFileInfo(target).exists() || QFileInfo(target).isSymLink(); ++n)
        target = path + QStringLiteral(".bad-") + stamp + QLatin1Char('-') + QString::number(n);
    QFile source(path);
    if (!source.copy(target)) {
        fail(error, source.errorString());
        return {};
    }
    return target;
}

FileRead readRegularFile(const QString& path, qint64 maxBytes) {
    FileRead result;
    const QFileInfo info(path);
    if (!info.exists())
        return result; // nothing there, or a link that leads nowhere
    result.status = FileRead::refused;
    // Checked before opening: opening a FIFO would wait for a writer, and a device may never end.
    if (!info.isFile()) {
        result.reason = Texts::tr("not a regular file");
        return result;
    }
    const QString tooLarge = Texts::tr("larger than %1 bytes").arg(maxBytes);
    if (info.size() > maxBytes) {
        result.reason = tooLarge;
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.reason = file.errorString();
        return result;
    }
    if (file.isSequential()) { // replaced since it was looked at
        result.reason = Texts::tr("not a regular file");
        return result;
    }
    // Into a buffer of the file's size, grown only if the file grows, rather than one of the
    // limit's size: the limit may be tens of megabytes.
    QByteArray bytes(qsizetype(std::min(info.size(), maxBytes) + 1), Qt::Uninitialized);
    qint64 done = 0;
    for (;;) {
        if (done == bytes.size()) {
            if (done > maxBytes)
                break;
            bytes.resize(qsizetype(std::min(done * 2, maxBytes + 1)));
        }
        const qint64 n = file.read(bytes.data() + done, bytes.size() - done);
        if (n <= 0)
            break;
        done += n;
    }
    bytes.truncate(qsizetype(done));
    if (file.error() != QFileDevice::NoError) {
        result.reason = file.errorString();
        return result;
    }
    if (bytes.size() > maxBytes) {
        result.reason = tooLarge;
        return result;
    }
    result.status = FileRead::read;
    result.bytes = std::move(bytes);
    return result;
}

OwnedFile::OwnedFile(QString path, QString label, qint64 maxBytes)
    : path_(std::move(path)), label_(std::move(label)), maxBytes_(maxBytes) {
    if (path_.isEmpty())
        return;
    removeLeftovers(path_);
    const QString target = finalTarget(path_);
    if (!target.isEmpty() && target != path_)
        removeLeftovers(target);
}

FileRead OwnedFile::read() {
    if (path_.isEmpty())
        return {};
    FileRead result = readRegularFile(path_, maxBytes_);
    if (result.status == FileRead::refused)
        markDamaged(result.reason);
    else
        damaged_ = false; // read, or gone: nothing left that a write could lose
    return result;
}

void OwnedFile::markDamaged(const QString& reason) {
    damaged_ = true;
    reason_ = reason;
    report(Texts::tr("%1 could not be read (%2); it is kept aside before it is next saved")
               .arg(label_, reason),
           Trouble::unreadable);
}

bool OwnedFile::write(const QByteArray& bytes) {
    if (path_.isEmpty())
        return true;
    if (damaged_) {
        if (!QFileInfo(path_).exists()) {
            // The damaged file is gone (or the link leads nowhere now): nothing to keep.
            damaged_ = false;
        } else {
            QString error;
            const QString aside = keepAside(path_, &error);
            if (aside.isEmpty()) {
                reason_ = error;
                report(Texts::tr("%1 not saved: the unreadable file could not be kept aside (%2)")
                           .arg(label_, error),
                       Trouble::unsaved);
                return false;
            }
            logLine(Texts::tr("%1: the unreadable file was kept aside as %2").arg(label_, aside));
            damaged_ = false;
        }
    }
    QString error;
    if (!writeFileAtomically(path_, bytes, &error)) {
        reason_ = error;
        report(Texts::tr("%1 could not be saved: %2").arg(label_, error), Trouble::unsaved);
        return false;
    }
    lastReport_.clear();
    trouble_ = Trouble::none;
    if (problems_)
        problems_->clear(path_);
    return true;
}

void OwnedFile::reportTo(FileProblems* problems) {
    problems_ = problems;
    if (problems_ && trouble_ != Trouble::none)
        problems_->set(path_, windowLine());
}

QString OwnedFile::windowLine() const {
    const QString folder = QFileInfo(path_).absolutePath();
    if (trouble_ == Trouble::unreadable)
        return Texts::tr("%1 could not be read (%2), so Velmor started without it. The file stays as "
                  "it was and is copied aside before anything is saved over it.")
            .arg(label_, reason_);
    return Texts::tr("%1 could not be saved (%2). Your changes last until Velmor quits: free some "
              "disk space or make %3 writable, then change something to save again.")
        .arg(label_, reason_, folder);
}

void OwnedFile::report(const QString& line, Trouble trouble) {
    trouble_ = trouble;
    if (problems_)
        problems_->set(path_, windowLine());
    if (line == lastReport_)
        return;
    lastReport_ = line;
    logLine(line);
}

} // namespace velmor
