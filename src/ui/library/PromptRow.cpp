#include "ui/library/PromptRow.h"

#include "core/settings/AppState.h"
#include "ui/library/LibraryStyle.h"
#include "ui/library/PlainButton.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QResizeEvent>

#include <cmath>

namespace velmor {

namespace {

using libraryStyle::Level;

constexpr int padX = 8, padY = 10, lineGap = 4, heartSize = 11, heartGap = 12, barGap = 6,
              barSpacing = 16, divider = 1;
constexpr int asidePadY = 6, asideGap = 8, restoreGap = 12;

// Font metrics of the rows, made once (measuring thousands of rows must not rebuild them).
struct Metrics {
    QFont textFont = libraryStyle::regular(14);
    QFont attributionFont = libraryStyle::italic(12);
    QFontMetrics text{textFont};
    QFontMetrics attribution{attributionFont};
    QFont asideFont = libraryStyle::regular(13);
    QFont asideAttributionFont = libraryStyle::italic(11);
    QFontMetrics aside{asideFont};
    QFontMetrics asideAttribution{asideAttributionFont};
    int barHeight = QFontMetrics(libraryStyle::regular(11)).height() + 4;
    int restoreWidth =
        QFontMetrics(libraryStyle::regular(11))
            .horizontalAdvance(QCoreApplication::translate("SetAsideSection", "Restore")) +
        4;
};

const Metrics& metrics() {
    static const Metrics m;
    return m;
}

int wrappedHeight(const QFontMetrics& fm, const QString& text, int width) {
    return fm.boundingRect(QRect(0, 0, std::max(width, 1), 1 << 20), Qt::TextWordWrap, text)
        .height();
}

// Lines a text of this length probably takes: its average advance against the width.
int estimatedHeight(const QFontMetrics& fm, qsizetype length, int width) {
    const double perLine = std::max(1.0, double(width) / fm.averageCharWidth());
    return int(std::ceil(double(length) * 1.08 / perLine)) * fm.lineSpacing();
}

int textWidth(int rowWidth) {
    return rowWidth - 2 * padX - heartGap - heartSize;
}

QColor toneColor(const QWidget* w, const AppState& appState, ActionTone tone) {
    const ThemeInfo& theme = themeInfo(appState.theme());
    switch (tone) {
    case ActionTone::accent:
        return libraryStyle::color(theme.accentColor);
    case ActionTone::favorite:
        return libraryStyle::color(theme.favoriteColor);
    case ActionTone::secondary:
        break;
    }
    return libraryStyle::text(w, Level::secondary);
}

QString rowAccessibleName(const PromptItem& prompt) {
    const std::optional<QString> line = attribution(prompt);
    return line ? prompt.text + QStringLiteral(" ") + *line : prompt.text;
}

} // namespace

PromptRow::PromptRow(AppState& appState, QWidget* parent) : QWidget(parent), appState_(appState) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover);
}

namespace {
int textBlockHeight(const PromptItem& prompt, int width) {
    const Metrics& m = metrics();
    int h = wrappedHeight(m.text, prompt.text, textWidth(width));
    if (const auto line = attribution(prompt))
        h += lineGap + wrappedHeight(m.attribution, *line, textWidth(width));
    return h;
}
} // namespace

int PromptRow::heightFor(const PromptItem& prompt, int width, bool expanded) {
    const Metrics& m = metrics();
    int h = padY + textBlockHeight(prompt, width);
    if (expanded)
        h += barGap + m.barHeight;
    return h + padY + divider;
}

int PromptRow::estimateHeight(const PromptItem& prompt, int width) {
    const Metrics& m = metrics();
    int h = padY + estimatedHeight(m.text, prompt.text.size(), textWidth(width));
    if (prompt.source || prompt.sourceWork)
        h += lineGap + m.attribution.height();
    return h + padY + divider;
}

