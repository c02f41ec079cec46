#include "ui/controls/TabularText.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>

namespace velmor::ui {

namespace {

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// Splits the text into runs of digits and runs of anything else, calling `run` for each with the
// run and its advance.
template <typename Run>
void forEachRun(const QFontMetricsF& metrics, double cell, const QString& text, Run run) {
    qsizetype start = 0;
    while (start < text.size()) {
        const bool digits = isDigit(text[start]);
        qsizetype end = start + 1;
        while (end < text.size() && isDigit(text[end]) == digits)
            ++end;
        const QString part = text.mid(start, end - start);
        run(part, digits, digits ? cell * double(part.size()) : metrics.horizontalAdvance(part));
        start = end;
    }
}

} // namespace

double tabularDigitWidth(const QFont& font) {
    const QFontMetricsF metrics(font);
    double widest = 0;
    for (char16_t c = u'0'; c <= u'9'; ++c)
        widest = std::max(widest, metrics.horizontalAdvance(QChar(c)));
    return widest;
}

double tabularAdvance(const QFont& font, const QString& text) {
    const QFontMetricsF metrics(font);
    const double cell = tabularDigitWidth(font);
    double total = 0;
    forEachRun(metrics, cell, text,
               [&](const QString&, bool, double advance) { total += advance; });
    return total;
}

void drawTabularText(QPainter& painter, const QRectF& rect, Qt::Alignment alignment,
                     const QString& text) {
    const QFont& font = painter.font();
    const QFontMetricsF metrics(font);
    const double cell = tabularDigitWidth(font);
    const double width = tabularAdvance(font, text);

    double x = rect.left();
    if (alignment & Qt::AlignRight)
        x = rect.right() - width;
    else if (alignment & Qt::AlignHCenter)
        x = rect.left() + (rect.width() - width) / 2;
    double baseline = rect.top() + metrics.ascent();
    if (alignment & Qt::AlignBottom)
        baseline = rect.bottom() - metrics.descent();
    else if (alignment & Qt::AlignVCenter)
        baseline = rect.top() + (rect.height() - metrics.height()) / 2 + metrics.ascent();

    forEachRun(metrics, cell, text, [&](const QString& part, bool digits, double advance) {
        if (!digits) {
            painter.drawText(QPointF(x, baseline), part);
        } else {
            for (int i = 0; i < part.size(); ++i) {
                const double own = metrics.horizontalAdvance(part[i]);
                painter.drawText(QPointF(x + i * cell + (cell - own) / 2, baseline),
                                 QString(part[i]));
            }
        }
        x += advance;
    });
}

} // namespace velmor::ui
