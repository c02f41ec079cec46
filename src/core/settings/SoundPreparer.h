#pragma once

#include "core/model/Catalogues.h"

namespace velmor {

// What the settings model calls so the sound players are ready for the chosen sound and volume.
class SoundPreparer {
public:
    virtual ~SoundPreparer() = default;
    virtual void prepare(VelmorSound sound, double volume) = 0;

    // The one the shared settings model uses: whatever was installed, else one that does nothing.
    static SoundPreparer& shared();
    static void install(SoundPreparer* preparer);
};

} // namespace velmor
