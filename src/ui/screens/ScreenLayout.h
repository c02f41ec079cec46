#pragma once

#include "ui/controls/Style.h"
#include "ui/controls/TextBlock.h"

#include <QVBoxLayout>
#include <QWidget>

namespace velmor::ui {

// Every screen: a leading-aligned column padded 24 points, content at the top.
inline QVBoxLayout* screenColumn(QWidget* screen, int spacing) {
    auto* column = new QVBoxLayout(screen);
    column->setContentsMargins(24, 24, 24, 24);
    column->setSpacing(spacing);
    column->setAlignment(Qt::AlignTop);
    return column;
}

// A block of the screen: a column with its own spacing.
inline QVBoxLayout* block(QVBoxLayout* parent, int spacing) {
    auto* column = new QVBoxLayout;
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(spacing);
    parent->addLayout(column);
    return column;
}

// A caption: Lora 12, secondary.
inline TextBlock* caption(const QString& text, QWidget* parent) {
    return new TextBlock(text, regularFont(12), TextBlock::Tone::secondary, parent);
}

} // namespace velmor::ui