void PromptRow::bind(const ListEntry& entry) {
    const bool sameRow = entry_.prompt == entry.prompt && entry_.flags == entry.flags;
    const bool sameText = entry_.prompt.text == entry.prompt.text &&
                          entry_.prompt.source == entry.prompt.source &&
                          entry_.prompt.sourceWork == entry.prompt.sourceWork;
    entry_ = entry;
    setAccessibleName(rowAccessibleName(entry.prompt));
    setAccessibleDescription(entry.flags.isFavorite ? tr("Favorite") : QString());
    if (!sameText)
        contentHeight_ = textBlockHeight(entry.prompt, width());
    if (sameRow && !buttons_.isEmpty())
        return;
    const QList<RowActionInfo> actions = rowActions(entry.flags);
    while (buttons_.size() < actions.size()) {
        auto* button = new PlainButton(QString(), QString(), this);
        button->setVisible(expanded_);
        button->setOpacity(reveal_ * presence_);
        connect(button, &QAbstractButton::clicked, this, [this, button] {
            const auto action = RowAction(button->property("rowAction").toInt());
            emit actionTriggered(action, entry_.prompt);
        });
        buttons_.append(button);
    }
    while (buttons_.size() > actions.size())
        delete buttons_.takeLast();
    for (int i = 0; i < actions.size(); ++i) {
        const RowActionInfo& info = actions[i];
        PlainButton* button = buttons_[i];
        button->setSymbol(info.symbol);
        button->setText(info.word);
        button->setAccessibleName(info.accessibleName);
        button->setProperty("rowAction", int(info.action));
        button->setColorFunction(
            [this, tone = info.tone] { return toneColor(this, appState_, tone); });
        button->resize(button->sizeHint());
    }
    placeButtons();
    update();
}

void PromptRow::setReveal(double reveal) {
    if (reveal_ == reveal)
        return;
    reveal_ = reveal;
    const bool expanded = reveal > 0;
    for (PlainButton* button : buttons_) {
        button->setOpacity(reveal_ * presence_);
        if (expanded != expanded_)
            button->setVisible(expanded);
    }
    expanded_ = expanded;
    placeButtons();
    update();
}

void PromptRow::setPresence(double presence) {
    if (presence_ == presence)
        return;
    presence_ = presence;
    for (PlainButton* button : buttons_)
        button->setOpacity(reveal_ * presence_);
    update();
}

QList<QWidget*> PromptRow::focusChain() const {
    QList<QWidget*> chain{const_cast<PromptRow*>(this)};
    for (PlainButton* button : buttons_)
        chain.append(button);
    return chain;
}

PlainButton* PromptRow::actionButton(RowAction action) const {
    for (PlainButton* button : buttons_)
        if (button->property("rowAction").toInt() == int(action))
            return button;
    return nullptr;
}

void PromptRow::placeButtons() {
    const int barHeight = metrics().barHeight;
    const int barTop = padY + contentHeight_ + barGap - int(std::lround((1 - reveal_) * barHeight));
    int x = padX;
    for (PlainButton* button : buttons_) {
        button->setGeometry(x, barTop, button->sizeHint().width(), metrics().barHeight);
        x += button->width() + barSpacing;
    }
}

void PromptRow::resizeEvent(QResizeEvent* event) {
    if (event->oldSize().width() != width())
        contentHeight_ = textBlockHeight(entry_.prompt, width());
    placeButtons();
}

void PromptRow::focusInEvent(QFocusEvent* event) {
    keyboardFocus_ = cameByKeyboard(event->reason());
    QWidget::focusInEvent(event);
    update();
}

void PromptRow::focusOutEvent(QFocusEvent* event) {
    keyboardFocus_ = false;
    QWidget::focusOutEvent(event);
    update();
}

