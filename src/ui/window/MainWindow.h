#pragma once

#include "core/screens/SidebarSection.h"
#include "ui/screens/WindowServices.h"

#include <QColor>
#include <QPalette>
#include <QPointer>
#include <QVariantAnimation>
#include <QWidget>

#include <functional>

class QAction;
class QScrollArea;
class QSplitter;

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
    // Whether the desktop asks for less motion (then colours and sections change at once);
    // read afresh at each change. The desktop's own setting unless a test says otherwise.
    void setReducesMotion(std::function<bool()> reducesMotion);
    QAction* openSettingsAction() const { return openSettings_; }

signals:
    void screenChanged(QWidget* screen);
    // The user closed the window; it is hidden already.
    void closed();
    // The user asked to quit Velmor ("Quit Velmor" or Ctrl+Q: the way out where no tray offers
    // one).
    void quitRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QWidget* createScreen(SidebarSection section);
    void showScreen(bool animated);
    // The theme or the appearance changed: fade the window's colours over to the new ones.
    void coloursChanged();
    QPalette targetPalette() const;
    QColor targetWash() const;

    WindowServices services_;
    WidgetFactory contentScreen_;
    WidgetFactory syncBlock_;
    SidebarView* sidebar_;
    QWidget* detail_;
    QSplitter* splitter_;
    QScrollArea* scroll_;
    QPointer<QWidget> screen_;
    CrossFade* fade_;
    QAction* openSettings_;
    QAction* quit_;
    SidebarSection selection_ = SidebarSection::home;

    std::function<bool()> reducesMotion_;

    // The colours shown, blended towards the theme's and the appearance's over 0.3 s when
    // either changes.
    QColor wash_, fromWash_;
    QPalette fromPalette_;
    QVariantAnimation* colourFade_;
};

} // namespace velmor
