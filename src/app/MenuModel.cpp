#include "app/MenuModel.h"

#include "state/NotificationCenter.h"

namespace velmor {

MenuModel MenuModel::forState(const VelmorState& state) {
    if (!state.isActive())
        return {QStringLiteral("Velmor \u2014 Paused"), QStringLiteral("Resume Velmor"),
                QString::fromLatin1(NotificationCenter::velmorStartSession),
                QStringLiteral("leaf")};
    return {QStringLiteral("Velmor \u2014 Active"), QStringLiteral("Pause Velmor"),
            QString::fromLatin1(NotificationCenter::velmorStopSession),
            QStringLiteral("leaf-fill")};
}

} // namespace velmor
