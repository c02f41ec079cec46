// Prints how long the content rules take at a large library: one prompt draw, and a library
// load and save of 10,000 prompts.
#include "core/content/ContentManager.h"
#include "core/content/UserLibrary.h"
#include "core/model/Commands.h"
#include "core/settings/AppState.h"
#include "core/settings/SettingsStore.h"
#include "core/settings/SoundPreparer.h"
#include "platform/clock/BootClock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace velmor;

namespace {
constexpr int userPromptCount = 10000;
constexpr int favouriteCount = 1000;

double medianMs(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    BootClock clock;
    SettingsStore store(QString(), clock);
    Commands notifications;
    AppState state(store, notifications, SoundPreparer::shared());
    const QString path = dir.path() + "/user-library.json";
    UserLibrary library(path, clock);

    QList<PromptItem> prompts;
    QSet<QString> favourites;
    for (int i = 0; i < userPromptCount; ++i) {
        auto prompt =
            makeUserPrompt(QStringLiteral("A prompt of my own, number %1, to sit with").arg(i),
                           i % 3 ? QStringLiteral("Me") : QString());
        prompt->category = allCategories[size_t(i % 3)];
        if (i < favouriteCount)
            favourites.insert(prompt->id);
        prompts << *prompt;
    }
    library.mergeLibrary(prompts, favourites, {});

    std::vector<double> saves, loads, draws;
    for (int i = 0; i < 20; ++i) {
        QElapsedTimer t;
        t.start();
        library.save();
        saves.push_back(t.nsecsElapsed() / 1e6);
        t.restart();
        library.load();
        loads.push_back(t.nsecsElapsed() / 1e6);
    }
    std::printf("library save, %d prompts: median %.2f ms (target < 50 ms)\n", userPromptCount,
                medianMs(saves));
    std::printf("library load, %d prompts: median %.2f ms (target < 50 ms)\n", userPromptCount,
                medianMs(loads));

    ContentManager content(state, library, VELMOR_PACK_PATH);
    for (int i = 0; i < 2000; ++i) {
        QElapsedTimer t;
        t.start();
        content.nextPrompt();
        draws.push_back(t.nsecsElapsed() / 1e6);
    }
    draws.erase(draws.begin()); // the first one builds the prompt index, measured below
    std::printf("nextPrompt, %d user prompts and %d favourites: median %.3f ms, max %.3f ms "
                "(target < 1 ms)\n",
                userPromptCount, favouriteCount, medianMs(draws),
                *std::max_element(draws.begin(), draws.end()));
    std::vector<double> afterChange;
    for (int i = 0; i < 20; ++i) {
        library.toggleFavorite(prompts[i].id);
        QElapsedTimer t;
        t.start();
        content.nextPrompt();
        afterChange.push_back(t.nsecsElapsed() / 1e6);
    }
    std::printf("nextPrompt right after a library change (index rebuilt): median %.3f ms\n",
                medianMs(afterChange));
    return 0;
}
