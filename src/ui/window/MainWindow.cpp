#include "ui/window/MainWindow.h"

#include "core/base/FileProblems.h"
#include "core/settings/AppState.h"
#include "platform/desktop/Appearance.h"
#include "platform/desktop/Fonts.h"
#include "platform/desktop/ReduceMotion.h"
#include "platform/x11/WindowActivation.h"
#include "ui/controls/Style.h"
#include "ui/controls/TextBlock.h"
#include "ui/controls/WindowStyle.h"
#include "ui/screens/AboutScreen.h"
#include "ui/screens/Cards.h"
#include "ui/screens/GeneralScreen.h"
#include "ui/screens/HomeScreen.h"
#include "ui/screens/SoundScreen.h"
#include "ui/screens/ThemeScreen.h"
#include "ui/screens/TimerScreen.h"
#include "ui/window/SidebarView.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QVBoxLayout>
#include <QVariantAnimation>
#include <QWindow>

namespace velmor {

using namespace ui;

namespace {

QColor blend(const QColor& a, const QColor& b, double t) {
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t),
                            float(a.greenF() + (b.greenF() - a.greenF()) * t),
                            float(a.blueF() + (b.blueF() - a.blueF()) * t),
                            float(a.alphaF() + (b.alphaF() - a.alphaF()) * t));
}

QPalette blend(const QPalette& a, const QPalette& b, double t) {
    QPalette mixed = b;
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        for (int role = 0; role < QPalette::NColorRoles; ++role) {
            if (role == QPalette::NoRole)
                continue;
            const auto r = QPalette::ColorRole(role);
            mixed.setColor(group, r, blend(a.color(group, r), b.color(group, r), t));
        }
    return mixed;
}

// The sidebar's edge is drawn by the window (see paintEvent), so the handle itself is clear.
class SidebarEdge final : public QSplitterHandle {
public:
    using QSplitterHandle::QSplitterHandle;

protected:
    void paintEvent(QPaintEvent*) override {}
};

class SidebarSplitter final : public QSplitter {
public:
    using QSplitter::QSplitter;

protected:
    QSplitterHandle* createHandle() override { return new SidebarEdge(orientation(), this); }
};

// Under the screen, one line for each file that could not be saved or read, until it is saved
// again; nothing while all is well.
QWidget* makeProblemsLine(FileProblems* problems, QWidget* parent) {
    auto* box = new QWidget(parent);
    box->setObjectName(QStringLiteral("fileProblems"));
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(24, 8, 24, 12);
    layout->setSpacing(8);
    layout->addWidget(new Divider(0, box));
    auto* text = new TextBlock(QString(), regularFont(12), TextBlock::Tone::secondary, box);
    text->setLineSpacing(2);
    layout->addWidget(text);
    const auto follow = [box, text, problems] {
        const QStringList lines = problems ? problems->lines() : QStringList();
        text->setText(lines.join(u'\n'));
        box->setVisible(!lines.isEmpty());
    };
    follow();
    if (problems)
        QObject::connect(problems, &FileProblems::changed, box, follow);
    return box;
}

} // namespace

// A picture of the screen that was shown, fading out over the new one: the cross-fade of a
// section change.
class CrossFade final : public QWidget {
public:
    explicit CrossFade(QWidget* parent) : QWidget(parent), animation_(new QVariantAnimation(this)) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        animation_->setObjectName(QStringLiteral("sectionFade"));
        animation_->setDuration(crossFadeMs);
        animation_->setEasingCurve(QEasingCurve::InOutQuad);
        animation_->setStartValue(1.0);
        animation_->setEndValue(0.0);
        connect(animation_, &QVariantAnimation::valueChanged, this, [this](const QVariant& v) {
            opacity_ = v.toDouble();
            update();
        });
        connect(animation_, &QVariantAnimation::finished, this, [this] {
            picture_ = QPixmap();
            hide();
        });
        hide();
    }

    void start(const QPixmap& picture) {
        picture_ = picture;
        opacity_ = 1.0;
        setGeometry(parentWidget()->rect());
        show();
        raise();
        animation_->stop();
        animation_->start();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        if (picture_.isNull())
            return;
        QPainter painter(this);
        painter.setOpacity(opacity_);
        painter.drawPixmap(0, 0, picture_);
    }

private:
    QVariantAnimation* animation_;
    QPixmap picture_;
    double opacity_ = 0.0;
};

