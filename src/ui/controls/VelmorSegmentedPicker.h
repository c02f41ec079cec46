#pragma once

#include <QList>
#include <QWidget>

#include <functional>

namespace velmor::ui {

class SelectableItem;

// A row of equal segments that chooses one case of a settings enumeration, drawn by the app:
// the chosen segment has a faint fill and primary text, the others secondary text. It keeps no
// state of its own: bind() ties it to a value and follows every change of it.
class VelmorSegmentedPicker final : public QWidget {
    Q_OBJECT
public:
    explicit VelmorSegmentedPicker(const QStringList& labels, QWidget* parent = nullptr);

    // The segment shown as chosen (-1 for none).
    int selectedIndex() const { return selected_; }
    void setSelectedIndex(int index);
    QList<SelectableItem*> segments() const { return segments_; }

    // Binds to an enumeration: `cases` in segment order, `read` gives the current value,
    // `write` stores a clicked case, and `changed` (a signal of `source`) announces changes.
    template <typename Enum, typename Source, typename Signal>
    void bind(const QList<Enum>& cases, std::function<Enum()> read, std::function<void(Enum)> write,
              Source* source, Signal changed) {
        const auto refresh = [this, cases, read] { setSelectedIndex(int(cases.indexOf(read()))); };
        refresh();
        connect(source, changed, this, refresh);
        connect(this, &VelmorSegmentedPicker::segmentClicked, this, [cases, write](int index) {
            if (index >= 0 && index < cases.size())
                write(cases[index]);
        });
    }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void segmentClicked(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QList<SelectableItem*> segments_;
    int selected_ = -1;
};

} // namespace velmor::ui
