#include "ui/screens/ShortcutRecorder.h"

#include "core/screens/RecorderRules.h"
#include "platform/x11/KeyCodes.h"
#include "platform/x11/ShortcutDescription.h"
#include "ui/controls/Style.h"
#include "ui/controls/Symbols.h"
#include "ui/controls/TextBlock.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>

namespace velmor {

using namespace ui;
using shortcuts::GlobalShortcuts;
using shortcuts::Shortcut;

namespace {

constexpr int recorderMinimumWidth = 130;

// The first command of our own windows and menus that uses the combination, by its title.
std::optional<QString> actionUsing(const QKeySequence& sequence, const QList<QAction*>& actions) {
    for (QAction* action : actions) {
        if (action->shortcuts().contains(sequence))
            return action->text().remove(u'&');
        if (QMenu* menu = action->menu())
            if (auto found = actionUsing(sequence, menu->actions()))
                return found;
    }
    return std::nullopt;
}

std::optional<QString> menuItemUsing(const Shortcut& shortcut) {
    const QKeySequence sequence =
        QKeySequence::fromString(shortcuts::description(shortcut), QKeySequence::NativeText);
    if (sequence.isEmpty())
        return std::nullopt;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto found = actionUsing(sequence, window->actions()))
            return found;
    return std::nullopt;
}

} // namespace

ShortcutRecorder::ShortcutRecorder(shortcuts::Name name, OnChange onChange, QWidget* parent)
    : QWidget(parent), name_(std::move(name)), onChange_(std::move(onChange)) {
    setFocusPolicy(Qt::StrongFocus);
    setFont(regularFont(13));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAccessibleRole(this, QAccessible::Button);
    setCursor(Qt::IBeamCursor);
    connect(&GlobalShortcuts::notifications(),
            &shortcuts::ShortcutNotifications::shortcutByNameDidChange, this,
            [this](const shortcuts::Name& changed) {
                if (changed.rawValue == name_.rawValue)
                    refresh();
            });
    refresh();
}

ShortcutRecorder::~ShortcutRecorder() {
    if (recording_)
        GlobalShortcuts::setPaused(false);
}

QString ShortcutRecorder::placeholder() const {
    return recording_ ? RecorderRules::pressShortcut() : RecorderRules::recordShortcut();
}

QSize ShortcutRecorder::sizeHint() const {
    const QFontMetrics metrics(font());
    const int textWidth = std::max({metrics.horizontalAdvance(text_),
                                    metrics.horizontalAdvance(RecorderRules::recordShortcut()),
                                    metrics.horizontalAdvance(RecorderRules::pressShortcut())});
    return {std::max(recorderMinimumWidth, textWidth + 2 * 24), metrics.height() + 10};
}

void ShortcutRecorder::refresh() {
    const auto shortcut = GlobalShortcuts::getShortcut(name_);
    text_ = shortcut ? shortcuts::description(*shortcut) : QString();
    const QString held = text_.isEmpty() ? tr("not set") : text_;
    setAccessibleName(title_.isEmpty() ? held : tr("%1 shortcut, %2").arg(title_, held));
    updateGeometry();
    update();
}

void ShortcutRecorder::setTitle(const QString& title) {
    title_ = title;
    refresh();
}

QRect ShortcutRecorder::clearButtonRect() const {
    return {width() - 22, (height() - 16) / 2, 16, 16};
}

void ShortcutRecorder::startRecording() {
    if (recording_)
        return;
    recording_ = true;
    GlobalShortcuts::setPaused(true);
    // Every key comes here while recording, even a combination another program holds with a
    // grab of its own (a terminal launcher's Ctrl+Alt+T): it is then refused with the alert
    // rather than being taken away unseen.
    grabKeyboard();
    qApp->installEventFilter(this);
    update();
    emit recordingChanged(true);
}

void ShortcutRecorder::endRecording() {
    if (!recording_)
        return;
    recording_ = false;
    releaseKeyboard();
    qApp->removeEventFilter(this);
    GlobalShortcuts::setPaused(false);
    update();
    emit recordingChanged(false);
}

void ShortcutRecorder::clearShortcut() {
    GlobalShortcuts::setShortcut(std::nullopt, name_);
    refresh();
    if (onChange_)
        onChange_(std::nullopt);
}

bool ShortcutRecorder::event(QEvent* event) {
    // While recording, every combination is ours: the window's own shortcuts (Ctrl+,) must not
    // act on it first.
    if (recording_ && event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    return QWidget::event(event);
}

void ShortcutRecorder::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    if (window() && window()->isActiveWindow())
        startRecording();
}

void ShortcutRecorder::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    endRecording();
}

void ShortcutRecorder::mousePressEvent(QMouseEvent* event) {
    if (!text_.isEmpty() && clearButtonRect().adjusted(-3, -3, 3, 3).contains(event->pos())) {
        clearShortcut();
        setFocus(Qt::MouseFocusReason);
        return;
    }
    if (!hasFocus())
        setFocus(Qt::MouseFocusReason);
    else
        startRecording();
}