MainWindow::MainWindow(WindowServices services, WidgetFactory contentScreen)
    : services_(std::move(services)), contentScreen_(std::move(contentScreen)),
      reducesMotion_(&systemReducesMotion), colourFade_(new QVariantAnimation(this)) {
    loadBundledFonts();
    WindowStyle::install();
    setWindowTitle(QStringLiteral("Velmor"));
    setMinimumSize(480, 350);
    resize(600, 450);
    setFont(regularFont(13));

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    // A split view: the sidebar opens as wide as its rows ask and keeps its width as the window
    // grows; its edge can be dragged between the sidebar's limits.
    splitter_ = new SidebarSplitter(Qt::Horizontal, this);
    splitter_->setChildrenCollapsible(false);
    splitter_->setHandleWidth(3);
    row->addWidget(splitter_);
    sidebar_ = new SidebarView(services_.state, services_.commands, splitter_);
    splitter_->addWidget(sidebar_);

    detail_ = new QWidget(splitter_);
    detail_->setMinimumWidth(SidebarWidth::screenMinimum - splitter_->handleWidth());
    auto* detailLayout = new QVBoxLayout(detail_);
    detailLayout->setContentsMargins(0, 0, 0, 0);
    scroll_ = new QScrollArea(detail_);
    scroll_->setFrameShape(QFrame::NoFrame);
    // Not a stop of its own on the way through the controls (it would be read as a nameless
    // filler); it still scrolls each control that takes the focus into view.
    scroll_->setFocusPolicy(Qt::NoFocus);
    scroll_->setWidgetResizable(true);
    scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll_->setBackgroundRole(QPalette::NoRole);
    scroll_->setAutoFillBackground(false);
    scroll_->viewport()->setAutoFillBackground(false);
    detailLayout->addWidget(scroll_);
    problems_ = makeProblemsLine(services_.fileProblems, detail_);
    detailLayout->addWidget(problems_);
    splitter_->addWidget(detail_);
    connect(splitter_, &QSplitter::splitterMoved, this, qOverload<>(&QWidget::update));
    splitter_->setStretchFactor(0, 0);
    splitter_->setStretchFactor(1, 1);
    const int sidebarWidth = sidebar_->sizeHint().width();
    splitter_->setSizes({sidebarWidth, width() - sidebarWidth - splitter_->handleWidth()});
    fade_ = new CrossFade(detail_);

    connect(sidebar_, &SidebarView::selectionRequested, this, &MainWindow::select);

    openSettings_ = new QAction(tr("Open settings"), this);
    openSettings_->setShortcut(QKeySequence(QStringLiteral("Ctrl+,")));
    openSettings_->setShortcutContext(Qt::WindowShortcut);
    connect(openSettings_, &QAction::triggered, this, [this] { select(SidebarSection::general); });
    addAction(openSettings_);
    quit_ = new QAction(tr("Quit Velmor"), this);
    quit_->setShortcut(QKeySequence(QStringLiteral("Ctrl+Q")));
    quit_->setShortcutContext(Qt::WindowShortcut);
    connect(quit_, &QAction::triggered, this, &MainWindow::quitRequested);
    connect(sidebar_, &SidebarView::quitRequested, quit_, &QAction::trigger);
    addAction(quit_);

    colourFade_->setObjectName(QStringLiteral("colourFade"));
    colourFade_->setDuration(themeFadeMs);
    colourFade_->setEasingCurve(QEasingCurve::InOutQuad);
    colourFade_->setStartValue(0.0);
    colourFade_->setEndValue(1.0);
    connect(colourFade_, &QVariantAnimation::valueChanged, this, [this](const QVariant& v) {
        // The target is read at every step, so a change during the fade is followed too.
        setPalette(blend(fromPalette_, targetPalette(), v.toDouble()));
        update();
    });
    connect(&services_.state, &AppState::themeChanged, this, &MainWindow::coloursChanged);
    connect(&services_.state, &AppState::appearanceModeChanged, this, &MainWindow::coloursChanged);
    connect(&SystemAppearance::shared(), &SystemAppearance::changed, this,
            &MainWindow::coloursChanged);
    setPalette(targetPalette());
}

MainWindow::~MainWindow() = default;

void MainWindow::setReducesMotion(std::function<bool()> reducesMotion) {
    reducesMotion_ =
        reducesMotion ? std::move(reducesMotion) : std::function<bool()>(&systemReducesMotion);
}

void MainWindow::setContentScreen(WidgetFactory factory) {
    contentScreen_ = std::move(factory);
    if (selection_ == SidebarSection::content && screen_)
        showScreen(false);
}

void MainWindow::setSyncBlock(WidgetFactory factory) {
    syncBlock_ = std::move(factory);
    if (selection_ == SidebarSection::general && screen_)
        showScreen(false);
}

