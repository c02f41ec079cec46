#include "core/screens/SidebarSection.h"

#include <QCoreApplication>

#include <algorithm>

namespace velmor {

QString rawValue(SidebarSection section) {
    switch (section) {
    case SidebarSection::home:
        return QStringLiteral("home");
    case SidebarSection::timer:
        return QStringLiteral("timer");
    case SidebarSection::theme:
        return QStringLiteral("theme");
    case SidebarSection::content:
        return QStringLiteral("content");
    case SidebarSection::sound:
        return QStringLiteral("sound");
    case SidebarSection::general:
        return QStringLiteral("general");
    case SidebarSection::about:
        return QStringLiteral("about");
    }
    return {};
}

std::optional<SidebarSection> sidebarSectionFromRawValue(const QString& raw) {
    for (SidebarSection section : allSidebarSections)
        if (rawValue(section) == raw)
            return section;
    return std::nullopt;
}

QString title(SidebarSection section) {
    switch (section) {
    case SidebarSection::home:
        return QCoreApplication::translate("Sidebar", "Home");
    case SidebarSection::timer:
        return QCoreApplication::translate("Sidebar", "Timer");
    case SidebarSection::theme:
        return QCoreApplication::translate("Sidebar", "Theme");
    case SidebarSection::content:
        return QCoreApplication::translate("Sidebar", "Content");
    case SidebarSection::sound:
        return QCoreApplication::translate("Sidebar", "Sound");
    case SidebarSection::general:
        return QCoreApplication::translate("Sidebar", "General");
    case SidebarSection::about:
        return QCoreApplication::translate("Sidebar", "About");
    }
    return {};
}

QString iconName(SidebarSection section) {
    switch (section) {
    case SidebarSection::home:
        return QStringLiteral("house");
    case SidebarSection::timer:
        return QStringLiteral("timer");
    case SidebarSection::theme:
        return QStringLiteral("paintpalette");
    case SidebarSection::content:
        return QStringLiteral("text.quote");
    case SidebarSection::sound:
        return QStringLiteral("bell");
    case SidebarSection::general:
        return QStringLiteral("gear");
    case SidebarSection::about:
        return QStringLiteral("info.circle");
    }
    return {};
}

bool isFooterSection(SidebarSection section) {
    return section == SidebarSection::general || section == SidebarSection::about;
}

QString SessionStatus::text(const VelmorState& state) {
    return isPaused(state) ? QCoreApplication::translate("Sidebar", "Paused")
                           : QCoreApplication::translate("Sidebar", "Active");
}

QString SessionStatus::accessibleLabel(const VelmorState& state) {
    return isPaused(state)
               ? QCoreApplication::translate("Sidebar", "Velmor is paused. Tap to start.")
               : QCoreApplication::translate("Sidebar", "Velmor is active. Tap to pause.");
}

QString SessionStatus::symbol(const VelmorState& state) {
    return isPaused(state) ? QStringLiteral("play.fill") : QStringLiteral("pause.fill");
}

Command SessionStatus::commandOnClick(const VelmorState& state) {
    return isPaused(state) ? Command::startSession : Command::stopSession;
}

int SidebarWidth::preferred(int widestRow, int statusWidget) {
    const int content = std::max(widestRow + 2 * rowInset, statusWidget + 2 * statusInset);
    return std::clamp(content, minimum, maximum);
}

} // namespace velmor
