#include "core/base/Files.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace velmor {

namespace {
QString baseDir(const char* variable, const char* fallbackUnderHome) {
    const QString fromEnv = qEnvironmentVariable(variable);
    if (!fromEnv.isEmpty() && QDir::isAbsolutePath(fromEnv))
        return fromEnv;
    return QDir::homePath() + QLatin1Char('/') + QLatin1String(fallbackUnderHome);
}
} // namespace

QString velmorConfigDir() {
    return baseDir("XDG_CONFIG_HOME", ".config") + QStringLiteral("/velmor");
}

QString velmorDataDir() {
    return baseDir("XDG_DATA_HOME", ".local/share") + QStringLiteral("/velmor");
}

bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error) {
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) {
        if (error)
            *error = QStringLiteral("cannot create folder ") + folder;
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

QString keepAside(const QString& path) {
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString target = path + QStringLiteral(".bad-") + stamp;
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = path + QStringLiteral(".bad-") + stamp + QLatin1Char('-') + QString::number(n);
    return QFile::copy(path, target) ? target : QString();
}

} // namespace velmor
