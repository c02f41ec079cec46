#include "core/sync/iCloudSettingsSync.h"

#include "core/model/Catalogues.h"
#include "core/settings/AppState.h"
#include "core/sync/SyncedKeyValueStore.h"

namespace velmor {

iCloudSettingsSync::iCloudSettingsSync(AppState& state, SyncedKeyValueStore& store)
    : state_(state), store_(store) {}

void iCloudSettingsSync::start() {
    if (isStarted_)
        return;
    isStarted_ = true;
    connect(&store_, &SyncedKeyValueStore::changedExternally, this,
            &iCloudSettingsSync::handleExternalChange);
    // A folder chosen while running: its settings win; a folder that holds none yet takes this
    // computer's.
    connect(&store_, &SyncedKeyValueStore::signedIn, this, [this] {
        if (store_.isEmpty())
            push();
        else
            pull();
    });
    connect(&state_, &AppState::themeChanged, this, &iCloudSettingsSync::tracked);
    connect(&state_, &AppState::selectedSoundChanged, this, &iCloudSettingsSync::tracked);
    connect(&state_, &AppState::fixedIntervalMinutesChanged, this, &iCloudSettingsSync::tracked);
    store_.synchronize();
    pull();
    arm();
}

void iCloudSettingsSync::handleExternalChange() {
    QMetaObject::invokeMethod(this, &iCloudSettingsSync::pull, Qt::QueuedConnection);
}

void iCloudSettingsSync::pull() {
    if (auto theme = themeFromRawValue(store_.string(QLatin1String(themeKey)).value_or(QString())))
        state_.setTheme(*theme);
    if (auto sound = soundFromRawValue(store_.string(QLatin1String(soundKey)).value_or(QString())))
        state_.setSelectedSound(*sound);
    if (const double seconds = store_.doubleValue(QLatin1String(intervalKey)); seconds > 0)
        state_.setFixedIntervalMinutes(seconds / 60.0);
}

void iCloudSettingsSync::push() {
    store_.setString(QLatin1String(themeKey), rawValue(state_.theme()));
    store_.setString(QLatin1String(soundKey), rawValue(state_.selectedSound()));
    store_.setDouble(QLatin1String(intervalKey), state_.fixedIntervalMinutes() * 60.0);
    store_.synchronize();
}

void iCloudSettingsSync::arm() {
    armed_ = true;
}

// Fires once per arming: a burst of changes before the queued push runs gives one push with the
// latest values.
void iCloudSettingsSync::tracked() {
    if (!armed_)
        return;
    armed_ = false;
    QMetaObject::invokeMethod(
        this,
        [this] {
            push();
            arm();
        },
        Qt::QueuedConnection);
}

} // namespace velmor
