#include "ui/screens/HomeScreen.h"

#include "core/content/UserLibrary.h"
#include "core/model/WaitReason.h"
#include "core/screens/HomeRules.h"
#include "core/settings/AppState.h"
#include "ui/controls/Symbols.h"
#include "ui/controls/TextButton.h"
#include "ui/screens/Cards.h"
#include "ui/screens/ScreenLayout.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>

namespace velmor {

using namespace ui;
using Tone = TextBlock::Tone;

namespace {

// A symbol in the theme's accent, 10 points.
class SymbolIcon final : public QWidget {
public:
    SymbolIcon(QString name, int points, QWidget* parent)
        : QWidget(parent), name_(std::move(name)), points_(points) {
        setFixedSize(points + 2, points + 4);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        paintSymbol(painter, QRectF(rect()), name_, accentColor(this), points_);
    }

private:
    QString name_;
    int points_;
};

TextBlock* text(const QString& s, const QFont& font, Tone tone, double lineSpacing,
                QWidget* parent) {
    auto* block = new TextBlock(s, font, tone, parent);
    block->setLineSpacing(lineSpacing);
    return block;
}

} // namespace

HomeScreen::HomeScreen(const WindowServices& services, QWidget* parent)
    : QWidget(parent), services_(services) {
    column_ = screenColumn(this, 24);
    auto* header = block(column_, 4);
    greeting_ = new TextBlock(QString(), regularFont(22), Tone::primary, this);
    header->addWidget(greeting_);
    header->addWidget(
        new TextBlock(tr("Velmor is with you"), regularFont(15), Tone::secondary, this));
    waiting_ = new TextBlock(QString(), regularFont(12), Tone::tertiary, this);
    waiting_->setObjectName(QStringLiteral("waitingLine"));
    header->addWidget(waiting_);

    AppState& state = services_.state;
    connect(&state, &AppState::waitReasonChanged, this, &HomeScreen::refresh);
    for (auto signal : {&AppState::sittingWithPromptIdChanged, &AppState::lastPromptChanged,
                        &AppState::lastPromptDateChanged})
        connect(&state, signal, this, &HomeScreen::refresh);
    if (services_.library)
        connect(services_.library, &UserLibrary::dataChanged, this, &HomeScreen::refresh);
    clock_.setInterval(30'000);
    connect(&clock_, &QTimer::timeout, this, &HomeScreen::refresh);
    clock_.start();
    refresh();
}

void HomeScreen::refresh() {
    greeting_->setText(HomeRules::greeting(QDateTime::currentDateTime().time().hour()));
    const AppState& state = services_.state;
    const auto reason = state.waitReason();
    waiting_->setText(reason ? waitingText(*reason) : QString());
    waiting_->setVisible(reason.has_value());
    const auto card = HomeRules::chooseCard(
        state.sittingWithPromptId(),
        services_.starterPrompts ? services_.starterPrompts() : QList<PromptItem>(),
        services_.library ? services_.library->data().userPrompts : QList<PromptItem>(),
        state.lastPrompt(), state.lastPromptDate());

    if (card_)
        card_->deleteLater();
    card_ = new Card(this);
    card_->setObjectName(QStringLiteral("homeCard"));
    auto* rows = new QVBoxLayout(card_);
    rows->setContentsMargins(16, 16, 16, 16);
    switch (card.kind) {
    case HomeRules::CardKind::sitting: {
        rows->setSpacing(10);
        rows->addWidget(
            text(HomeRules::quoted(card.prompt.text), italicFont(18), Tone::primary, 5, card_));
        if (const auto line = attribution(card.prompt))
            rows->addWidget(text(*line, italicFont(13), Tone::tertiary, 0, card_));
        rows->addSpacing(2);
        auto* sitting = new QHBoxLayout;
        sitting->setSpacing(4);
        sitting->addWidget(new SymbolIcon(QStringLiteral("leaf.fill"), 10, card_));
        sitting->addWidget(text(tr("Sitting with this"), regularFont(12), Tone::accent, 0, card_));
        sitting->addStretch(1);
        rows->addLayout(sitting);
        auto* letGo = new TextButton(tr("Let go"), regularFont(12), Tone::secondary, card_);
        connect(letGo, &QAbstractButton::clicked, this,
                [this] { HomeRules::letGo(services_.state); });
        rows->addWidget(letGo, 0, Qt::AlignLeft);
        break;
    }
    case HomeRules::CardKind::lastPrompt:
        rows->setSpacing(8);
        rows->addWidget(
            text(HomeRules::quoted(card.prompt.text), italicFont(16), Tone::primary, 4, card_));
        rows->addWidget(text(
            tr("\u2014 %1").arg(HomeRules::relativePhrase(card.date, QDateTime::currentDateTime())),
            regularFont(12), Tone::tertiary, 0, card_));
        break;
    case HomeRules::CardKind::welcome:
        rows->setSpacing(12);
        rows->addWidget(text(tr("Every so often, your screen will go dark."), italicFont(16),
                             Tone::secondary, 4, card_));
        rows->addWidget(text(tr("A single line of text will fade in. Sit with it for a moment "
                                "\u2014 then return whenever you're ready."),
                             regularFont(14), Tone::tertiary, 3, card_));
        rows->addSpacing(4);
        rows->addWidget(text(tr("Your first moment of velmor is on its way."), regularFont(14),
                             Tone::tertiary, 0, card_));
        break;
    }
    column_->insertWidget(1, card_);
}

} // namespace velmor
