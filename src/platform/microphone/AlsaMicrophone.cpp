#include "platform/microphone/AlsaMicrophone.h"

#include <QDir>
#include <QFile>

namespace velmor {

AlsaMicrophone::AlsaMicrophone(QString procRoot) : root_(std::move(procRoot)) {}

bool AlsaMicrophone::isInUse() {
    const QDir root(root_);
    for (const QString& card : root.entryList({QStringLiteral("card*")}, QDir::Dirs)) {
        const QDir cardDir(root.filePath(card));
        for (const QString& pcm : cardDir.entryList({QStringLiteral("pcm*c")}, QDir::Dirs)) {
            const QDir pcmDir(cardDir.filePath(pcm));
            for (const QString& sub : pcmDir.entryList({QStringLiteral("sub*")}, QDir::Dirs)) {
                // procfs files report size 0: read until the end instead of by size.
                QFile status(QDir(pcmDir.filePath(sub)).filePath(QStringLiteral("status")));
                if (status.open(QIODevice::ReadOnly) && status.readAll().contains("state: RUNNING"))
                    return true;
            }
        }
    }
    return false;
}

} // namespace velmor
