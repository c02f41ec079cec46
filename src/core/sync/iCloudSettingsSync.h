#pragma once

#include <QObject>

namespace velmor {

class AppState;
class SyncedKeyValueStore;

// Mirrors the theme, the sound and the fixed interval through the sync folder's key-value
// store: pulls at start and whenever another computer changes the store, pushes all three
// whenever one of them changes here. Every other setting stays on this computer.
class iCloudSettingsSync final : public QObject {
    Q_OBJECT
public:
    static constexpr const char* themeKey = "velmor.theme";
    static constexpr const char* soundKey = "velmor.sound";
    static constexpr const char* intervalKey = "velmor.intervalSeconds";

    iCloudSettingsSync(AppState& state, SyncedKeyValueStore& store);

    bool isStarted() const { return isStarted_; }
    // A second call does nothing.
    void start();
    void handleExternalChange();
    void pull();
    void push();

private:
    void arm();
    void tracked();

    AppState& state_;
    SyncedKeyValueStore& store_;
    bool isStarted_ = false;
    bool armed_ = false;
};

} // namespace velmor
