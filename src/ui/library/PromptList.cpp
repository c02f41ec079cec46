#include "ui/library/PromptList.h"

#include "ui/library/PlainButton.h"
#include "ui/library/PromptRow.h"

#include <QApplication>
#include <QGraphicsOpacityEffect>
#include <QKeyEvent>
#include <QScrollBar>

#include <cmath>

namespace velmor {

namespace {
constexpr int headerSpaceAbove = 12, sectionSpacing = 8;
const char* keyProperty = "entryKey";
} // namespace

PromptList::PromptList(AppState& appState, QWidget* parent)
    : QAbstractScrollArea(parent), appState_(appState) {
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setAutoFillBackground(false);
    verticalScrollBar()->setSingleStep(20);
    // A thin bar drawn from a style sheet: lighter to repaint than the full style's.
    verticalScrollBar()->setStyleSheet(QStringLiteral(
        "QScrollBar:vertical { background: transparent; width: 10px; margin: 0; }"
        "QScrollBar::handle:vertical { background: rgba(128, 128, 128, 90); min-height: 24px;"
        " border-radius: 3px; margin: 2px; }"
        "QScrollBar::add-line, QScrollBar::sub-line { height: 0; }"
        "QScrollBar::add-page, QScrollBar::sub-page { background: transparent; }"));
    header_ = new PlainButton(QStringLiteral("chevron.down"), QString(), viewport());
    PlainButton::Look look;
    look.font = libraryStyle::regular(12);
    look.symbolSize = 9;
    look.spacing = 6;
    look.symbolAfter = true;
    header_->setLook(look);
    header_->setColorFunction(
        [this] { return libraryStyle::text(this, libraryStyle::Level::tertiary); });
    header_->hide();
    connect(header_, &QAbstractButton::clicked, this, &PromptList::setAsideToggled);
    connect(qApp, &QApplication::focusChanged, this, &PromptList::onFocusChanged);
}

QString PromptList::keyOf(const ListEntry& entry) const {
    switch (entry.kind) {
    case ListEntry::Kind::prompt:
    case ListEntry::Kind::editor: // the editor stands in the prompt's place
        return QStringLiteral("p:") + entry.prompt.id;
    case ListEntry::Kind::setAsideHeader:
        return QStringLiteral("h:");
    case ListEntry::Kind::setAsidePrompt:
        return QStringLiteral("a:") + entry.prompt.id;
    }
    return {};
}

void PromptList::animating(int ms, const QEasingCurve& curve, const std::function<void()>& change) {
    const std::optional<Motion> outer = motion_;
    if (animated_)
        motion_ = Motion{ms, curve};
    change();
    motion_ = outer;
}

void PromptList::reindex() {
    indexOfKey_.clear();
    indexOfKey_.reserve(entries_.size());
    for (int i = 0; i < entries_.size(); ++i)
        indexOfKey_.insert(keyOf(entries_[i]), i);
}

void PromptList::fadePresence(const QString& key, double from, double to, int ms,
                              const QEasingCurve& curve) {
    auto [it, added] = presence_.try_emplace(key);
    if (added)
        it->second.jumpTo(from);
    it->second.moveTo(to, ms, curve, animated_, this, [this] { onTick(); });
}

void PromptList::setEntries(const QList<ListEntry>& entries, int setAsideCount,
                            bool setAsideExpanded) {
    const bool anyLeaving = std::find(leaving_.begin(), leaving_.end(), 1) != leaving_.end();
    if (!motion_ && !anyLeaving) {
        entries_ = entries;
        leaving_.assign(entries_.size(), 0);
    } else {
        // Lines that go stay where they were while they fade; lines that come (or change
        // between row and editor) fade in. Both lists keep their common lines in order. The
        // common head and tail are passed over first: a change touches few lines of many.
        const auto same = [](const ListEntry& a, const ListEntry& b) {
            return a.kind == b.kind && a.prompt.id == b.prompt.id;
        };
        const int oldEnd = int(entries_.size()), newEnd = int(entries.size());
        int head = 0, tail = 0;
        while (head < oldEnd && head < newEnd && !leaving_[head] &&
               same(entries_[head], entries[head]))
            ++head;
        while (tail < oldEnd - head && tail < newEnd - head && !leaving_[oldEnd - 1 - tail] &&
               same(entries_[oldEnd - 1 - tail], entries[newEnd - 1 - tail]))
            ++tail;
        QHash<QString, ListEntry::Kind> oldKind;
        for (int i = head; i < oldEnd - tail; ++i)
            if (!leaving_[i])
                oldKind.insert(keyOf(entries_[i]), entries_[i].kind);
        QSet<QString> newKeys;
        for (int j = head; j < newEnd - tail; ++j)
            newKeys.insert(keyOf(entries[j]));
        QList<ListEntry> merged = entries.mid(0, head);
        std::vector<char> leaving(head, 0);
        merged.reserve(entries.size() + 1);
        QSet<QString> placed;
        int i = head, j = head;
        while (i < oldEnd - tail || j < newEnd - tail) {
            if (i < oldEnd - tail) {
                const QString key = keyOf(entries_[i]);
                if (placed.contains(key)) {
                    ++i;
                    continue;
                }
                if (!newKeys.contains(key)) {
                    if (leaving_[i] || motion_) {
                        merged.append(entries_[i]);
                        leaving.push_back(1);
                        if (!leaving_[i])
                            fadePresence(key, 1, 0, motion_->ms, motion_->curve);
                        placed.insert(key);
                    } else {
                        presence_.erase(key);
                    }
                    ++i;
                    continue;
                }
            }
            if (j >= newEnd - tail) {
                ++i;
                continue;
            }
            const QString key = keyOf(entries[j]);
            merged.append(entries[j]);
            leaving.push_back(0);
            placed.insert(key);
            const auto was = oldKind.constFind(key);
            const bool comes = was == oldKind.constEnd() || *was != entries[j].kind;
            if (motion_ && comes)
                fadePresence(key, 0, 1, motion_->ms, motion_->curve);
            else if (auto it = presence_.find(key);
                     it != presence_.end() && it->second.target() == 0)
                fadePresence(key, 0, 1, motion_ ? motion_->ms : libraryMotion::changeMs,
                             motion_ ? motion_->curve : libraryMotion::easeInOut());
            ++j;
        }
        merged.append(entries.mid(newEnd - tail));
        leaving.resize(merged.size(), 0);
        entries_ = merged;
        leaving_ = std::move(leaving);
    }
    reindex();
    header_->setText(setAsideHeaderText(setAsideCount));
    header_->setAccessibleName(header_->text());
    header_->setSymbol(setAsideExpanded ? QStringLiteral("chevron.up")
                                        : QStringLiteral("chevron.down"));
    header_->resize(header_->sizeHint());
    // Widgets in view are rebound to their (possibly changed) entries.
    for (auto it = live_.begin(); it != live_.end(); ++it) {
        const int index = indexOfKey_.value(it.key(), -1);
        if (index < 0)
            continue;
        if (auto* row = qobject_cast<PromptRow*>(it.value()))
            row->bind(entries_[index]);
        else if (auto* aside = qobject_cast<SetAsideRow*>(it.value()))
            aside->bind(entries_[index]);
    }
    remeasure();
    relayout();
}

double PromptList::revealOf(const QString& key) const {
    const auto it = reveal_.find(key);
    return it == reveal_.end() ? 0.0 : it->second.value();
}

double PromptList::presenceOf(const QString& key) const {
    const auto it = presence_.find(key);
    return it == presence_.end() ? 1.0 : it->second.value();
}

// The bar comes out while the row is hovered or holds the focus.
void PromptList::updateReveal(const QString& key) {
    if (key.isEmpty())
        return;
    const int index = indexOfKey_.value(key, -1);
    const bool out = index >= 0 && !leaving_[index] &&
                     entries_[index].kind == ListEntry::Kind::prompt &&
                     (key == hoveredKey_ || key == focusKey_);
    if (!out && !reveal_.count(key))
        return;
    reveal_[key].moveTo(out ? 1 : 0, libraryMotion::hoverMs, libraryMotion::easeInOut(), animated_,
                        this, [this] { onTick(); });
}

// One step of any fade: finished fades are forgotten, lines that have faded out are dropped.
void PromptList::onTick() {
    bool gone = false;
    for (auto it = presence_.begin(); it != presence_.end();) {
        if (it->second.isRunning()) {
            ++it;
            continue;
        }
        gone = gone || it->second.target() == 0;
        if (it->second.target() == 1)
            it = presence_.erase(it);
        else
            ++it;
    }
    for (auto it = reveal_.begin(); it != reveal_.end();) {
        if (!it->second.isRunning() && it->second.target() == 0)
            it = reveal_.erase(it);
        else
            ++it;
    }
    if (gone)
        dropGone();
    else
        relayout();
}

void PromptList::dropGone() {
    QList<ListEntry> kept;
    std::vector<int> heights;
    std::vector<char> exact, leaving;
    kept.reserve(entries_.size());
    for (int i = 0; i < entries_.size(); ++i) {
        if (leaving_[i]) {
            const QString key = keyOf(entries_[i]);
            const auto fade = presence_.find(key);
            if (fade == presence_.end() || !fade->second.isRunning()) {
                presence_.erase(key);
                continue;
            }
        }
        kept.append(entries_[i]);
        heights.push_back(baseHeights_[i]);
        exact.push_back(exact_[i]);
        leaving.push_back(leaving_[i]);
    }
    entries_ = kept;
    leaving_ = std::move(leaving);
    baseHeights_ = std::move(heights);
    exact_ = std::move(exact);
    reindex();
    relayout();
}

void PromptList::setEditor(InlineEditor* editor) {
    editor_ = editor;
    if (editor_) {
        editor_->setParent(viewport());
        editor_->hide();
    }
}

int PromptList::measure(int index, bool exact) {
    const ListEntry& entry = entries_[index];
    const int width = viewport()->width();
    switch (entry.kind) {
    case ListEntry::Kind::editor:
        return editor_ ? editor_->minimumHeight() : 0;
    case ListEntry::Kind::setAsideHeader:
        return headerSpaceAbove + header_->sizeHint().height() + sectionSpacing;
    case ListEntry::Kind::prompt:
    case ListEntry::Kind::setAsidePrompt:
        break;
    }
    const PromptItem& prompt = entry.prompt;
    const bool aside = entry.kind == ListEntry::Kind::setAsidePrompt;
    const QString key = keyOf(entry);
    auto it = heightCache_.find(key);
    if (it != heightCache_.end() && it->width == width && it->text == prompt.text &&
        it->source == prompt.source && it->work == prompt.sourceWork) {
        exact_[index] = true;
        return it->height;
    }
    // Shaping text is the slow part: rows out of view get an estimate until they are shown.
    if (!exact)
        return aside ? SetAsideRow::estimateHeight(prompt, width)
                     : PromptRow::estimateHeight(prompt, width);
    const int height =
        aside ? SetAsideRow::heightFor(prompt, width) : PromptRow::heightFor(prompt, width, false);
    heightCache_.insert(key,
                        Measured{prompt.text, prompt.source, prompt.sourceWork, width, height});
    exact_[index] = true;
    return height;
}

void PromptList::remeasure() {
    measuredWidth_ = viewport()->width();
    baseHeights_.resize(entries_.size());
    exact_.assign(entries_.size(), false);
    for (int i = 0; i < entries_.size(); ++i)
        baseHeights_[i] = measure(i, false);
}

void PromptList::relayout() {
    static const int barExtra = PromptRow::heightFor(PromptItem(), 400, true) -
                                PromptRow::heightFor(PromptItem(), 400, false);
    // Only the few lines that are moving differ from their measured height.
    std::vector<std::pair<int, double>> grown, scaled;
    for (const auto& [key, fade] : reveal_) {
        const int i = indexOfKey_.value(key, -1);
        if (i >= 0 && entries_[i].kind == ListEntry::Kind::prompt)
            grown.emplace_back(i, fade.value());
    }
    for (const auto& [key, fade] : presence_)
        if (const int i = indexOfKey_.value(key, -1); i >= 0)
            scaled.emplace_back(i, fade.value());
    std::vector<int>& heights = heightScratch_;
    heights.assign(baseHeights_.begin(), baseHeights_.end());
    for (const auto& [i, v] : grown)
        heights[i] += int(std::lround(barExtra * v));
    for (const auto& [i, v] : scaled)
        heights[i] = int(std::lround(heights[i] * v));
    offsets_.assign(entries_.size() + 1, 0);
    for (int i = 0; i < entries_.size(); ++i)
        offsets_[i + 1] = offsets_[i] + heights[i];
    QScrollBar* bar = verticalScrollBar();
    const bool atEnd = bar->value() > 0 && bar->value() == bar->maximum();
    bar->setPageStep(viewport()->height());
    bar->setRange(0, std::max(0, contentHeight() - viewport()->height()));
    if (atEnd)
        bar->setValue(bar->maximum());
    placeVisible();
}

QWidget* PromptList::materialize(int index) {
    const ListEntry& entry = entries_[index];
    const QString key = keyOf(entry);
    if (QWidget* existing = live_.value(key)) {
        const bool editor = entry.kind == ListEntry::Kind::editor;
        if (editor == (existing == editor_))
            return existing;
        // A row turned into the editor or back: give the old widget up.
        live_.remove(key);
        existing->hide();
        if (auto* row = qobject_cast<PromptRow*>(existing))
            spareRows_.append(row);
    }
    QWidget* widget = nullptr;
    switch (entry.kind) {
    case ListEntry::Kind::prompt: {
        PromptRow* row = spareRows_.isEmpty() ? nullptr : spareRows_.takeLast();
        if (!row) {
            row = new PromptRow(appState_, viewport());
            row->installEventFilter(this);
            connect(row, &PromptRow::actionTriggered, this, &PromptList::actionTriggered);
        }
        row->bind(entry);
        widget = row;
        break;
    }
    case ListEntry::Kind::setAsidePrompt: {
        SetAsideRow* row = spareAsideRows_.isEmpty() ? nullptr : spareAsideRows_.takeLast();
        if (!row) {
            row = new SetAsideRow(viewport());
            connect(row, &SetAsideRow::restoreRequested, this, &PromptList::restoreRequested);
        }
        row->bind(entry);
        widget = row;
        break;
    }
    case ListEntry::Kind::setAsideHeader:
        widget = header_;
        break;
    case ListEntry::Kind::editor:
        widget = editor_;
        break;
    }
    if (widget) {
        widget->setProperty(keyProperty, key);
        live_.insert(key, widget);
    }
    return widget;
}

// Hiding a row that holds the focus moves the focus and can scroll, which asks for placing
// again while the rows are being changed: such a request waits until this pass is done.
void PromptList::placeVisible() {
    if (placing_) {
        placeAgain_ = true;
        return;
    }
    placing_ = true;
    // Bounded: each pass measures what is in view, so the heights settle within a few passes.
    for (int pass = 0; pass < 8; ++pass) {
        placeAgain_ = false;
        placeVisibleOnce();
        if (!placeAgain_)
            break;
    }
    placing_ = false;
}

void PromptList::placeVisibleOnce() {
    if (measureInView())
        return relayout(); // heights in view changed: lay out again (and come back here)
    const int top = verticalScrollBar()->value();
    const int bottom = top + viewport()->height();
    const int width = viewport()->width();
    QList<int> wanted;
    if (!entries_.isEmpty()) {
        const auto first = std::upper_bound(offsets_.begin(), offsets_.end(), top);
        for (int i = std::max(0, int(first - offsets_.begin()) - 1);
             i < entries_.size() && offsets_[i] < bottom; ++i)
            wanted.append(i);
        // The row holding the keyboard focus stays built even when scrolled away.
        const int focused = indexOfKey_.value(focusKey_, -1);
        if (focused >= 0 && !wanted.contains(focused))
            wanted.append(focused);
    }
    QSet<QString> keep;
    for (int i : wanted)
        keep.insert(keyOf(entries_[i]));
    QList<QWidget*> leaving;
    for (auto it = live_.begin(); it != live_.end();) {
        if (keep.contains(it.key()) && indexOfKey_.contains(it.key())) {
            ++it;
            continue;
        }
        QWidget* widget = it.value();
        it = live_.erase(it);
        leaving.append(widget);
        if (auto* row = qobject_cast<PromptRow*>(widget))
            spareRows_.append(row);
        else if (auto* aside = qobject_cast<SetAsideRow*>(widget))
            spareAsideRows_.append(aside);
    }
    for (QWidget* widget : std::as_const(leaving))
        widget->hide();
    for (int i : wanted) {
        QWidget* widget = materialize(i);
        if (!widget)
            continue;
        const int height = offsets_[i + 1] - offsets_[i];
        const QString key = keyOf(entries_[i]);
        const double presence = presenceOf(key);
        if (widget == header_) {
            header_->setGeometry(0, offsets_[i] - top + headerSpaceAbove,
                                 header_->sizeHint().width(), header_->sizeHint().height());
            header_->setOpacity(presence);
        } else {
            widget->setGeometry(0, offsets_[i] - top, width, height);
        }
        // A line on its way out takes no clicks and no keys.
        widget->setEnabled(!leaving_[i]);
        if (auto* row = qobject_cast<PromptRow*>(widget)) {
            row->setReveal(revealOf(key));
            row->setPresence(presence);
        } else if (auto* aside = qobject_cast<SetAsideRow*>(widget)) {
            aside->setPresence(presence);
        } else if (widget == editor_) {
            // Its fields are real widgets: an effect fades them, only while it is needed.
            auto* effect = qobject_cast<QGraphicsOpacityEffect*>(editor_->graphicsEffect());
            if (presence < 1) {
                if (!effect) {
                    effect = new QGraphicsOpacityEffect(editor_);
                    editor_->setGraphicsEffect(effect);
                }
                effect->setOpacity(presence);
            } else if (effect) {
                editor_->setGraphicsEffect(nullptr);
            }
        }
        widget->show();
    }
}

bool PromptList::measureInView() {
    const int top = verticalScrollBar()->value();
    const int bottom = top + viewport()->height();
    bool changed = false;
    const auto first = std::upper_bound(offsets_.begin(), offsets_.end(), top);
    for (int i = std::max(0, int(first - offsets_.begin()) - 1);
         i < entries_.size() && i + 1 < int(offsets_.size()) && offsets_[i] < bottom; ++i) {
        if (exact_[i])
            continue;
        const int height = measure(i, true);
        changed = changed || height != baseHeights_[i];
        baseHeights_[i] = height;
    }
    return changed;
}

void PromptList::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    if (viewport()->width() != measuredWidth_)
        remeasure();
    relayout();
}

