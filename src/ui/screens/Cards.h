#pragma once

#include <QWidget>

namespace velmor::ui {

// A card of the home screen: a column padded 16 on a quaternary rounded rectangle (radius 8).
class Card final : public QWidget {
public:
    explicit Card(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// The shortcut card of the general screen: primary at 3 % inside a radius-8 rectangle with a
// hairline border.
class OutlinedCard final : public QWidget {
public:
    explicit OutlinedCard(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A hairline divider, inset on both sides.
class Divider final : public QWidget {
public:
    Divider(int inset, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int inset_;
};

} // namespace velmor::ui
