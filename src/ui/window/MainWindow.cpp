#include "ui/window/MainWindow.h"

#include "core/settings/AppState.h"
#include "platform/desktop/Appearance.h"
#include "platform/desktop/Fonts.h"
#include "ui/controls/Style.h"
#include "ui/screens/AboutScreen.h"
#include "ui/screens/GeneralScreen.h"
#include "ui/screens/HomeScreen.h"
#include "ui/screens/SoundScreen.h"
#include "ui/screens/ThemeScreen.h"
#include "ui/screens/TimerScreen.h"
#include "ui/window/SidebarView.h"

#include <QAction>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QVariantAnimation>

namespace velmor {

using namespace ui;

namespace {

QColor blend(const QColor& a, const QColor& b, double t) {
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t),
                            float(a.greenF() + (b.greenF() - a.greenF()) * t),
                            float(a.blueF() + (b.blueF() - a.blueF()) * t),
                            float(a.alphaF() + (b.alphaF() - a.alphaF()) * t));
}

} // namespace

// A picture of the screen that was shown, fading out over the new one: the cross-fade of a
// section change.
class CrossFade final : public QWidget {
public:
    explicit CrossFade(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        animation_.setDuration(crossFadeMs);
        animation_.setEasingCurve(QEasingCurve::InOutQuad);
        animation_.setStartValue(1.0);
        animation_.setEndValue(0.0);
        connect(&animation_, &QVariantAnimation::valueChanged, this, [this](const QVariant& v) {
            opacity_ = v.toDouble();
            update();
        });
        connect(&animation_, &QVariantAnimation::finished, this, [this] {
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
        animation_.stop();
        animation_.start();
    }
    bool isRunning() const { return animation_.state() == QAbstractAnimation::Running; }

protected:
    void paintEvent(QPaintEvent*) override {
        if (picture_.isNull())
            return;
        QPainter painter(this);
        painter.setOpacity(opacity_);
        painter.drawPixmap(0, 0, picture_);
    }

private:
    QVariantAnimation animation_;
    QPixmap picture_;
    double opacity_ = 0.0;
};

MainWindow::MainWindow(WindowServices services, WidgetFactory contentScreen)
    : services_(std::move(services)), contentScreen_(std::move(contentScreen)) {
    loadBundledFonts();
    setWindowTitle(QStringLiteral("Velmor"));
    setMinimumSize(480, 350);
    resize(600, 450);
    setFont(regularFont(13));

    const ThemeInfo& theme = themeInfo(services_.state.theme());
    accent_ = toQColor(theme.accentColor);
    wash_ = toQColor(theme.washColor);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    sidebar_ = new SidebarView(services_.state, services_.commands, this);
    sidebar_->setFixedWidth(176);
    row->addWidget(sidebar_);

    detail_ = new QWidget(this);
    auto* detailLayout = new QVBoxLayout(detail_);
    detailLayout->setContentsMargins(0, 0, 0, 0);
    scroll_ = new QScrollArea(detail_);
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setWidgetResizable(true);
    scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll_->setBackgroundRole(QPalette::NoRole);
    scroll_->setAutoFillBackground(false);
    scroll_->viewport()->setAutoFillBackground(false);
    detailLayout->addWidget(scroll_);
    row->addWidget(detail_, 1);
    fade_ = new CrossFade(detail_);

    connect(sidebar_, &SidebarView::selectionRequested, this, &MainWindow::select);

    openSettings_ = new QAction(tr("Open settings"), this);
    openSettings_->setShortcut(QKeySequence(QStringLiteral("Ctrl+,")));
    openSettings_->setShortcutContext(Qt::WindowShortcut);
    connect(openSettings_, &QAction::triggered, this, [this] { select(SidebarSection::general); });
    addAction(openSettings_);

    themeAnimation_.setDuration(themeFadeMs);
    themeAnimation_.setEasingCurve(QEasingCurve::InOutQuad);
    themeAnimation_.setStartValue(0.0);
    themeAnimation_.setEndValue(1.0);
    connect(&themeAnimation_, &QVariantAnimation::valueChanged, this, [this](const QVariant& v) {
        const ThemeInfo& now = themeInfo(services_.state.theme());
        accent_ = blend(fromAccent_, toQColor(now.accentColor), v.toDouble());
        wash_ = blend(fromWash_, toQColor(now.washColor), v.toDouble());
        applyColours();
    });
    connect(&services_.state, &AppState::themeChanged, this, &MainWindow::themeChanged);
    connect(&services_.state, &AppState::appearanceModeChanged, this, &MainWindow::applyColours);
    connect(&SystemAppearance::shared(), &SystemAppearance::changed, this,
            &MainWindow::applyColours);
    applyColours();
}

MainWindow::~MainWindow() = default;

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

void MainWindow::bringToFront() {
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
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
    if (animated && screen_ && detail_->isVisible())
        fade_->start(detail_->grab());
    // The old screen goes, so the new one starts with fresh state.
    if (QWidget* old = scroll_->takeWidget())
        old->deleteLater();
    screen_ = createScreen(selection_);
    screen_->setObjectName(rawValue(selection_) + QStringLiteral("Screen"));
    screen_->setAutoFillBackground(false);
    scroll_->setWidget(screen_);
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

void MainWindow::themeChanged() {
    fromAccent_ = accent_;
    fromWash_ = wash_;
    themeAnimation_.stop();
    if (isVisible()) {
        themeAnimation_.start();
    } else {
        const ThemeInfo& theme = themeInfo(services_.state.theme());
        accent_ = toQColor(theme.accentColor);
        wash_ = toQColor(theme.washColor);
        applyColours();
    }
}

void MainWindow::applyColours() {
    setPalette(paletteFor(services_.state.appearanceMode(), accent_));
    update();
}

void MainWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    // The theme's wash at 7 %; a clear wash leaves the window colour as it is.
    if (wash_.alphaF() > 0)
        painter.fillRect(rect(), withOpacity(wash_, 0.07));
}

} // namespace velmor
