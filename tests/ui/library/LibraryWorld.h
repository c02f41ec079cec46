#pragma once

#include "StateWorld.h"
#include "core/base/Resources.h"
#include "core/content/ContentManager.h"
#include "platform/desktop/Fonts.h"

#include <QApplication>
#include <QPalette>

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

// Light and dark palettes as the window gives them.
inline QPalette libraryPalette(bool dark) {
    QPalette p;
    const QColor window = dark ? QColor(30, 30, 32) : QColor(246, 245, 242);
    const QColor text = dark ? QColor(240, 238, 234) : QColor(28, 27, 26);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::Base, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::Button, window);
    p.setColor(QPalette::PlaceholderText, dark ? QColor(140, 138, 134) : QColor(140, 138, 134));
    p.setColor(QPalette::Highlight, QColor(200, 140, 90));
    return p;
}

} // namespace velmor::test
