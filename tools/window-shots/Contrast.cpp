#include "Contrast.h"

#include "core/screens/SidebarSection.h"
#include "core/settings/AppState.h"
#include "ui/controls/Style.h"
#include "ui/controls/TextBlock.h"
#include "ui/controls/VelmorSegmentedPicker.h"
#include "ui/screens/ShortcutRecorder.h"
#include "ui/window/MainWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QHash>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QStyleOptionButton>
#include <QTest>

#include <cstdio>

namespace velmor {

namespace {

// What is measured on a control: the ink of its text against what it stands on, and the edge
// that shows where it is against the window around it.
enum class Kind { text, outline };

struct Rule {
    const char* what;
    Kind kind;
    double minimum;
};
constexpr Rule textRule{"text", Kind::text, 4.5};
constexpr Rule outlineRule{"outline", Kind::outline, 3.0};

QRgb dominant(const QImage& image, const QRect& area) {
    QHash<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.rect().contains(x, y))
                ++counts[image.pixel(x, y)];
    QRgb best = 0;
    int most = -1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > most) {
            most = it.value();
            best = it.key();
        }
    return best;
}

// The pixel in `area` (but outside `except`) that stands out most from `background`.
double strongest(const QImage& image, const QRect& area, QRgb background,
                 const QRect& except = {}) {
    double best = 1;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.rect().contains(x, y) && !except.contains(x, y))
                best = std::max(best,
                                ui::contrastRatio(QColor(image.pixel(x, y)), QColor(background)));
    return best;
}

// The rules a widget is held to, and where on it (in its own coordinates) the edge lies.
QList<std::pair<Rule, QRect>> rulesFor(QWidget* w) {
    QList<std::pair<Rule, QRect>> rules;
    if (auto* check = qobject_cast<QCheckBox*>(w)) {
        QStyleOptionButton option;
        option.initFrom(check);
        rules.append({outlineRule, check->style()->subElementRect(QStyle::SE_CheckBoxIndicator,
                                                                  &option, check)});
        rules.append({textRule, {}});
    } else if (qobject_cast<QComboBox*>(w) || qobject_cast<ShortcutRecorder*>(w)) {
        rules.append({outlineRule, w->rect()});
        rules.append({textRule, {}});
    } else if (qobject_cast<QSlider*>(w) || qobject_cast<ui::VelmorSegmentedPicker*>(w)) {
        rules.append({outlineRule, w->rect()});
    } else if (auto* block = qobject_cast<ui::TextBlock*>(w)) {
        if (!block->text().isEmpty())
            rules.append({textRule, {}});
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        if (!button->text().isEmpty())
            rules.append({textRule, {}});
    }
    return rules;
}

struct Lowest {
    double text = 99, outline = 99;
    QString textWhere, outlineWhere;
};

} // namespace

int measureContrast(MainWindow& window, AppState& state) {
    window.move(20, 20);
    QCursor::setPos(window.mapToGlobal(QPoint(window.width() + 300, 10)));
    // Colours and sections change at once, so what is read is where they settle.
    window.setReducesMotion([] { return true; });
    int failures = 0;
    QMap<QString, Lowest> table; // per screen and appearance, over every theme
    for (AppearanceMode look : {AppearanceMode::light, AppearanceMode::dark}) {
        state.setAppearanceMode(look);
        for (VelmorTheme theme : allThemes) {
            state.setTheme(theme);
            for (SidebarSection section : allSidebarSections) {
                window.select(section);
                QTest::qWait(50);
                if (QWidget* focused = QApplication::focusWidget())
                    focused->clearFocus();
                auto* scroll = qobject_cast<QScrollArea*>(
                    window.currentScreen()->parentWidget()->parentWidget());
                QImage shot;
                int shotAt = -1;
                Lowest here;
                for (QWidget* w : window.findChildren<QWidget*>()) {
                    if (!w->isVisible() || !w->isEnabled() || w->window() != &window)
                        continue;
                    const auto rules = rulesFor(w);
                    if (rules.isEmpty())
                        continue;
                    if (scroll && window.currentScreen()->isAncestorOf(w))
                        scroll->ensureWidgetVisible(w, 0, 0);
                    const int at = scroll ? scroll->verticalScrollBar()->value() : 0;
                    if (at != shotAt) {
                        window.repaint();
                        QCoreApplication::processEvents();
                        const QPoint origin = window.mapToGlobal(QPoint(0, 0));
                        shot = window.screen()
                                   ->grabWindow(0, origin.x() - window.screen()->geometry().x(),
                                                origin.y() - window.screen()->geometry().y(),
                                                window.width(), window.height())
                                   .toImage()
                                   .convertToFormat(QImage::Format_RGB32);
                        shot.setDevicePixelRatio(1);
                        shotAt = at;
                    }
                    const double scale = double(shot.width()) / window.width();
                    const auto toShot = [&](const QRect& r) {
                        const QRect inWindow(w->mapTo(&window, r.topLeft()), r.size());
                        return QRect(int(inWindow.x() * scale), int(inWindow.y() * scale),
                                     int(inWindow.width() * scale), int(inWindow.height() * scale));
                    };
                    const QRect whole = toShot(w->rect());
                    if (!QRect(QPoint(0, 0), shot.size()).contains(whole))
                        continue; // still outside the view
                    for (const auto& [rule, edge] : rules) {
                        double ratio = 0;
                        if (rule.kind == Kind::text) {
                            ratio = strongest(shot, whole, dominant(shot, whole));
                        } else {
                            // The edge against the window just outside the control.
                            const QRect box = toShot(edge);
                            const int band = int(std::ceil(2 * scale));
                            const QRect around =
                                box.adjusted(-band - 3, -band - 3, band + 3, band + 3);
                            const QRgb outside = dominant(shot, around);
                            ratio = strongest(shot, box.adjusted(-1, -1, 1, 1), outside,
                                              box.adjusted(band, band, -band, -band));
                        }
                        const QString where = QString::fromLatin1(w->metaObject()->className());
                        double& lowest = rule.kind == Kind::text ? here.text : here.outline;
                        if (ratio < lowest) {
                            lowest = ratio;
                            (rule.kind == Kind::text ? here.textWhere : here.outlineWhere) = where;
                        }
                        if (ratio < rule.minimum) {
                            ++failures;
                            std::printf("FAIL: %s %s %s: %s %s %.2f:1 < %.1f:1\n",
                                        qPrintable(rawValue(section)), qPrintable(rawValue(theme)),
                                        qPrintable(rawValue(look)), qPrintable(where), rule.what,
                                        ratio, rule.minimum);
                        }
                    }
                }
                Lowest& row = table[rawValue(section) + u' ' + rawValue(look)];
                if (here.text < row.text) {
                    row.text = here.text;
                    row.textWhere = here.textWhere + u' ' + rawValue(theme);
                }
                if (here.outline < row.outline) {
                    row.outline = here.outline;
                    row.outlineWhere = here.outlineWhere + u' ' + rawValue(theme);
                }
            }
        }
    }
    std::printf("\n%-14s %22s   %s\n", "screen", "lowest text / edge", "(where, theme)");
    for (auto it = table.cbegin(); it != table.cend(); ++it)
        std::printf("%-14s %8.2f:1 / %6.2f:1   (%s; %s)\n", qPrintable(it.key()), it->text,
                    it->outline < 99 ? it->outline : 0.0, qPrintable(it->textWhere),
                    qPrintable(it->outlineWhere));
    std::printf("contrast: %d below the minimum\n", failures);
    return failures == 0 ? 0 : 1;
}

} // namespace velmor
