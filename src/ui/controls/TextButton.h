#pragma once

#include "ui/controls/TextBlock.h"

#include <QAbstractButton>

namespace velmor::ui {

// A plain button that is only its text ("Let go", "Share your thoughts"), optionally on a small
// quaternary pill ("Preview"). Tab reaches it, Space and Return press it.
class TextButton final : public QAbstractButton {
    Q_OBJECT
public:
    TextButton(const QString& text, const QFont& font, TextBlock::Tone tone,
               QWidget* parent = nullptr);
    // A quaternary fill in a rounded rectangle of `radius`, padded `padX` and `padY`.
    void setPill(int radius, int padX, int padY);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    TextBlock::Tone tone_;
    bool pill_ = false;
    int radius_ = 0, padX_ = 0, padY_ = 0;
};

} // namespace velmor::ui
