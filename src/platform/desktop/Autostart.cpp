#include "platform/desktop/Autostart.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace velmor {

namespace {

QString autostartDir() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/autostart/");
}

struct Entry {
    bool enabled = false; // exists, and neither hidden nor switched off
    QString exec;
};

Entry readEntry(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    Entry entry{true, {}};
    bool inEntry = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(u'[')) {
            inEntry = line == QStringLiteral("[Desktop Entry]");
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (!inEntry || equals < 0)
            continue;
        const QString key = line.left(equals).trimmed();
        const QString value = line.mid(equals + 1).trimmed();
        if ((key == QStringLiteral("Hidden") && value == QStringLiteral("true")) ||
            (key == QStringLiteral("X-GNOME-Autostart-enabled") &&
             value == QStringLiteral("false")))
            entry.enabled = false;
        else if (key == QStringLiteral("Exec"))
            entry.exec = value;
    }
    return entry;
}

// The program a command names, as the desktop would find it, or nothing when it is not there.
QString resolved(const QString& program) {
    if (program.isEmpty())
        return {};
    const QString path = program.contains(u'/') ? program : QStandardPaths::findExecutable(program);
    const QFileInfo info(path);
    return !path.isEmpty() && info.isFile() && info.isExecutable() ? info.canonicalFilePath()
                                                                   : QString();
}

} // namespace

XdgAutostart::XdgAutostart(QString program) : program_(std::move(program)) {
    if (program_.isEmpty())
        program_ = QFileInfo(QCoreApplication::applicationFilePath()).absoluteFilePath();
}

QString XdgAutostart::entryPath() {
    return autostartDir() + QStringLiteral("app.velmor.Velmor.desktop");
}

QString XdgAutostart::olderEntryPath() {
    return autostartDir() + QStringLiteral("velmor.desktop");
}

bool XdgAutostart::isEnabled() const {
    const QString path = QFileInfo::exists(entryPath()) ? entryPath() : olderEntryPath();
    const Entry entry = readEntry(path);
    return entry.enabled && !resolved(programOf(entry.exec)).isEmpty();
}

bool XdgAutostart::isInstalled() const {
    const QString self = resolved(program_);
    return !self.isEmpty() && resolved(QFileInfo(program_).fileName()) == self;
}

QString XdgAutostart::execLine() const {
    return execValue(isInstalled() ? QFileInfo(program_).fileName() : program_) +
           QStringLiteral(" --background");
}

QString XdgAutostart::review() {
    const bool older = !QFileInfo::exists(entryPath()) && QFileInfo::exists(olderEntryPath());
    const Entry entry = readEntry(older ? olderEntryPath() : entryPath());
    const QString wanted = execLine();
    if (!entry.enabled || (!older && entry.exec == wanted))
        return {};
    const QString named = programOf(entry.exec);
    const QString started = resolved(named);
    // Another program that is there: ours to replace only if it is another copy of Velmor
    // (a build folder's) and this one is the installed program.
    if (!started.isEmpty() && started != resolved(program_) &&
        !(isInstalled() && QFileInfo(started).fileName() == QFileInfo(program_).fileName()))
        return QStringLiteral("Launch at login starts ") + started +
               QStringLiteral(", not this program; left as it is");
    if (!registerItem())
        return QStringLiteral("Launch at login starts ") + named +
               QStringLiteral(", and its entry could not be written anew: ") + entryPath();
    return QStringLiteral("Launch at login now starts ") + wanted;
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

QString XdgAutostart::programOf(const QString& execValue) {
    // The string's own escapes first, then the command's quoting.
    QString command;
    for (qsizetype i = 0; i < execValue.size(); ++i) {
        const QChar c = execValue[i];
        if (c != u'\\' || i + 1 == execValue.size()) {
            command += c;
            continue;
        }
        const QChar next = execValue[++i];
        command += next == u's' ? QChar(u' ') : next == u't' ? QChar(u'\t') : next;
    }
    command = command.trimmed();
    QString program;
    if (command.startsWith(u'"')) {
        for (qsizetype i = 1; i < command.size() && command[i] != u'"'; ++i) {
            if (command[i] == u'\\' && i + 1 < command.size())
                ++i;
            program += command[i];
        }
    } else {
        for (QChar c : command) {
            if (c.isSpace())
                break;
            program += c;
        }
    }
    program.replace(QStringLiteral("%%"), QStringLiteral("%"));
    return program;
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
                                         "Icon=app.velmor.Velmor\n"
                                         "Terminal=false\n"
                                         "X-GNOME-Autostart-enabled=true\n")
                              .arg(execLine());
    file.write(entry.toUtf8());
    if (!file.commit())
        return false;
    QFile::remove(olderEntryPath());
    return true;
}

bool XdgAutostart::unregisterItem() {
    for (const QString& path : {entryPath(), olderEntryPath()})
        if (QFileInfo::exists(path) && !QFile::remove(path))
            return false;
    return true;
}

} // namespace velmor
