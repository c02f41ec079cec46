#pragma once

#include "core/screens/SidebarSection.h"
#include "ui/controls/SelectableItem.h"

#include <QAbstractButton>
#include <QWidget>

#include <map>

namespace velmor {

class AppState;
class Commands;

namespace ui {
class HoverFade;
}

// One section of the sidebar: its symbol and title in Lora 13, on a fill of the accent (18 %)
// when selected or the primary colour (5 %) while hovered.
class SidebarRow final : public ui::SelectableItem {
    Q_OBJECT
public:
    SidebarRow(SidebarSection section, QWidget* parent = nullptr);
    SidebarSection section() const { return section_; }
    bool isHovered() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    SidebarSection section_;
    ui::HoverFade* hover_;
};

// "Active" or "Paused" with its symbol; a click starts or stops the session. It never changes
// the state itself: it redraws when the session state changes.
class SessionStatusWidget final : public QAbstractButton {
    Q_OBJECT
public:
    SessionStatusWidget(AppState& state, Commands& commands, QWidget* parent = nullptr);
    bool isHovered() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void refresh();

    AppState& state_;
    Commands& commands_;
    ui::HoverFade* hover_;
};

// The status widget, the five main rows, a gap, then General and About at the foot, and under
// them "Quit Velmor": on a desktop without a tray the window is the way out.
class SidebarView final : public QWidget {
    Q_OBJECT
public:
    SidebarView(AppState& state, Commands& commands, QWidget* parent = nullptr);

    void setSelection(SidebarSection section);
    SidebarSection selection() const { return selection_; }
    SidebarRow* row(SidebarSection section) const { return rows_.at(section); }
    SessionStatusWidget* statusWidget() const { return status_; }
    QAbstractButton* quitButton() const { return quit_; }
    // As wide as the widest row asks, within the sidebar's limits.
    QSize sizeHint() const override;

signals:
    void selectionRequested(SidebarSection section);
    void quitRequested();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::map<SidebarSection, SidebarRow*> rows_;
    SessionStatusWidget* status_;
    QAbstractButton* quit_;
    SidebarSection selection_ = SidebarSection::home;
};

} // namespace velmor
