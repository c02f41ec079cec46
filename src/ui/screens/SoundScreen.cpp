#include "ui/screens/SoundScreen.h"

#include "core/base/Resources.h"
#include "core/screens/SoundRules.h"
#include "core/settings/AppState.h"
#include "ui/controls/Symbols.h"
#include "ui/screens/ScreenLayout.h"

#include <QCheckBox>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QSlider>
#include <QSvgRenderer>

#include <cmath>

namespace velmor {

using namespace ui;
using Tone = TextBlock::Tone;

namespace {

// A symbol that follows a name given at paint time.
class SymbolView final : public QWidget {
public:
    SymbolView(std::function<QString()> name, int points, int width, QWidget* parent)
        : QWidget(parent), name_(std::move(name)), points_(points) {
        setFixedSize(width, points + 4);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        paintSymbol(painter, QRectF(rect()), name_(), secondaryColor(this), points_);
    }

private:
    std::function<QString()> name_;
    int points_;
};

// "play.circle", 14 points, secondary; a plain button.
class PlayButton final : public QAbstractButton {
public:
    explicit PlayButton(QWidget* parent) : QAbstractButton(parent) {
        setFixedSize(20, 20);
        setFocusPolicy(Qt::StrongFocus);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        if (hasFocus()) {
            painter.setPen(QPen(accentMarkColor(this), 1.2));
            painter.drawEllipse(QRectF(rect()).adjusted(1, 1, -1, -1));
        }
        paintSymbol(painter, QRectF(rect()), QStringLiteral("play.circle"),
                    isDown() ? primaryColor(this) : secondaryColor(this), 14);
    }
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
            click();
        else
            QAbstractButton::keyPressEvent(event);
    }
};

} // namespace

SoundTile::SoundTile(VelmorSound sound, QWidget* parent)
    : ChoiceTile(64, 0.15, parent), sound_(sound) {
    setAccessibleName(SoundRules::accessibleLabel(sound));
    setAccessibleDescription(SoundRules::accessibleHint());
    QFile file(resourcePath(QStringLiteral("pictures/") + SoundRules::pictureName(sound) +
                            QStringLiteral(".svg")));
    if (file.open(QIODevice::ReadOnly))
        picture_ = file.readAll();
}

void SoundTile::paintInside(QPainter& painter, const QRectF& shape) {
    const QColor accent = accentColor(this);
    painter.fillRect(shape,
                     selection() > 0.5 ? withOpacity(accent, 0.08) : primaryFill(this, 0.03));
    if (picture_.isEmpty())
        return;
    // A template image: drawn once in black, then filled with the colour it should have.
    QSvgRenderer renderer(picture_);
    const QSizeF natural = renderer.defaultSize();
    const double scale = 44.0 / natural.height();
    const QSizeF size(natural.width() * scale, 44.0);
    const qreal dpr = devicePixelRatioF();
    QImage image(QSize(int(std::ceil(size.width() * dpr)), int(std::ceil(size.height() * dpr))),
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter picture(&image);
        picture.setRenderHint(QPainter::Antialiasing);
        renderer.render(&picture);
        picture.setCompositionMode(QPainter::CompositionMode_SourceIn);
        picture.fillRect(image.rect(), selection() > 0.5 ? accent : primaryFill(this, 0.45));
    }
    image.setDevicePixelRatio(dpr);
    const QPointF topLeft(shape.center().x() - size.width() / 2,
                          shape.center().y() - size.height() / 2);
    painter.drawImage(QRectF(topLeft, size), image);
}

