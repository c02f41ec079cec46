#include "ui/controls/VelmorSegmentedPicker.h"

#include "ui/controls/SelectableItem.h"
#include "ui/controls/Style.h"

#include <QFontMetrics>
#include <QPainter>

namespace velmor::ui {

namespace {

constexpr int inset = 2;
constexpr int segmentHeight = 36;

class Segment final : public SelectableItem {
public:
    Segment(const QString& label, QWidget* parent)
        : SelectableItem(QAccessible::RadioButton, parent) {
        setText(label);
        setAccessibleName(label);
        setFont(regularFont(13));
    }

    QSize sizeHint() const override {
        return {QFontMetrics(font()).horizontalAdvance(text()) + 24, segmentHeight};
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF area = QRectF(rect());
        if (isSelectedItem())
            painter.fillPath(continuousRoundedRect(area, 6), primaryFill(this, 0.08));
        if (hasFocus()) {
            painter.setPen(QPen(accentMarkColor(this), 1.5));
            painter.drawPath(continuousRoundedRect(area.adjusted(0.75, 0.75, -0.75, -0.75), 6));
        }
        painter.setPen(isSelectedItem() ? primaryColor(this) : secondaryColor(this));
        painter.setFont(font());
        painter.drawText(area, Qt::AlignCenter, text());
    }
};

} // namespace

VelmorSegmentedPicker::VelmorSegmentedPicker(const QStringList& labels, QWidget* parent)
    : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    for (int i = 0; i < labels.size(); ++i) {
        auto* segment = new Segment(labels[i], this);
        connect(segment, &QAbstractButton::clicked, this, [this, i] { emit segmentClicked(i); });
        segments_.append(segment);
    }
}

void VelmorSegmentedPicker::setSelectedIndex(int index) {
    selected_ = index;
    for (int i = 0; i < segments_.size(); ++i)
        segments_[i]->setSelectedItem(i == index);
    update();
}

QSize VelmorSegmentedPicker::sizeHint() const {
    int widest = 0;
    for (auto* segment : segments_)
        widest = std::max(widest, segment->sizeHint().width());
    return {int(segments_.size()) * (widest + 2 * inset), segmentHeight + 2 * inset};
}

QSize VelmorSegmentedPicker::minimumSizeHint() const {
    return sizeHint();
}

void VelmorSegmentedPicker::resizeEvent(QResizeEvent*) {
    // Equal shares of the row, each segment inset 2 on every side; a width that does not divide
    // evenly leaves its last pixels at the ends rather than making one segment wider.
    const int count = int(segments_.size());
    if (count == 0)
        return;
    const int share = width() / count;
    const int start = (width() - share * count) / 2;
    for (int i = 0; i < count; ++i)
        segments_[i]->setGeometry(start + share * i + inset, inset, share - 2 * inset,
                                  height() - 2 * inset);
}

void VelmorSegmentedPicker::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = QRectF(rect());
    painter.fillPath(continuousRoundedRect(area, 8), primaryFill(this, 0.04));
    painter.setPen(QPen(outlineColor(this), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(continuousRoundedRect(area.adjusted(0.5, 0.5, -0.5, -0.5), 8));
}

} // namespace velmor::ui
