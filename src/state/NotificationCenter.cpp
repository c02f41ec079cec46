#include "state/NotificationCenter.h"

namespace velmor {

NotificationCenter& NotificationCenter::shared() {
    static NotificationCenter center;
    return center;
}

} // namespace velmor
