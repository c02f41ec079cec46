#include "core/model/WaitReason.h"

#include <QCoreApplication>
#include <QLocale>

namespace velmor {

QString waitingText(const WaitReason& reason) {
    switch (reason.kind) {
    case WaitReason::Kind::meeting:
        return QCoreApplication::translate("Waiting", "Waiting: meeting until %1")
            .arg(QLocale().toString(reason.until.toLocalTime().time(), QLocale::ShortFormat));
    case WaitReason::Kind::microphone:
        return QCoreApplication::translate("Waiting", "Waiting: microphone in use");
    case WaitReason::Kind::screenShared:
        return QCoreApplication::translate("Waiting", "Waiting: screen shared");
    case WaitReason::Kind::fullScreen:
        return QCoreApplication::translate("Waiting", "Waiting: video or game full screen");
    }
    return {};
}

} // namespace velmor
