#include "core/base/Resources.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace velmor {

namespace {
QString overridden;

QString programDir() {
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
}
} // namespace

QString resourcesDir() {
    if (!overridden.isEmpty())
        return overridden;
    const QString dir = programDir();
    const QString beside = dir + QStringLiteral("/resources");
    if (QFileInfo(beside).isDir())
        return beside;
    return QDir::cleanPath(dir + QStringLiteral("/../share/velmor"));
}

void setResourcesDir(const QString& path) {
    overridden = path;
}

QString resourcePath(const QString& relativePath) {
    const QString path = resourcesDir() + QLatin1Char('/') + relativePath;
    return QFileInfo::exists(path) ? path : QString();
}

} // namespace velmor
