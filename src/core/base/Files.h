#pragma once

#include <QByteArray>
#include <QString>

namespace velmor {

// Per-user folders of the XDG base directory convention, with "velmor" appended. The folder is
// not created here.
QString velmorConfigDir();
QString velmorDataDir();

// Writes through a temporary file, fsync and rename, so a reader sees the old file or the new one,
// never half of one. Creates the folder if needed. On failure returns false and sets `error`.
bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error = nullptr);

// Copies an unreadable file to "<path>.bad-<yyyyMMdd-HHmmss>" so that a later write cannot lose
// what the user had. Returns the copy's path, or an empty string if the copy failed.
QString keepAside(const QString& path);

} // namespace velmor