void PromptList::scrollContentsBy(int, int) {
    placeVisible();
}

QWidget* PromptList::widgetFor(int index) const {
    if (index < 0 || index >= entries_.size())
        return nullptr;
    QWidget* widget = live_.value(keyOf(entries_[index]));
    return widget && widget->isVisible() ? widget : nullptr;
}

QList<QWidget*> PromptList::visibleWidgets() const {
    QList<QWidget*> widgets;
    for (QWidget* widget : live_)
        if (widget->isVisible() && widget->geometry().intersects(viewport()->rect()))
            widgets.append(widget);
    std::sort(widgets.begin(), widgets.end(),
              [](QWidget* a, QWidget* b) { return a->y() < b->y(); });
    return widgets;
}

void PromptList::scrollToEntry(int index) {
    if (index < 0 || index >= entries_.size())
        return;
    QScrollBar* bar = verticalScrollBar();
    const int top = bar->value(), bottom = top + viewport()->height();
    if (offsets_[index] < top)
        bar->setValue(offsets_[index]);
    else if (offsets_[index + 1] > bottom)
        bar->setValue(std::min(offsets_[index], offsets_[index + 1] - viewport()->height()));
}

QList<QWidget*> PromptList::chainOf(QWidget* widget) const {
    if (auto* row = qobject_cast<PromptRow*>(widget))
        return row->focusChain();
    if (auto* aside = qobject_cast<SetAsideRow*>(widget))
        return {aside->restoreButton()};
    if (widget == editor_ && editor_)
        return editor_->focusChain();
    return {widget};
}

