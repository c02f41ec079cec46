#pragma once

#include "StateWorld.h"
#include "core/base/Resources.h"
#include "core/content/ContentManager.h"
#include "platform/desktop/Fonts.h"

#include <QApplication>

#include <memory>

namespace velmor::test {

// The settings, the library (saved to its file in the private home) and the content manager
// over the shipped starter pack.
struct LibraryWorld : StateWorld {
    std::unique_ptr<ContentManager> content;
    LibraryWorld() : StateWorld(true) {
        setResourcesDir(QStringLiteral(VELMOR_RESOURCES_DIR));
        loadBundledFonts();
        content = std::make_unique<ContentManager>(
            state, library, QStringLiteral(VELMOR_RESOURCES_DIR "/StarterPrompts.json"));
    }
};

} // namespace velmor::test