bool ShortcutRecorder::eventFilter(QObject* watched, QEvent* event) {
    // A click elsewhere ends recording and still reaches what was clicked.
    if (recording_ && !inAlert_ && event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QRect area = rect().adjusted(-3, -3, 3, 3);
        if (!area.contains(mapFromGlobal(mouse->globalPosition().toPoint())))
            clearFocus();
    }
    return QWidget::eventFilter(watched, event);
}

bool ShortcutRecorder::showAlert(const QString& text, const QString& informative,
                                 bool offersForce) {
    if (alert_)
        return alert_(text, informative, offersForce);
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Velmor"), text, QMessageBox::NoButton,
                    window());
    box.setWindowModality(Qt::WindowModal);
    // In the window's own colours, light or dark, rather than the desktop's.
    box.setPalette(palette());
    box.setInformativeText(informative);
    QPushButton* ok = box.addButton(RecorderRules::ok(), QMessageBox::AcceptRole);
    QPushButton* force =
        offersForce ? box.addButton(RecorderRules::forceUse(), QMessageBox::DestructiveRole)
                    : nullptr;
    box.setDefaultButton(ok);
    box.exec();
    return force && box.clickedButton() == force;
}

void ShortcutRecorder::keyPressEvent(QKeyEvent* event) {
    if (!recording_) {
        QWidget::keyPressEvent(event);
        return;
    }
    const int virtualKey =
        event->nativeScanCode() ? virtualKeyForXKeyCode(event->nativeScanCode()) : -1;
    const Qt::KeyboardModifiers modifiers =
        event->modifiers() &
        (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    // Modifier keys on their own are the start of a combination, not one.
    switch (event->key()) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_AltGr:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
        event->accept();
        return;
    default:
        break;
    }
    const auto decision = RecorderRules::evaluate(
        {event->key(), modifiers, virtualKey}, menuItemUsing,
        [](const Shortcut& s) { return GlobalShortcuts::isTakenBySystem(s); });
    event->accept();
    switch (decision.outcome) {
    case RecorderRules::Outcome::passOn:
        focusNextChild();
        return;
    case RecorderRules::Outcome::cancel:
        clearFocus();
        return;
    case RecorderRules::Outcome::clear:
        clearShortcut();
        return;
    case RecorderRules::Outcome::beep:
        QApplication::beep();
        return;
    case RecorderRules::Outcome::menuConflict:
        clearFocus();
        inAlert_ = true;
        showAlert(RecorderRules::usedByMenuItem(decision.menuItemTitle), QString(), false);
        inAlert_ = false;
        setFocus(Qt::OtherFocusReason);
        startRecording();
        return;
    case RecorderRules::Outcome::systemConflict: {
        clearFocus();
        inAlert_ = true;
        const bool force =
            showAlert(RecorderRules::usedBySystem(), RecorderRules::canBeChanged(), true);
        inAlert_ = false;
        setFocus(Qt::OtherFocusReason);
        startRecording();
        if (!force)
            return;
        break;
    }
    case RecorderRules::Outcome::store:
        break;
    }
    GlobalShortcuts::setShortcut(decision.shortcut, name_);
    refresh();
    if (onChange_)
        onChange_(decision.shortcut);
    clearFocus();
}

void ShortcutRecorder::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const auto shape = continuousRoundedRect(area, 6);
    painter.fillPath(shape, palette().color(QPalette::Base));
    painter.setPen(
        QPen(recording_ ? accentMarkColor(this) : outlineColor(this), recording_ ? 1.5 : 1.0));
    painter.drawPath(shape);
    painter.setFont(font());
    const QRectF textArea = QRectF(rect()).adjusted(8, 0, text_.isEmpty() ? -8 : -24, 0);
    if (text_.isEmpty()) {
        painter.setPen(tertiaryColor(this));
        painter.drawText(textArea, Qt::AlignCenter, placeholder());
    } else {
        painter.setPen(primaryColor(this));
        painter.drawText(textArea, Qt::AlignCenter, text_);
        // The clear button: a small cross in a circle.
        const QRectF clear = QRectF(clearButtonRect()).adjusted(2, 2, -2, -2);
        painter.setPen(Qt::NoPen);
        painter.setBrush(tertiaryColor(this));
        painter.drawEllipse(clear);
        painter.setPen(QPen(palette().color(QPalette::Base), 1.4, Qt::SolidLine, Qt::RoundCap));
        const QPointF c = clear.center();
        painter.drawLine(c + QPointF(-2.5, -2.5), c + QPointF(2.5, 2.5));
        painter.drawLine(c + QPointF(-2.5, 2.5), c + QPointF(2.5, -2.5));
    }
}

} // namespace velmor
