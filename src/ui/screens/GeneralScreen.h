#pragma once

#include "ui/screens/WindowServices.h"

#include <QWidget>

class QCheckBox;

namespace velmor {

class ShortcutRecorder;

namespace ui {
class VelmorSegmentedPicker;
}

// Appearance, how many screens darken, launch at login, pausing during calls, the shortcut.
class GeneralScreen final : public QWidget {
    Q_OBJECT
public:
    // `syncBlock` (may be empty) adds its widget after the calls block.
    GeneralScreen(const WindowServices& services, const WidgetFactory& syncBlock,
                  QWidget* parent = nullptr);

    ui::VelmorSegmentedPicker* appearancePicker() const { return appearance_; }
    ui::VelmorSegmentedPicker* scopePicker() const { return scope_; }
    QCheckBox* launchAtLoginToggle() const { return launchAtLogin_; }
    QCheckBox* pauseDuringCallsToggle() const { return pauseDuringCalls_; }
    // Null where the desktop lets no program hold a global shortcut; the card then shows
    // shortcutUnavailableLine() instead.
    ShortcutRecorder* recorder() const { return recorder_; }
    QWidget* shortcutUnavailableLine() const { return shortcutUnavailable_; }

private:
    ui::VelmorSegmentedPicker* appearance_;
    ui::VelmorSegmentedPicker* scope_;
    QCheckBox* launchAtLogin_;
    QCheckBox* pauseDuringCalls_;
    ShortcutRecorder* recorder_ = nullptr;
    QWidget* shortcutUnavailable_ = nullptr;
};

} // namespace velmor
