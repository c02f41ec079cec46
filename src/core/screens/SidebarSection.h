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

} // namespace velmor