SoundScreen::SoundScreen(AppState& state, std::function<void(VelmorSound)> preview, QWidget* parent)
    : QWidget(parent) {
    // The tiles carry a margin for their glow, so the column stands that much nearer the edges
    // and every other block steps back in: the tiles line up with the captions.
    const int glow = ChoiceTile::glowMargin;
    auto* column = screenColumn(this, 20);
    column->setContentsMargins(24 - glow, 24, 24 - glow, 24);
    const auto inset = [glow](QVBoxLayout* layout) {
        layout->setContentsMargins(glow, 0, glow, 0);
        return layout;
    };

    auto* arrival = block(column, 8 - glow);
    inset(block(arrival, 0))->addWidget(caption(tr("Arrival sound"), this));
    auto* grid = new QGridLayout;
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(12 - 2 * glow);
    grid->setVerticalSpacing(12 - glow);
    arrival->addLayout(grid);
    int index = 0;
    for (VelmorSound sound : allSounds) {
        const SoundInfo& info = soundInfo(sound);
        auto* card = new QWidget(this);
        auto* cardColumn = new QVBoxLayout(card);
        cardColumn->setContentsMargins(0, 0, 0, 0);
        cardColumn->setSpacing(6 - 4);
        auto* tile = new SoundTile(sound, card);
        tiles_[sound] = tile;
        cardColumn->addWidget(tile);
        auto* row = new QHBoxLayout;
        row->setContentsMargins(4, 0, 4, 0);
        auto* names = new QVBoxLayout;
        names->setSpacing(2);
        names->addWidget(new TextBlock(info.rawValue, regularFont(12), Tone::primary, card));
        names->addWidget(new TextBlock(info.description, regularFont(10), Tone::secondary, card));
        row->addLayout(names, 1);
        if (SoundRules::hasPreview(sound)) {
            auto* play = new PlayButton(card);
            play->setAccessibleName(tr("Play %1").arg(info.rawValue));
            playButtons_[sound] = play;
            row->addWidget(play, 0, Qt::AlignVCenter);
            connect(play, &QAbstractButton::clicked, this, [preview, sound] {
                if (preview)
                    preview(sound);
            });
        }
        cardColumn->addLayout(row);
        grid->addWidget(card, index / 2, index % 2);
        ++index;
        connect(tile, &QAbstractButton::clicked, this,
                [&state, sound] { SoundRules::select(state, sound); });
    }
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);

    auto* departureBlock = inset(block(column, 8));
    departureBlock->addWidget(caption(tr("Departure sound"), this));
    departure_ = new QCheckBox(tr("Play a softer sound when the overlay fades away"), this);
    departure_->setFont(regularFont(13));
    departureBlock->addWidget(departure_);
    connect(departure_, &QCheckBox::toggled, this,
            [&state](bool on) { SoundRules::setDepartureEnabled(state, on); });

    auto* volumeBlock = inset(block(column, 8));
    volumeBlock->addWidget(caption(tr("Volume"), this));
    auto* volumeRow = new QHBoxLayout;
    volumeRow->setSpacing(10);
    speaker_ = new SymbolView([&state] { return SoundRules::volumeSymbol(state.soundVolume()); },
                              12, 16, this);
    volume_ = new QSlider(Qt::Horizontal, this);
    // In whole percent: an arrow key moves it 1 %, Page Up and Down 10 %.
    volume_->setRange(0, 100);
    volume_->setSingleStep(1);
    volume_->setPageStep(10);
    volume_->setAccessibleName(tr("Volume"));
    percent_ = new TextBlock(QString(), regularFont(11), Tone::secondary, this);
    percent_->setAlignment(Qt::AlignRight);
    percent_->setTabularDigits(true);
    percent_->setFixedWidth(32);
    volumeRow->addWidget(speaker_);
    volumeRow->addWidget(volume_, 1);
    volumeRow->addWidget(percent_);
    volumeBlock->addLayout(volumeRow);
    connect(volume_, &QSlider::valueChanged, this, [this, &state](int value) {
        if (volume_->signalsBlocked())
            return;
        SoundRules::setVolume(state, value / 100.0);
    });

    const auto follow = [this, &state] {
        for (auto& [sound, tile] : tiles_)
            tile->setSelectedItem(sound == state.selectedSound());
        const QSignalBlocker blockToggle(departure_);
        departure_->setChecked(state.departureEnabled());
        const QSignalBlocker blockSlider(volume_);
        volume_->setValue(int(std::lround(state.soundVolume() * 100)));
        percent_->setText(SoundRules::percentText(state.soundVolume()));
        volume_->setAccessibleDescription(percent_->text());
        speaker_->update();
    };
    follow();
    connect(&state, &AppState::selectedSoundChanged, this, follow);
    connect(&state, &AppState::departureEnabledChanged, this, follow);
    connect(&state, &AppState::soundVolumeChanged, this, follow);
}

QAbstractButton* SoundScreen::playButton(VelmorSound sound) const {
    const auto found = playButtons_.find(sound);
    return found == playButtons_.end() ? nullptr : found->second;
}

QString SoundScreen::volumeSymbol() const {
    return SoundRules::volumeSymbol(volume_->value() / 100.0);
}

QString SoundScreen::percentText() const {
    return percent_->text();
}

} // namespace velmor
