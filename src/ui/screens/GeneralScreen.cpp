#include "ui/screens/GeneralScreen.h"

#include "core/screens/GeneralRules.h"
#include "core/screens/RecorderRules.h"
#include "core/settings/AppState.h"
#include "core/shortcuts/GlobalShortcuts.h"
#include "ui/controls/VelmorSegmentedPicker.h"
#include "ui/screens/Cards.h"
#include "ui/screens/ScreenLayout.h"
#include "ui/screens/ShortcutRecorder.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QSystemTrayIcon>

namespace velmor {

using namespace ui;
using Tone = TextBlock::Tone;

GeneralScreen::GeneralScreen(const WindowServices& services, const WidgetFactory& syncBlock,
                             QWidget* parent)
    : QWidget(parent) {
    AppState& state = services.state;
    auto* column = screenColumn(this, 20);

    auto* appearanceBlock = block(column, 8);
    appearanceBlock->addWidget(caption(tr("Appearance"), this));
    appearance_ =
        new VelmorSegmentedPicker({rawValue(AppearanceMode::system),
                                   rawValue(AppearanceMode::light), rawValue(AppearanceMode::dark)},
                                  this);
    appearance_->bind<AppearanceMode>(
        {AppearanceMode::system, AppearanceMode::light, AppearanceMode::dark},
        [&state] { return state.appearanceMode(); },
        [&state](AppearanceMode mode) { state.setAppearanceMode(mode); }, &state,
        &AppState::appearanceModeChanged);
    appearanceBlock->addWidget(appearance_);

    auto* scopeBlock = block(column, 8);
    scopeBlock->addWidget(caption(tr("Velmor darkens"), this));
    scope_ = new VelmorSegmentedPicker(
        {rawValue(OverlayScope::thisScreen), rawValue(OverlayScope::everyScreen)}, this);
    scope_->bind<OverlayScope>(
        {OverlayScope::thisScreen, OverlayScope::everyScreen},
        [&state] { return state.overlayScope(); },
        [&state](OverlayScope scope) { state.setOverlayScope(scope); }, &state,
        &AppState::overlayScopeChanged);
    scopeBlock->addWidget(scope_);

    auto* startup = block(column, 8);
    startup->addWidget(caption(tr("Startup"), this));
    launchAtLogin_ = new QCheckBox(tr("Launch Velmor at login"), this);
    launchAtLogin_->setFont(regularFont(13));
    // The desktop's own record, read each time the screen is made.
    launchAtLogin_->setChecked(services.loginItem && services.loginItem->isEnabled());
    launchAtLogin_->setEnabled(services.loginItem != nullptr);
    startup->addWidget(launchAtLogin_);
    LoginItem* loginItem = services.loginItem;
    connect(launchAtLogin_, &QCheckBox::toggled, this, [this, loginItem](bool wanted) {
        if (!loginItem)
            return;
        const bool shown = GeneralRules::applyLaunchAtLogin(*loginItem, wanted);
        if (shown != wanted) {
            // Refused: the checkbox goes back to what the desktop actually has.
            const QSignalBlocker blocker(launchAtLogin_);
            launchAtLogin_->setChecked(shown);
        }
    });

    auto* calls = block(column, 8);
    calls->addWidget(caption(tr("Calls"), this));
    pauseDuringCalls_ = new QCheckBox(tr("Pause during calls and recordings"), this);
    pauseDuringCalls_->setFont(regularFont(13));
    pauseDuringCalls_->setChecked(state.pauseDuringCalls());
    calls->addWidget(pauseDuringCalls_);
    auto* callsHelp = new TextBlock(tr("Velmor will wait to arrive when your microphone is in use "
                                       "or you have a meeting on your calendar."),
                                    regularFont(11), Tone::tertiary, this);
    callsHelp->setLineSpacing(2);
    calls->addWidget(callsHelp);
    const auto requestAccess = services.requestCalendarAccess;
    connect(pauseDuringCalls_, &QCheckBox::toggled, this, [&state, requestAccess](bool on) {
        state.setPauseDuringCalls(on);
        GeneralRules::pauseDuringCallsChanged(on, requestAccess);
    });
    connect(&state, &AppState::pauseDuringCallsChanged, this, [this, &state] {
        const QSignalBlocker blocker(pauseDuringCalls_);
        pauseDuringCalls_->setChecked(state.pauseDuringCalls());
    });
    auto* fullScreen = new QCheckBox(tr("Wait while a video or game is full screen"), this);
    fullScreen->setObjectName(QStringLiteral("waitWhileFullScreen"));
    fullScreen->setFont(regularFont(13));
    fullScreen->setChecked(state.waitWhileFullScreen());
    calls->addWidget(fullScreen);
    connect(fullScreen, &QCheckBox::toggled, &state, &AppState::setWaitWhileFullScreen);
    connect(&state, &AppState::waitWhileFullScreenChanged, fullScreen, [fullScreen, &state] {
        const QSignalBlocker blocker(fullScreen);
        fullScreen->setChecked(state.waitWhileFullScreen());
    });

    if (syncBlock)
        if (QWidget* sync = syncBlock(this))
            column->addWidget(sync);

    auto* keys = block(column, 10);
    keys->addWidget(caption(tr("Keyboard shortcuts"), this));
    auto* card = new OutlinedCard(this);
    auto* cardColumn = new QVBoxLayout(card);
    cardColumn->setContentsMargins(0, 0, 0, 0);
    cardColumn->setSpacing(0);
    auto* triggerRow = new QHBoxLayout;
    triggerRow->setContentsMargins(12, 10, 12, 10);
    triggerRow->addWidget(
        new TextBlock(tr("Trigger velmoring"), regularFont(13), Tone::primary, card), 1,
        Qt::AlignVCenter);
    if (RecorderRules::cardState() == RecorderRules::CardState::recorder) {
        recorder_ = new ShortcutRecorder(shortcuts::triggerVelmoring(), {}, card);
        recorder_->setTitle(tr("Trigger velmoring"));
        triggerRow->addWidget(recorder_, 0, Qt::AlignVCenter);
        cardColumn->addLayout(triggerRow);
    } else {
        // A shortcut recorded here could never fire: say what works instead.
        cardColumn->addLayout(triggerRow);
        auto* unavailableRow = new QHBoxLayout;
        unavailableRow->setContentsMargins(12, 0, 12, 10);
        shortcutUnavailable_ =
            new TextBlock(RecorderRules::unavailableLine(), regularFont(11), Tone::secondary, card);
        unavailableRow->addWidget(shortcutUnavailable_, 1);
        cardColumn->addLayout(unavailableRow);
    }
    auto* divider = new QHBoxLayout;
    divider->setContentsMargins(0, 0, 0, 0);
    divider->addWidget(new Divider(12, card));
    cardColumn->addLayout(divider);
    auto* settingsRow = new QHBoxLayout;
    settingsRow->setContentsMargins(12, 10, 12, 10);
    settingsRow->addWidget(
        new TextBlock(GeneralRules::openSettingsTitle(), regularFont(13), Tone::primary, card), 1);
    settingsRow->addWidget(new TextBlock(GeneralRules::openSettingsShortcut(), regularFont(13),
                                         Tone::secondary, card));
    cardColumn->addLayout(settingsRow);
    keys->addWidget(card);

    // Read as the screen is made: a tray host that came or went since shows next time.
    auto* footnote = new TextBlock(GeneralRules::footnote(QSystemTrayIcon::isSystemTrayAvailable()),
                                   regularFont(12), Tone::tertiary, this);
    footnote->setLineSpacing(3);
    column->addSpacing(4);
    column->addWidget(footnote);
}

} // namespace velmor
