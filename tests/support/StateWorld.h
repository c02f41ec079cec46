#pragma once

#include "TestHome.h"
#include "VirtualClock.h"
#include "core/content/UserLibrary.h"
#include "core/model/Commands.h"
#include "core/settings/AppState.h"
#include "core/settings/SettingsStore.h"
#include "core/settings/SoundPreparer.h"

namespace velmor::test {

// The settings model and the user library, in memory (or the library saved to its file in the
// private home), on a virtual clock.
struct StateWorld {
    explicit StateWorld(bool libraryOnDisk = false)
        : library(libraryOnDisk ? libraryPath() : QString(), clock) {}
    QString libraryPath() const { return home.dataDir() + "/velmor/user-library.json"; }

    TestHome home;
    VirtualClock clock;
    SettingsStore store{QString(), clock};
    Commands notifications;
    AppState state{store, notifications, SoundPreparer::shared()};
    UserLibrary library;
};

// A prompt as the user writes one.
inline PromptItem userPrompt(const QString& id, const QString& text = QString()) {
    return PromptItem{id,
                      text.isNull() ? "text " + id : text,
                      PromptCategory::question,
                      std::nullopt,
                      std::nullopt,
                      PackSource::user};
}

} // namespace velmor::test
