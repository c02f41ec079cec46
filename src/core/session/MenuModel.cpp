#include "core/session/MenuModel.h"

#include "core/model/Commands.h"

namespace velmor {

MenuModel MenuModel::forState(const VelmorState& state) {
    if (!state.isActive())
        return {QStringLiteral("Velmor \u2014 Paused"), QStringLiteral("Resume Velmor"),
                Command::startSession, QStringLiteral("leaf")};
    return {QStringLiteral("Velmor \u2014 Active"), QStringLiteral("Pause Velmor"),
            Command::stopSession, QStringLiteral("leaf-fill")};
}

} // namespace velmor
