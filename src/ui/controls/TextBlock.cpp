#include "ui/controls/TextBlock.h"

#include "ui/controls/Style.h"
#include "ui/controls/TabularText.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPainter>
#include <QTextLayout>

#include <cmath>

namespace velmor::ui {

namespace {

constexpr const char* roleProperty = "velmorAccessibleRole";

class RoleAccessible final : public QAccessibleWidget {
public:
    RoleAccessible(QWidget* widget, QAccessible::Role role) : QAccessibleWidget(widget, role) {}
    QString text(QAccessible::Text t) const override {
        QString value = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && value.isEmpty())
            if (auto* block = qobject_cast<TextBlock*>(widget()))
                value = block->text();
        return value;
    }
};

QAccessibleInterface* roleFactory(const QString&, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget)
        return nullptr;
    const QVariant role = widget->property(roleProperty);
    if (!role.isValid())
        return nullptr;
    return new RoleAccessible(widget, QAccessible::Role(role.toInt()));
}

} // namespace

void setAccessibleRole(QWidget* widget, int role) {
    static const bool installed = [] {
        QAccessible::installFactory(roleFactory);
        return true;
    }();
    Q_UNUSED(installed);
    widget->setProperty(roleProperty, role);
}

TextBlock::TextBlock(const QString& text, const QFont& font, Tone tone, QWidget* parent)
    : QWidget(parent), text_(text), tone_(tone) {
    setFont(font);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Minimum);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    setAccessibleRole(this, QAccessible::StaticText);
}

void TextBlock::setText(const QString& text) {
    if (text == text_)
        return;
    text_ = text;
    updateGeometry();
    update();
    QAccessibleEvent event(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

void TextBlock::setTone(Tone tone) {
    tone_ = tone;
    color_ = QColor();
    update();
}

void TextBlock::setColor(const QColor& color) {
    color_ = color;
    update();
}

void TextBlock::setLineSpacing(double points) {
    lineSpacing_ = points;
    updateGeometry();
}

void TextBlock::setAlignment(Qt::Alignment alignment) {
    alignment_ = alignment;
    update();
}

void TextBlock::setTabularDigits(bool on) {
    tabular_ = on;
    updateGeometry();
    update();
}

int TextBlock::layoutHeight(int width, QPainter* painter) const {
    const QStringList paragraphs = text_.split(u'\n');
    double y = 0;
    bool first = true;
    if (tabular_) {
        const QFontMetricsF metrics(font());
        for (const QString& paragraph : paragraphs) {
            if (!first)
                y += lineSpacing_;
            first = false;
            if (painter)
                drawTabularText(*painter, QRectF(0, y, width, metrics.height()), alignment_,
                                paragraph);
            y += metrics.height();
        }
        return int(std::ceil(y));
    }
    for (const QString& paragraph : paragraphs) {
        QTextLayout layout(paragraph, font());
        QTextOption option(alignment_);
        option.setWrapMode(QTextOption::WordWrap);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            if (!first)
                y += lineSpacing_;
            first = false;
            line.setLineWidth(std::max(1, width));
            line.setPosition(QPointF(0, y));
            y += line.height();
        }
        layout.endLayout();
        if (painter)
            layout.draw(painter, QPointF(0, 0));
    }
    return int(std::ceil(y));
}

int TextBlock::heightForWidth(int width) const {
    return layoutHeight(width, nullptr);
}

QSize TextBlock::sizeHint() const {
    // As wide as the longest line wants, capped so long texts wrap rather than widen the window.
    int widest = 0;
    const QFontMetrics metrics(font());
    for (const QString& paragraph : text_.split(u'\n'))
        widest = std::max(widest, int(std::ceil(tabular_ ? tabularAdvance(font(), paragraph)
                                                         : metrics.horizontalAdvance(paragraph))) +
                                      1);
    widest = std::min(widest, 420);
    return {widest, heightForWidth(widest)};
}

QSize TextBlock::minimumSizeHint() const {
    // One line: the height the width gives comes from heightForWidth(), so a layout's minimum
    // is not worked out from the text squeezed into a narrow column.
    return {std::min(sizeHint().width(), 60), QFontMetrics(font()).height()};
}

void TextBlock::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QColor color = color_;
    if (!color.isValid()) {
        switch (tone_) {
        case Tone::primary:
            color = primaryColor(this);
            break;
        case Tone::secondary:
            color = secondaryColor(this);
            break;
        case Tone::tertiary:
            color = tertiaryColor(this);
            break;
        case Tone::quaternary:
            color = quaternaryTextColor(this);
            break;
        case Tone::accent:
            color = accentTextColor(this);
            break;
        }
    }
    painter.setPen(color);
    painter.setFont(font());
    layoutHeight(width(), &painter);
}

} // namespace velmor::ui
