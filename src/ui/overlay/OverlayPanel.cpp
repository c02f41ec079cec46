#include "ui/overlay/OverlayPanel.h"

#include "core/base/Log.h"
#include "platform/wayland/WaylandSession.h"
#include "ui/overlay/OverlayView.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPalette>
#include <QScreen>
#include <QWindow>

namespace velmor {

namespace {

// Override-redirect: window managers such as openbox keep a focused full-screen window above
// every "stays on top" window, and a managed window would be mapped (and so grabbable) only
// once the manager gets round to it.
constexpr Qt::WindowFlags panelFlags = Qt::Window | Qt::FramelessWindowHint |
                                       Qt::WindowStaysOnTopHint | Qt::Tool |
                                       Qt::X11BypassWindowManagerHint;
// On Wayland the compositor stacks windows itself: an ordinary toplevel without decorations,
// maximized or full screen (which also keeps a tiling compositor from tiling it).
constexpr Qt::WindowFlags waylandPanelFlags = Qt::Window | Qt::FramelessWindowHint;

} // namespace

OverlayPanel::OverlayPanel(QScreen* screen, Clock& clock)
    : QWidget(nullptr, isWaylandSession() ? waylandPanelFlags : panelFlags), clock_(clock),
      screen_(screen), wayland_(isWaylandSession()) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    if (wayland_) {
        // The compositor cannot fade the window: the view paints the background with its
        // opacity into a window with an alpha channel.
        setAttribute(Qt::WA_TranslucentBackground);
    } else {
        setAttribute(Qt::WA_NoSystemBackground);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }
    setFocusPolicy(Qt::StrongFocus);
    setWindowTitle(QStringLiteral("Velmor"));
    // The same colours active or not: taking the keyboard would otherwise repaint every pixel.
    QPalette colours = palette();
    for (int role = 0; role < QPalette::NColorRoles; ++role)
        colours.setBrush(QPalette::Inactive, QPalette::ColorRole(role),
                         colours.brush(QPalette::Active, QPalette::ColorRole(role)));
    setPalette(colours);
    if (screen) {
        // The native window must be made on the right screen before the geometry is set.
        create();
        windowHandle()->setScreen(screen);
        setGeometry(screen->geometry());
    }
}

OverlayPanel::~OverlayPanel() {
    if (grabbed_)
        releaseKeyboard();
}

void OverlayPanel::setContent(QWidget* content) {
    content_ = content;
    content_->setParent(this);
    content_->setGeometry(rect());
    if (wayland_)
        content_->installEventFilter(this);
}

void OverlayPanel::resizeEvent(QResizeEvent* event) {
    if (content_)
        content_->setGeometry(rect());
    QWidget::resizeEvent(event);
}

void OverlayPanel::focusInEvent(QFocusEvent* event) {
    event->accept();
}

void OverlayPanel::focusOutEvent(QFocusEvent* event) {
    event->accept();
}

void OverlayPanel::present() {
    // Maximized first: full screen would put black under the fade, and a window shown full
    // screen is raised by mutter before it is in its stack (a CRITICAL in the shell's log).
    if (wayland_)
        setWindowState(Qt::WindowMaximized);
    show();
}

void OverlayPanel::shown() {
    onScreen_ = true;
    if (wantsFullScreen_) {
        // The output of the request is the window's screen, which the compositor may have
        // changed to where it placed the window.
        if (screen_ && windowHandle()->screen() != screen_)
            windowHandle()->setScreen(screen_);
        setWindowState(Qt::WindowFullScreen);
    }
}

bool OverlayPanel::eventFilter(QObject* watched, QEvent* event) {
    if (!onScreen_ && event->type() == QEvent::Paint && watched == content_) {
        // Queued behind this paint's flush: the compositor has the window's first frame, and
        // shows the window, before it reads the request.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (!onScreen_ && isVisible())
                    shown();
            },
            Qt::QueuedConnection);
    }
    return QWidget::eventFilter(watched, event);
}

bool OverlayPanel::takeKeyboard() {
    if (wayland_) {
        // No client may grab the keyboard on Wayland, and none asks for it: compositors give a
        // new window the keyboard focus, and an activation sent before the compositor shows
        // the window has mutter raise a window that is not yet in its stack.
        setFocus(Qt::OtherFocusReason);
        return false;
    }
    QWindow* window = windowHandle();
    grabbed_ = window && window->setKeyboardGrabEnabled(true);
    if (grabbed_) {
        // Registers the panel as Qt's keyboard grabber, so keys reach it although another of
        // our windows may hold Qt's focus.
        grabKeyboard();
        return true;
    }
    logLine(QStringLiteral("Overlay keyboard grab refused; activating the overlay instead"));
    activateWindow();
    setFocus(Qt::OtherFocusReason);
    return false;
}

void OverlayPanel::remove() {
    if (grabbed_) {
        releaseKeyboard();
        grabbed_ = false;
    }
    hide();
}

void OverlayPanel::appear(bool takesKeyboard) {
    // The main panel fades over the desktop; another can reach its output only full screen.
    wantsFullScreen_ = wayland_ && !takesKeyboard;
    present();
    if (takesKeyboard)
        takeKeyboard();
}

void OverlayPanel::beginDismiss() {
    if (auto* view = qobject_cast<OverlayView*>(content_))
        view->beginDismiss();
}

void OverlayPanel::removeLater() {
    remove();
    deleteLater();
}

void OverlayPanel::keyPressEvent(QKeyEvent* event) {
    event->accept();
    if (event->modifiers().testFlag(Qt::ControlModifier) && event->key() == Qt::Key_Q)
        keyPressed(Key::quit, clock_.now());
    else
        keyPressed(event->key() == Qt::Key_Escape ? Key::escape : Key::other, clock_.now());
}

void OverlayPanel::mousePressEvent(QMouseEvent* event) {
    event->accept();
    clicked(clock_.now());
}

} // namespace velmor
