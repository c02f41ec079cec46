#pragma once

#include <QWidget>

namespace velmor::ui {

// A run of text in one of the window's tones. Its colour is worked out from the inherited
// palette each time it paints, so light, dark and theme changes reach it without a palette of
// its own. Wraps to its width; `lineSpacing` adds points between lines.
class TextBlock final : public QWidget {
    Q_OBJECT
public:
    enum class Tone { primary, secondary, tertiary, quaternary, accent };

    TextBlock(const QString& text, const QFont& font, Tone tone, QWidget* parent = nullptr);

    QString text() const { return text_; }
    void setText(const QString& text);
    void setTone(Tone tone);
    // A fixed colour instead of a tone (the theme's own colours).
    void setColor(const QColor& color);
    void setLineSpacing(double points);
    void setAlignment(Qt::Alignment alignment);
    // Digits of equal width, for figures that change while they are watched. Lines do not wrap.
    void setTabularDigits(bool on);
    bool hasTabularDigits() const { return tabular_; }

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int layoutHeight(int width, QPainter* painter) const;

    QString text_;
    Tone tone_;
    QColor color_;
    double lineSpacing_ = 0;
    Qt::Alignment alignment_ = Qt::AlignLeft;
    bool tabular_ = false;
};

// Gives a widget the role assistive technologies see (static text, a button, ...), its
// accessible name staying whatever setAccessibleName() says.
void setAccessibleRole(QWidget* widget, int role);

} // namespace velmor::ui