void PromptRow::paintEvent(QPaintEvent*) {
    const Metrics& m = metrics();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(presence_);
    const QRectF body(0, 0, width(), height() - divider);
    if (reveal_ > 0) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(libraryStyle::fill(this, 0.03 * reveal_));
        painter.drawRoundedRect(body, 6, 6);
    }
    if (hasFocus() && keyboardFocus_) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1.2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(body.adjusted(0.6, 0.6, -0.6, -0.6), 6, 6);
    }
    const int w = textWidth(width());
    const int textHeight = wrappedHeight(m.text, entry_.prompt.text, w);
    painter.setFont(m.textFont);
    painter.setPen(libraryStyle::text(this, Level::primary));
    painter.drawText(QRect(padX, padY, w, textHeight), Qt::TextWordWrap, entry_.prompt.text);
    if (const auto line = attribution(entry_.prompt)) {
        painter.setFont(m.attributionFont);
        painter.setPen(libraryStyle::text(this, Level::tertiary));
        painter.drawText(QRect(padX, padY + textHeight + lineGap, w, height()), Qt::TextWordWrap,
                         *line);
    }
    if (entry_.flags.isFavorite && reveal_ < 1) {
        const QRectF heart(width() - padX - heartSize, padY + (m.text.height() - heartSize) / 2.0,
                           heartSize, heartSize);
        painter.setOpacity(presence_ * (1 - reveal_));
        libraryStyle::paintSymbol(painter, QStringLiteral("heart.fill"), heart,
                                  libraryStyle::color(themeInfo(appState_.theme()).favoriteColor));
        painter.setOpacity(presence_);
    }
    painter.fillRect(QRect(4, height() - 1, width() - 4, 1), libraryStyle::fill(this, 0.1));
}

void PromptRow::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    for (const std::optional<RowActionInfo>& info : contextMenuActions(entry_.flags)) {
        if (!info) {
            menu.addSeparator();
            continue;
        }
        const RowAction action = info->action;
        menu.addAction(info->word, this, [this, action, prompt = entry_.prompt] {
            emit actionTriggered(action, prompt);
        });
    }
    menu.exec(event->globalPos());
}

void PromptRow::enterEvent(QEnterEvent* event) {
    update();
    QWidget::enterEvent(event);
}

void PromptRow::leaveEvent(QEvent* event) {
    update();
    QWidget::leaveEvent(event);
}

SetAsideRow::SetAsideRow(QWidget* parent)
    : QWidget(parent),
      restore_(new PlainButton(QString(), QCoreApplication::translate("SetAsideSection", "Restore"),
                               this)) {
    restore_->resize(restore_->sizeHint());
    connect(restore_, &QAbstractButton::clicked, this,
            [this] { emit restoreRequested(entry_.prompt.id); });
}

int SetAsideRow::heightFor(const PromptItem& prompt, int width) {
    const Metrics& m = metrics();
    const int w = width - m.restoreWidth - restoreGap;
    int h = asidePadY + wrappedHeight(m.aside, prompt.text, w);
    if (const auto line = attribution(prompt))
        h += lineGap + wrappedHeight(m.asideAttribution, *line, w);
    return std::max(h, asidePadY + m.barHeight) + asidePadY + divider + asideGap;
}

int SetAsideRow::estimateHeight(const PromptItem& prompt, int width) {
    const Metrics& m = metrics();
    int h = asidePadY +
            estimatedHeight(m.aside, prompt.text.size(), width - m.restoreWidth - restoreGap);
    if (prompt.source || prompt.sourceWork)
        h += lineGap + m.asideAttribution.height();
    return std::max(h, asidePadY + m.barHeight) + asidePadY + divider + asideGap;
}

void SetAsideRow::setPresence(double presence) {
    if (presence_ == presence)
        return;
    presence_ = presence;
    restore_->setOpacity(presence);
    update();
}

void SetAsideRow::bind(const ListEntry& entry) {
    entry_ = entry;
    setAccessibleName(rowAccessibleName(entry.prompt));
    restore_->setAccessibleName(QCoreApplication::translate("SetAsideSection", "Restore ") +
                                entry.prompt.text);
    update();
}

void SetAsideRow::resizeEvent(QResizeEvent*) {
    restore_->setGeometry(width() - metrics().restoreWidth, asidePadY, metrics().restoreWidth,
                          metrics().barHeight);
}

