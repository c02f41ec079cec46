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
struct LibraryWorld {
    TestHome home;
    VirtualClock clock;
    SettingsStore store{QString(), clock};
    Commands notifications;
    AppState state{store, notifications, SoundPreparer::shared()};
    UserLibrary library{home.dataDir() + "/velmor/user-library.json", clock};
    std::unique_ptr<ContentManager> content;
    LibraryWorld() {
        setResourcesDir(QStringLiteral(VELMOR_RESOURCES_DIR));
        loadBundledFonts();
        content = std::make_unique<ContentManager>(
            state, library, QStringLiteral(VELMOR_RESOURCES_DIR "/StarterPrompts.json"));
    }
    QString libraryPath() const { return home.dataDir() + "/velmor/user-library.json"; }
};

} // namespace velmor::test
