#include "core/session/MenuModel.h"

#include "core/model/Commands.h"

#include <QCoreApplication>

namespace velmor {

MenuModel MenuModel::forState(const VelmorState& state) {
    if (!state.isActive())
        return {QCoreApplication::translate("MenuModel", "Velmor \u2014 Paused"),
                QCoreApplication::translate("MenuModel", "Resume Velmor"), Command::startSession,
                QStringLiteral("leaf")};
    return {QCoreApplication::translate("MenuModel", "Velmor \u2014 Active"),
            QCoreApplication::translate("MenuModel", "Pause Velmor"), Command::stopSession,
            QStringLiteral("leaf-fill")};
}

} // namespace velmor
