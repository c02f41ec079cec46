#pragma once

#include "ui/library/LibraryStyle.h"

#include <QAbstractButton>

#include <functional>

namespace velmor {

// A button without system chrome: an optional symbol, then a word, in a colour the owner
// chooses; a faint fill while hovered where asked for, and a focus ring for keyboard users.
// Whether a focus change came from the keyboard (Tab, Backtab, a shortcut): only then is a
// focus ring drawn, so a click leaves no ring behind.
bool cameByKeyboard(Qt::FocusReason reason);

class PlainButton : public QAbstractButton {
    Q_OBJECT
public:
    struct Look {
        QFont font = libraryStyle::regular(11);
        int symbolSize = 10;
        int spacing = 4;
        QMargins padding{2, 2, 2, 2};
        double hoverFill = 0; // opacity of the hover fill; 0 for none
        int radius = 6;
        bool symbolAfter = false; // the symbol follows the word (disclosure chevrons)
    };

    PlainButton(const QString& symbol, const QString& text, QWidget* parent = nullptr);

    void setLook(const Look& look);
    void setSymbol(const QString& symbol);
    // Text colour; the secondary text level unless set.
    void setColorFunction(std::function<QColor()> color);
    // Symbol colour where it differs from the word's.
    void setSymbolColorFunction(std::function<QColor()> color);
    QSize sizeHint() const override;
    // Painted at this opacity while it fades in or out with its row.
    void setOpacity(double opacity);

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    double opacity_ = 1;
    bool keyboardFocus_ = false; // the ring shows only when the keyboard brought the focus
    QString symbol_;
    Look look_;
    std::function<QColor()> color_;
    std::function<QColor()> symbolColor_;
};

} // namespace velmor
