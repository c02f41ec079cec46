#pragma once

#include <QByteArray>
#include <QString>

namespace velmor {

// Per-user folders of the XDG base directory convention, with "velmor" appended. The folder is
// not created here.
QString velmorConfigDir();
QString velmorDataDir();

// Writes through a temporary file beside the target ("<name>.velmor-tmp"), synced to disk, then
// renamed over it, so a reader sees the old file or the new one, never half of one. A symbolic
// link is written through to its target. Creates the folder if needed. Refuses a target that is
// not a regular file. On failure the old file is untouched; returns false and sets `error`.
bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error = nullptr);

// Copies an unreadable file to "<path>.bad-<yyyyMMdd-HHmmss>" so that a later write cannot lose
// what the user had. Only regular files are copied. Returns the copy's path, or an empty string
// (with `error` set) if the copy failed.
QString keepAside(const QString& path, QString* error = nullptr);

// What reading a file found.
struct FileRead {
    enum Status { missing, read, refused };
    Status status = missing;
    QByteArray bytes; // when read
    QString reason;   // when refused
};

// Reads a regular file of at most `maxBytes`. A FIFO, a device, a folder or a larger file is
// refused without reading it; a link is followed, and one that leads nowhere counts as missing.
FileRead readRegularFile(const QString& path, qint64 maxBytes);

class FileProblems;

// One file that Velmor owns (settings, the user library): read with a size limit, written
// atomically, and never written over while it holds something that could not be read until a
// copy is kept aside. If no copy can be made it is not written at all. Every failure is one line
// on standard output, said once until it changes or a write succeeds, and, once reportTo() has
// been called, a line for the window until the next successful write.
class OwnedFile {
public:
    static constexpr qint64 defaultMaxBytes = 4 * 1024 * 1024;

    // `label` starts the lines ("Settings", "User library"). Removes temporary files a killed
    // write left beside the file. An empty path is a file that is never read nor written.
    OwnedFile(QString path, QString label, qint64 maxBytes = defaultMaxBytes);

    const QString& path() const { return path_; }

    // The file's bytes, or nothing when it is missing or was refused (refusal marks it damaged).
    FileRead read();
    // The bytes were read but do not make sense: keep them aside before the next write.
    void markDamaged(const QString& reason);
    bool isDamaged() const { return damaged_; }

    bool write(const QByteArray& bytes);

    // Where the window learns of this file's problems; the current one is handed over at once.
    void reportTo(FileProblems* problems);

private:
    enum class Trouble { none, unreadable, unsaved };
    void report(const QString& line, Trouble trouble);
    QString windowLine() const;

    QString path_;
    QString label_;
    qint64 maxBytes_;
    bool damaged_ = false;
    QString lastReport_;
    Trouble trouble_ = Trouble::none;
    QString reason_;
    FileProblems* problems_ = nullptr;
};

} // namespace velmor
