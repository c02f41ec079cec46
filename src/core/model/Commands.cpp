#include "core/model/Commands.h"

namespace velmor {

Commands& Commands::shared() {
    static Commands commands;
    return commands;
}

void Commands::send(Command command) {
    switch (command) {
    case Command::showNow:
        emit showNow();
        break;
    case Command::startSession:
        emit startSession();
        break;
    case Command::stopSession:
        emit stopSession();
        break;
    case Command::intervalChanged:
        emit intervalChanged();
        break;
    }
}

} // namespace velmor
