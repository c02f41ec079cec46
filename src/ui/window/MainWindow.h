#pragma once

#include "core/screens/SidebarSection.h"
#include "ui/screens/WindowServices.h"

#include <QColor>
#include <QPalette>
#include <QPointer>
#include <QVariantAnimation>
#include <QWidget>

#include <functional>
#include <optional>

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

    // Shows the window (again, if it was minimised or covered) and brings it to the front with
    // the keyboard focus. `activationToken` is the launch's that asked for it, if any (an X11
    // startup id or a Wayland activation token): the desktop lets a window forward for it.
    void bringToFront(const QString& activationToken = {});

    SidebarSection selection() const { return selection_; }
    void select(SidebarSection section);
    QWidget* currentScreen() const { return screen_; }
    SidebarView* sidebar() const { return sidebar_; }
    // Whether the desktop asks for less motion (then colours and sections change at once);
    // read afresh at each change. The desktop's own setting unless a test says otherwise.
    void setReducesMotion(std::function<bool()> reducesMotion);
    QAction* openSettingsAction() const { return openSettings_; }
    // The quiet line under the screen that names files Velmor could not save or read.
    QWidget* fileProblemsLine() const { return problems_; }

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
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void activate();
    QWidget* createScreen(SidebarSection section);
    void showScreen(bool animated);
    // The theme or the appearance changed: fade the window's colours over to the new ones.
    void coloursChanged();
    QPalette targetPalette() const;

    WindowServices services_;
    WidgetFactory contentScreen_;
    WidgetFactory syncBlock_;
    SidebarView* sidebar_;
    QWidget* detail_;
    QSplitter* splitter_;
    QScrollArea* scroll_;
    QWidget* problems_;
    QPointer<QWidget> screen_;
    CrossFade* fade_;
    QAction* openSettings_;
    QAction* quit_;
    SidebarSection selection_ = SidebarSection::home;
    // Asked for before the window was on screen: done once it is.
    std::optional<QString> pendingActivation_;

    std::function<bool()> reducesMotion_;

    // The colours shown, blended towards the theme's and the appearance's over 0.3 s when
    // either changes.
    QPalette fromPalette_;
    QVariantAnimation* colourFade_;
};

} // namespace velmor