int PromptList::indexOfWidget(QWidget* widget) const {
    while (widget && widget->parentWidget() != viewport())
        widget = widget->parentWidget();
    return widget ? indexOfKey_.value(widget->property(keyProperty).toString(), -1) : -1;
}

bool PromptList::focusEntry(int index, bool first) {
    if (index < 0 || index >= entries_.size())
        return false;
    scrollToEntry(index);
    QWidget* widget = materialize(index);
    placeVisible();
    if (!widget)
        return false;
    const QList<QWidget*> chain = chainOf(widget);
    chain[first ? 0 : chain.size() - 1]->setFocus(first ? Qt::TabFocusReason
                                                        : Qt::BacktabFocusReason);
    return true;
}

bool PromptList::focusNextPrevChild(bool next) {
    QWidget* focused = QApplication::focusWidget();
    const int index = indexOfWidget(focused);
    if (index >= 0) {
        const QList<QWidget*> chain = chainOf(live_.value(keyOf(entries_[index])));
        const int at = chain.indexOf(focused);
        const int to = at + (next ? 1 : -1);
        if (at >= 0 && to >= 0 && to < chain.size()) {
            chain[to]->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
        if (focusEntry(index + (next ? 1 : -1), next))
            return true;
    }
    // Leave the list: the next focusable widget outside it, in the window's order.
    QWidget* w = next ? static_cast<QWidget*>(this) : this;
    for (int guard = 0; guard < 10000; ++guard) {
        w = next ? w->nextInFocusChain() : w->previousInFocusChain();
        if (!w || w == this)
            break;
        if (isAncestorOf(w))
            continue;
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisible() && w->isEnabled()) {
            w->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    return QAbstractScrollArea::focusNextPrevChild(next);
}

void PromptList::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    // The list passes the keyboard on to the row that had it, else the first in view.
    int index = indexOfKey_.value(focusKey_, -1);
    if (index < 0) {
        const auto first =
            std::upper_bound(offsets_.begin(), offsets_.end(), verticalScrollBar()->value());
        index = std::max(0, int(first - offsets_.begin()) - 1);
    }
    focusEntry(index, event->reason() != Qt::BacktabFocusReason);
}

void PromptList::onFocusChanged(QWidget*, QWidget* now) {
    const int index = now && viewport()->isAncestorOf(now) ? indexOfWidget(now) : -1;
    const QString key = index >= 0 ? keyOf(entries_[index]) : QString();
    if (key == focusKey_)
        return;
    const QString old = std::exchange(focusKey_, key);
    updateReveal(old);
    updateReveal(key);
    relayout();
    if (index >= 0)
        scrollToEntry(index);
}

bool PromptList::eventFilter(QObject* watched, QEvent* event) {
    auto* row = qobject_cast<PromptRow*>(watched);
    if (!row)
        return false;
    const QString key = row->property(keyProperty).toString();
    switch (event->type()) {
    case QEvent::Enter:
        if (hoveredKey_ != key && !isLeaving(indexOfKey_.value(key, -1))) {
            const QString old = std::exchange(hoveredKey_, key);
            updateReveal(old);
            updateReveal(key);
            relayout();
        }
        break;
    case QEvent::Leave:
        if (hoveredKey_ == key) {
            hoveredKey_.clear();
            updateReveal(key);
            relayout();
        }
        break;
    case QEvent::KeyPress: {
        const int key2 = static_cast<QKeyEvent*>(event)->key();
        const int index = indexOfKey_.value(key, -1);
        if (key2 == Qt::Key_Down || key2 == Qt::Key_Up) {
            focusEntry(index + (key2 == Qt::Key_Down ? 1 : -1), true);
            return true;
        }
        break;
    }
    default:
        break;
    }
    return false;
}

} // namespace velmor
