#pragma once

#include "core/model/Catalogues.h"
#include "ui/screens/ThemeScreen.h"

#include <QWidget>

#include <functional>
#include <map>

class QCheckBox;
class QSlider;

namespace velmor {

class AppState;

namespace ui {
class TextBlock;
}

// The sound's picture, in the accent when selected and the primary colour at 45 % otherwise.
class SoundTile final : public ChoiceTile {
    Q_OBJECT
public:
    SoundTile(VelmorSound sound, QWidget* parent);
    VelmorSound sound() const { return sound_; }

protected:
    void paintInside(QPainter& painter, const QRectF& shape) override;

private:
    VelmorSound sound_;
    QByteArray picture_;
};

// The arrival sound (one card each), the softer departure sound and the volume.
class SoundScreen final : public QWidget {
    Q_OBJECT
public:
    SoundScreen(AppState& state, std::function<void(VelmorSound)> preview,
                QWidget* parent = nullptr);

    SoundTile* tile(VelmorSound sound) const { return tiles_.at(sound); }
    QAbstractButton* playButton(VelmorSound sound) const;
    QCheckBox* departureToggle() const { return departure_; }
    QSlider* volumeSlider() const { return volume_; }
    QString volumeSymbol() const;
    QString percentText() const;

private:
    std::map<VelmorSound, SoundTile*> tiles_;
    std::map<VelmorSound, QAbstractButton*> playButtons_;
    QCheckBox* departure_;
    QSlider* volume_;
    QWidget* speaker_;
    ui::TextBlock* percent_;
};

} // namespace velmor