void MainWindow::bringToFront(const QString& activationToken) {
    const bool known = isVisible(); // to the window manager: in front, covered or minimised
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    pendingActivation_ = activationToken;
    windowHandle()->removeEventFilter(this);
    windowHandle()->installEventFilter(this);
    // A window the manager has already seen (shown, minimised or covered) is asked for now;
    // one that is not mapped yet once it is.
    if (known) {
        activate();
        if (windowHandle()->isExposed())
            pendingActivation_.reset();
    }
}

void MainWindow::activate() {
    const QString token = pendingActivation_.value_or(QString());
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        activateX11Window(windowHandle(), token);
        return;
    }
    // Qt's Wayland shell hands a token found here to the compositor with the activation.
    if (!token.isEmpty())
        qputenv("XDG_ACTIVATION_TOKEN", token.toUtf8());
    activateWindow();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == windowHandle() && event->type() == QEvent::Expose && pendingActivation_ &&
        windowHandle()->isExposed()) {
        activate();
        pendingActivation_.reset();
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::select(SidebarSection section) {
    if (section == selection_ && screen_)
        return; // the same section: nothing changes, nothing replays
    selection_ = section;
    sidebar_->setSelection(section);
    showScreen(isVisible());
}

QWidget* MainWindow::createScreen(SidebarSection section) {
    switch (section) {
    case SidebarSection::home:
        return new HomeScreen(services_);
    case SidebarSection::timer:
        return new TimerScreen(services_.state);
    case SidebarSection::theme:
        return new ThemeScreen(services_.state, services_.commands);
    case SidebarSection::content:
        if (contentScreen_)
            if (QWidget* screen = contentScreen_(nullptr))
                return screen;
        return new QWidget;
    case SidebarSection::sound:
        return new SoundScreen(services_.state, services_.previewSound);
    case SidebarSection::general:
        return new GeneralScreen(services_, syncBlock_);
    case SidebarSection::about:
        return new AboutScreen;
    }
    return new QWidget;
}

void MainWindow::showScreen(bool animated) {
    // The picture of the old screen is taken with the window's background under it, so it
    // covers the new screen at first and fades to show it: a real cross-fade.
    if (animated && screen_ && detail_->isVisible() && !reducesMotion_())
        fade_->start(grab(QRect(detail_->mapTo(this, QPoint(0, 0)), detail_->size())));
    // The old screen goes, so the new one starts with fresh state.
    if (QWidget* old = scroll_->takeWidget())
        old->deleteLater();
    screen_ = createScreen(selection_);
    screen_->setObjectName(rawValue(selection_) + QStringLiteral("Screen"));
    scroll_->setWidget(screen_);
    // After setWidget(), which would have the screen paint the window colour over the wash.
    screen_->setAutoFillBackground(false);
    scroll_->verticalScrollBar()->setValue(0);
    if (fade_->isVisible())
        fade_->raise();
    emit screenChanged(screen_);
}

void MainWindow::showEvent(QShowEvent* event) {
    if (!screen_)
        showScreen(false);
    QWidget::showEvent(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    hide();
    event->ignore();
    // The window's content starts again at Home next time; nothing of it is kept meanwhile.
    selection_ = SidebarSection::home;
    sidebar_->setSelection(selection_);
    if (QWidget* old = scroll_->takeWidget())
        old->deleteLater();
    screen_ = nullptr;
    emit closed();
}

QPalette MainWindow::targetPalette() const {
    const ThemeInfo& theme = themeInfo(services_.state.theme());
    QPalette palette = paletteFor(services_.state.appearanceMode(), toQColor(theme.accentColor));
    setMutedColor(palette, toQColor(theme.mutedColor));
    // The theme's wash at 7 % is part of the window colour, so every colour worked out against
    // the window (the text tones, the outlines) is worked out against what is seen; a clear
    // wash leaves the window colour as it is.
    const QColor wash = toQColor(theme.washColor);
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const QColor window = palette.color(group, QPalette::Window);
        palette.setColor(group, QPalette::Window,
                         blend(window, QColor(wash.rgb()), 0.07 * wash.alphaF()));
    }
    return palette;
}

void MainWindow::coloursChanged() {
    colourFade_->stop();
    if (isVisible() && !reducesMotion_()) {
        fromPalette_ = palette();
        colourFade_->start();
        return;
    }
    setPalette(targetPalette());
    update();
}

void MainWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    // A hairline at the sidebar's edge.
    const int edge = sidebar_->mapTo(this, QPoint(sidebar_->width(), 0)).x();
    painter.fillRect(QRect(edge, 0, 1, height()), separatorColor(this));
}

} // namespace velmor
