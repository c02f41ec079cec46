#include "ui/screens/AboutScreen.h"

#include "core/screens/AboutRules.h"
#include "ui/controls/TextButton.h"
#include "ui/screens/Cards.h"
#include "ui/screens/ScreenLayout.h"

#include <QDesktopServices>

namespace velmor {

using namespace ui;
using Tone = TextBlock::Tone;

namespace {

TextBlock* centred(const QString& s, const QFont& font, Tone tone, double lineSpacing,
                   QWidget* parent) {
    auto* block = new TextBlock(s, font, tone, parent);
    block->setAlignment(Qt::AlignHCenter);
    block->setLineSpacing(lineSpacing);
    return block;
}

} // namespace

AboutScreen::AboutScreen(QWidget* parent) : QWidget(parent) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 32, 0, 16);
    column->setSpacing(24);

    auto* title = block(column, 8);
    title->addWidget(centred(QStringLiteral("Velmor"), regularFont(28), Tone::primary, 0, this));
    title->addWidget(centred(AboutRules::versionLine(), regularFont(12), Tone::secondary, 0, this));

    auto* description = block(column, 12);
    description->setContentsMargins(24, 0, 24, 0);
    description->addWidget(
        centred(tr("A caring friend who shows up, sits with you,\nand invites you to simply be."),
                italicFont(15), Tone::secondary, 4, this));
    description->addWidget(centred(tr("Every so often, your screen goes dark.\nA single line of "
                                      "text fades in.\nThen you return."),
                                   regularFont(13), Tone::tertiary, 3, this));

    column->addWidget(new Divider(40, this));

    auto* feedback = block(column, 8);
    feedback->addWidget(centred(tr("This is an early version. Your experience matters."),
                                regularFont(13), Tone::secondary, 0, this));
    auto* share = new TextButton(tr("Share your thoughts"), regularFont(13), Tone::accent, this);
    share->setObjectName(QStringLiteral("shareYourThoughts"));
    connect(share, &QAbstractButton::clicked, this, [] {
        // Without a link, or without a mail program, nothing happens and nothing is said.
        const QUrl url = AboutRules::feedbackUrl();
        if (url.isValid())
            QDesktopServices::openUrl(url);
    });
    feedback->addWidget(share, 0, Qt::AlignHCenter);

    column->addStretch(1);
    column->addWidget(
        centred(tr("Made with presence."), italicFont(12), Tone::quaternary, 0, this));
}

} // namespace velmor
