#pragma once

#include "core/screens/LibraryList.h"
#include "ui/library/LibraryMotion.h"

#include <QAbstractScrollArea>
#include <QHash>

#include <functional>
#include <optional>
#include <unordered_map>
#include <vector>

namespace velmor {

class AppState;
class InlineEditor;
class PlainButton;
class PromptRow;
class SetAsideRow;

// A scrolling column of prompt rows that builds only the rows in view: heights are measured
// without widgets (and cached), widgets are made for the visible lines and reused as the list
// scrolls, so ten thousand prompts open and scroll without a stall. Tab walks the rows and
// their buttons in order; Up and Down move from row to row.
class PromptList final : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit PromptList(AppState& appState, QWidget* parent = nullptr);

    void setEntries(const QList<ListEntry>& entries, int setAsideCount, bool setAsideExpanded);
    // Whether rows move at all (off under reduce motion).
    void setAnimated(bool animated) { animated_ = animated; }
    // Runs `change`; the lines it adds fade and grow in, the lines it removes fade and shrink
    // away, over `ms` on `curve`. Other changes land at once.
    void animating(int ms, const QEasingCurve& curve, const std::function<void()>& change);
    // A line that has left the entries and is still fading out.
    bool isLeaving(int index) const {
        return index >= 0 && index < int(leaving_.size()) && leaving_[index];
    }
    // The editor shown in place of the entry being edited; owned by the caller.
    void setEditor(InlineEditor* editor);

    int entryCount() const { return int(entries_.size()); }
    int contentHeight() const { return offsets_.empty() ? 0 : offsets_.back(); }
    // The widget showing entry `index`, or null while it is out of view.
    QWidget* widgetFor(int index) const;
    // Widgets in view, top to bottom.
    QList<QWidget*> visibleWidgets() const;
    void scrollToEntry(int index);

signals:
    void actionTriggered(velmor::RowAction action, const velmor::PromptItem& prompt);
    void restoreRequested(const QString& id);
    void setAsideToggled();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool focusNextPrevChild(bool next) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    QString keyOf(const ListEntry& entry) const;
    int measure(int index, bool exact);
    bool measureInView();
    void remeasure();
    void relayout();
    void placeVisible();
    void placeVisibleOnce();
    QWidget* materialize(int index);
    QList<QWidget*> chainOf(QWidget* widget) const;
    int indexOfWidget(QWidget* widget) const;
    bool focusEntry(int index, bool first);
    void onFocusChanged(QWidget* old, QWidget* now);
    double revealOf(const QString& key) const;
    double presenceOf(const QString& key) const;
    void updateReveal(const QString& key);
    void fadePresence(const QString& key, double from, double to, int ms,
                      const QEasingCurve& curve);
    void onTick();
    void dropGone();
    void reindex();

    AppState& appState_;
    QList<ListEntry> entries_;
    QHash<QString, int> indexOfKey_;
    std::vector<int> baseHeights_;
    std::vector<char> exact_;  // measured, not estimated
    std::vector<int> offsets_; // entries_.size() + 1
    std::vector<int> heightScratch_;
    struct Measured {
        QString text;
        std::optional<QString> source, work;
        int width = 0;
        int height = 0;
    };
    QHash<QString, Measured> heightCache_;
    int measuredWidth_ = -1;
    bool placing_ = false;    // placeVisible() is running
    bool placeAgain_ = false; // it was asked for again meanwhile

    QHash<QString, QWidget*> live_; // key -> widget in view
    QList<PromptRow*> spareRows_;
    QList<SetAsideRow*> spareAsideRows_;
    PlainButton* header_;
    InlineEditor* editor_ = nullptr;
    QString hoveredKey_, focusKey_;

    bool animated_ = true;
    struct Motion {
        int ms;
        QEasingCurve curve;
    };
    std::optional<Motion> motion_;               // for the change under way
    std::vector<char> leaving_;                  // per entry: fading out, no longer listed
    std::unordered_map<QString, Fade> reveal_;   // action bars moving in or out
    std::unordered_map<QString, Fade> presence_; // lines fading in or out
};

} // namespace velmor
