#include "platform/desktop/Autostart.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace velmor {

XdgAutostart::XdgAutostart(QString executable) : executable_(std::move(executable)) {
    if (executable_.isEmpty())
        executable_ = QFileInfo(QCoreApplication::applicationFilePath()).absoluteFilePath();
}

QString XdgAutostart::entryPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/autostart/velmor.desktop");
}

bool XdgAutostart::isEnabled() const {
    QFile file(entryPath());
    if (!file.open(QIODevice::ReadOnly))
        return false;
    bool inEntry = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(u'['))
            inEntry = line == QStringLiteral("[Desktop Entry]");
        else if (inEntry && line.startsWith(QStringLiteral("Hidden"))) {
            const QString value = line.section(u'=', 1).trimmed();
            if (line.section(u'=', 0, 0).trimmed() == QStringLiteral("Hidden") &&
                value == QStringLiteral("true"))
                return false;
        }
    }
    return true;
}

QString XdgAutostart::execValue(const QString& program) {
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QString value = program;
    bool quote = false;
    for (QChar c : program)
        if (reserved.contains(c))
            quote = true;
    if (quote) {
        QString escaped;
        for (QChar c : program) {
            if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
                escaped += u'\\';
            escaped += c;
        }
        value = u'"' + escaped + u'"';
    }
    // The value itself is a desktop-entry string: backslashes doubled, % as %%.
    value.replace(u'\\', QStringLiteral("\\\\"));
    value.replace(u'%', QStringLiteral("%%"));
    return value;
}

bool XdgAutostart::registerItem() {
    const QString path = entryPath();
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QString entry = QStringLiteral("[Desktop Entry]\n"
                                         "Type=Application\n"
                                         "Name=Velmor\n"
                                         "Comment=A quiet pause now and then\n"
                                         "Exec=%1\n"
                                         "Icon=velmor\n"
                                         "Terminal=false\n"
                                         "X-GNOME-Autostart-enabled=true\n")
                              .arg(execValue(executable_));
    file.write(entry.toUtf8());
    return file.commit();
}

bool XdgAutostart::unregisterItem() {
    QFile file(entryPath());
    if (!file.exists())
        return true;
    return file.remove();
}

} // namespace velmor
