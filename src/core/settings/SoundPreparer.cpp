#include "core/settings/SoundPreparer.h"

namespace velmor {

namespace {
class SilentPreparer final : public SoundPreparer {
public:
    void prepare(VelmorSound, double) override {}
};
SoundPreparer* installed = nullptr;
} // namespace

SoundPreparer& SoundPreparer::shared() {
    static SilentPreparer silent;
    return installed ? *installed : silent;
}

void SoundPreparer::install(SoundPreparer* preparer) {
    installed = preparer;
}

} // namespace velmor
