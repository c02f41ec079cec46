#pragma once

#include "core/model/Commands.h"
#include "core/model/VelmorState.h"

#include <QString>

#include <array>
#include <optional>

namespace velmor {

// The main window's sections, in sidebar order.
enum class SidebarSection { home, timer, theme, content, sound, general, about };

inline constexpr std::array<SidebarSection, 7> allSidebarSections = {
    SidebarSection::home,  SidebarSection::timer,   SidebarSection::theme, SidebarSection::content,
    SidebarSection::sound, SidebarSection::general, SidebarSection::about};

QString rawValue(SidebarSection section);
std::optional<SidebarSection> sidebarSectionFromRawValue(const QString& raw);
QString title(SidebarSection section); // translated
QString iconName(SidebarSection section);
// general and about sit at the foot of the sidebar, the others at the top.
bool isFooterSection(SidebarSection section);

// The sidebar's session widget: paused only while no session runs.
struct SessionStatus {
    static bool isPaused(const VelmorState& state) { return !state.isActive(); }
    static QString text(const VelmorState& state);            // "Active" / "Paused"
    static QString accessibleLabel(const VelmorState& state); // "Velmor is ... Tap to ..."
    static QString symbol(const VelmorState& state);          // "play.fill" / "pause.fill"
    static Command commandOnClick(const VelmorState& state);  // start when idle, else stop
};

// How wide the sidebar column is. It opens as wide as its widest row asks (a row's label, or
// the session widget, plus the insets around them), never narrower than 160 points; the user
// may drag its edge between the minimum and the maximum. The screen beside it keeps at least
// the room the window's minimum width leaves it.
struct SidebarWidth {
    static constexpr int minimum = 160;
    static constexpr int maximum = 300;
    static constexpr int rowInset = 8;     // each side of a section row
    static constexpr int statusInset = 12; // each side of the session widget
    // What the screen beside the sidebar keeps when the window is at its minimum width.
    static constexpr int screenMinimum = 480 - minimum;

    // The width the column opens at, from the widest section row's and the session widget's
    // own widths.
    static int preferred(int widestRow, int statusWidget);
};

} // namespace velmor