void SetAsideRow::paintEvent(QPaintEvent*) {
    const Metrics& m = metrics();
    QPainter painter(this);
    painter.setOpacity(presence_);
    const int w = width() - m.restoreWidth - restoreGap;
    const int textHeight = wrappedHeight(m.aside, entry_.prompt.text, w);
    painter.setFont(m.asideFont);
    painter.setPen(libraryStyle::text(this, Level::tertiary));
    painter.drawText(QRect(0, asidePadY, w, textHeight), Qt::TextWordWrap, entry_.prompt.text);
    if (const auto line = attribution(entry_.prompt)) {
        painter.setFont(m.asideAttributionFont);
        painter.setPen(libraryStyle::text(this, Level::quaternary));
        painter.drawText(QRect(0, asidePadY + textHeight + lineGap, w, height()), Qt::TextWordWrap,
                         *line);
    }
    if (!entry_.lastSetAside) {
        painter.fillRect(QRect(4, height() - asideGap - 1, width() - 4, 1),
                         libraryStyle::fill(this, 0.05));
    }
}

QLineEdit* makeField(const QString& placeholder, const QFont& font, int padding, int radius,
                     double fillOpacity, QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setPlaceholderText(placeholder);
    field->setAccessibleName(placeholder);
    field->setFont(font);
    field->setFrame(false);
    const QColor fill = libraryStyle::fill(parent, fillOpacity);
    field->setStyleSheet(QStringLiteral("QLineEdit { background: rgba(%1, %2, %3, %4); "
                                        "border-radius: %5px; padding: %6px; }")
                             .arg(fill.red())
                             .arg(fill.green())
                             .arg(fill.blue())
                             .arg(fill.alpha())
                             .arg(radius)
                             .arg(padding));
    return field;
}

InlineEditor::InlineEditor(QWidget* parent) : QWidget(parent) {
    text_ = makeField(tr("Prompt text"), libraryStyle::regular(14), 10, 8, 0.04, this);
    attribution_ =
        makeField(tr("Attribution (optional)"), libraryStyle::italic(12), 8, 6, 0.03, this);
    save_ = new PlainButton(QString(), tr("Save"), this);
    save_->setColorFunction([this] { return palette().color(QPalette::Highlight); });
    cancel_ = new PlainButton(QString(), tr("Cancel"), this);
    for (QLineEdit* field : {text_, attribution_})
        connect(field, &QLineEdit::returnPressed, this, &InlineEditor::saveRequested);
    connect(text_, &QLineEdit::textChanged, this, &InlineEditor::textEdited);
    connect(attribution_, &QLineEdit::textChanged, this, &InlineEditor::attributionEdited);
    connect(save_, &QAbstractButton::clicked, this, &InlineEditor::saveRequested);
    connect(cancel_, &QAbstractButton::clicked, this, &InlineEditor::cancelRequested);

    setMinimumHeight(padY + text_->sizeHint().height() + 8 + attribution_->sizeHint().height() + 8 +
                     save_->sizeHint().height() + padY + divider);
}

void InlineEditor::setValues(const QString& text, const QString& attribution) {
    text_->setText(text);
    attribution_->setText(attribution);
}

QList<QWidget*> InlineEditor::focusChain() const {
    return {text_, attribution_, save_, cancel_};
}

// Laid out by hand so the list can place it like any row.
void InlineEditor::resizeEvent(QResizeEvent*) {
    const int w = width() - 2 * padX;
    int y = padY;
    text_->setGeometry(padX, y, w, text_->sizeHint().height());
    y += text_->height() + 8;
    attribution_->setGeometry(padX, y, w, attribution_->sizeHint().height());
    y += attribution_->height() + 8;
    save_->setGeometry(padX, y, save_->sizeHint().width(), save_->sizeHint().height());
    cancel_->setGeometry(save_->geometry().right() + 1 + 12, y, cancel_->sizeHint().width(),
                         cancel_->sizeHint().height());
}

void InlineEditor::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(QRect(4, height() - 1, width() - 4, 1), libraryStyle::fill(this, 0.1));
}

} // namespace velmor
