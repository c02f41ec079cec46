#pragma once

#include "core/screens/SidebarSection.h"
#include "ui/screens/WindowServices.h"

#include <QColor>
#include <QPointer>
#include <QVariantAnimation>
#include <QWidget>

class QAction;
class QScrollArea;

namespace velmor {

class SidebarView;
class CrossFade;

// The main window: the sidebar on the left, the selected section's screen on the right, backed
// by the theme's wash and tinted with its accent. A fresh screen is made on every selection.
// Closing it hides it and says so (Velmor keeps running in the tray; the owner may let it go);
// it opens again at Home.
class MainWindow final : public QWidget {
    Q_OBJECT
public:
    explicit MainWindow(WindowServices services, WidgetFactory contentScreen = {});
    ~MainWindow() override;

    // The content section's screen; an empty page while none is set.
    void setContentScreen(WidgetFactory factory);
    // The block the general screen shows after its calls block; nothing while none is set.
    void setSyncBlock(WidgetFactory factory);

    // Shows the window and brings it to the front with the keyboard focus.
    void bringToFront();

    SidebarSection selection() const { return selection_; }
    void select(SidebarSection section);
    QWidget* currentScreen() const { return screen_; }
    SidebarView* sidebar() const { return sidebar_; }
    QAction* openSettingsAction() const { return openSettings_; }

signals:
    void screenChanged(QWidget* screen);
    // The user closed the window; it is hidden already.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QWidget* createScreen(SidebarSection section);
    void showScreen(bool animated);
    void themeChanged();
    void applyColours();

    WindowServices services_;
    WidgetFactory contentScreen_;
    WidgetFactory syncBlock_;
    SidebarView* sidebar_;
    QWidget* detail_;
    QScrollArea* scroll_;
    QPointer<QWidget> screen_;
    CrossFade* fade_;
    QAction* openSettings_;
    SidebarSection selection_ = SidebarSection::home;

    // The colours shown, blended towards the theme's over 0.3 s when it changes.
    QColor accent_, wash_;
    QColor fromAccent_, fromWash_;
    QVariantAnimation themeAnimation_;
};

} // namespace velmor
