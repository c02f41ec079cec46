#include "ui/controls/Symbols.h"

#include <QHash>
#include <QIcon>
#include <QPainter>
#include <QSvgRenderer>

#include <cmath>

namespace velmor::ui {

namespace {

struct Drawing {
    const char* themeName; // freedesktop symbolic icon, or nullptr
    const char* svg;       // body of a 16x16 drawing in currentColor
};

// clang-format off
const QHash<QString, Drawing>& drawings() {
    static const QHash<QString, Drawing> table{
        {QStringLiteral("house"), {"go-home-symbolic",
            R"(<path d="M2 7.5 8 2.5l6 5M3.8 6.3V13.5h3V10h2.4v3.5h3V6.3" fill="none" stroke="currentColor" stroke-width="1.3" stroke-linejoin="round" stroke-linecap="round"/>)"}},
        {QStringLiteral("timer"), {nullptr,
            R"(<circle cx="8" cy="8.8" r="5.6" fill="none" stroke="currentColor" stroke-width="1.3"/><path d="M8 8.8V5.6M6.3 1.8h3.4M8 1.8v1.4" fill="none" stroke="currentColor" stroke-width="1.3" stroke-linecap="round"/>)"}},
        {QStringLiteral("paintpalette"), {nullptr,
            R"(<path d="M8 1.8C4.3 1.8 1.6 4.5 1.6 7.9c0 3.4 2.8 6.3 6.1 6.3 1.2 0 1.7-.7 1.7-1.4 0-.9-.8-1.2-.8-2 0-.8.6-1.3 1.5-1.3h1.5c1.8 0 2.8-1.1 2.8-2.6 0-2.9-2.9-5.1-6.4-5.1Z" fill="none" stroke="currentColor" stroke-width="1.3" stroke-linejoin="round"/><circle cx="4.9" cy="8" r="1" fill="currentColor"/><circle cx="6.2" cy="4.9" r="1" fill="currentColor"/><circle cx="9.6" cy="4.7" r="1" fill="currentColor"/>)"}},
        {QStringLiteral("text.quote"), {nullptr,
            R"(<path d="M2.5 4h11M5.5 8h8M5.5 12h8" fill="none" stroke="currentColor" stroke-width="1.3" stroke-linecap="round"/><path d="M2.6 7.2h1.6v1.6c0 1.3-.6 2.2-1.7 2.6" fill="none" stroke="currentColor" stroke-width="1.1" stroke-linecap="round"/>)"}},
        {QStringLiteral("bell"), {nullptr,
            R"(<path d="M8 2.2c-2.4 0-4 1.8-4 4.2v3L2.7 11.6h10.6L12 9.4v-3c0-2.4-1.6-4.2-4-4.2Z" fill="none" stroke="currentColor" stroke-width="1.3" stroke-linejoin="round"/><path d="M6.5 13.3a1.6 1.6 0 0 0 3 0" fill="none" stroke="currentColor" stroke-width="1.3" stroke-linecap="round"/>)"}},
        {QStringLiteral("gear"), {nullptr,
            R"(<path d="M6.9 1.8h2.2l.4 1.8 1.3.7 1.7-.7 1.1 1.9-1.4 1.2v1.6l1.4 1.2-1.1 1.9-1.7-.7-1.3.7-.4 1.8H6.9l-.4-1.8-1.3-.7-1.7.7-1.1-1.9 1.4-1.2V6.7L2.4 5.5l1.1-1.9 1.7.7 1.3-.7Z" fill="none" stroke="currentColor" stroke-width="1.2" stroke-linejoin="round"/><circle cx="8" cy="7.5" r="2" fill="none" stroke="currentColor" stroke-width="1.2"/>)"}},
        {QStringLiteral("info.circle"), {nullptr,
            R"(<circle cx="8" cy="8" r="6.2" fill="none" stroke="currentColor" stroke-width="1.3"/><path d="M8 7.2v4" stroke="currentColor" stroke-width="1.4" stroke-linecap="round"/><circle cx="8" cy="4.9" r=".9" fill="currentColor"/>)"}},
        {QStringLiteral("play.fill"), {"media-playback-start-symbolic",
            R"(<path d="M4.5 2.5v11l9-5.5Z" fill="currentColor" stroke="currentColor" stroke-width="1" stroke-linejoin="round"/>)"}},
        {QStringLiteral("pause.fill"), {"media-playback-pause-symbolic",
            R"(<rect x="3.5" y="2.5" width="3" height="11" rx=".8" fill="currentColor"/><rect x="9.5" y="2.5" width="3" height="11" rx=".8" fill="currentColor"/>)"}},
        {QStringLiteral("play.circle"), {nullptr,
            R"(<circle cx="8" cy="8" r="6.2" fill="none" stroke="currentColor" stroke-width="1.2"/><path d="M6.6 5.3v5.4L10.9 8Z" fill="currentColor" stroke="currentColor" stroke-width=".6" stroke-linejoin="round"/>)"}},
        {QStringLiteral("leaf.fill"), {nullptr,
            R"(<path d="M2.5 13.5C2.5 7.5 6.5 3 13.6 2.5c.4 6.6-4 11-11.1 11Z" fill="currentColor"/>)"}},
        {QStringLiteral("speaker.fill"), {nullptr,
            R"(<path d="M1.8 6h2.6l3.6-3v10L4.4 10H1.8Z" fill="currentColor" stroke="currentColor" stroke-width=".8" stroke-linejoin="round"/>)"}},
        {QStringLiteral("speaker.slash.fill"), {"audio-volume-muted-symbolic",
            R"(<path d="M1.8 6h2.6l3.6-3v10L4.4 10H1.8Z" fill="currentColor" stroke="currentColor" stroke-width=".8" stroke-linejoin="round"/><path d="M1.5 2l12.5 12" stroke="currentColor" stroke-width="1.3" stroke-linecap="round"/>)"}},
        {QStringLiteral("speaker.wave.1.fill"), {nullptr,
            R"(<path d="M1.8 6h2.6l3.6-3v10L4.4 10H1.8Z" fill="currentColor" stroke="currentColor" stroke-width=".8" stroke-linejoin="round"/><path d="M10 5.8a3 3 0 0 1 0 4.4" fill="none" stroke="currentColor" stroke-width="1.3" stroke-linecap="round"/>)"}},
        {QStringLiteral("speaker.wave.3.fill"), {"audio-volume-high-symbolic",
            R"(<path d="M1.3 6h2.3l3.2-3v10L3.6 10H1.3Z" fill="currentColor" stroke="currentColor" stroke-width=".8" stroke-linejoin="round"/><path d="M8.9 6.2a2.6 2.6 0 0 1 0 3.6M10.7 4.6a5 5 0 0 1 0 6.8M12.5 3a7.3 7.3 0 0 1 0 10" fill="none" stroke="currentColor" stroke-width="1.2" stroke-linecap="round"/>)"}},
        {QStringLiteral("square.and.arrow.up"), {nullptr,
            R"(<path d="M5.3 6.5H3.5v7.5h9V6.5h-1.8M8 1.8v8M5.5 4.2 8 1.8l2.5 2.4" fill="none" stroke="currentColor" stroke-width="1.3" stroke-linejoin="round" stroke-linecap="round"/>)"}},
        {QStringLiteral("square.and.arrow.down"), {nullptr,
            R"(<path d="M5.3 6.5H3.5v7.5h9V6.5h-1.8M8 1.8v8M5.5 7.4 8 9.8l2.5-2.4" fill="none" stroke="currentColor" stroke-width="1.3" stroke-linejoin="round" stroke-linecap="round"/>)"}},
        {QStringLiteral("plus"), {"list-add-symbolic",
            R"(<path d="M8 2.5v11M2.5 8h11" stroke="currentColor" stroke-width="1.4" stroke-linecap="round"/>)"}},
    };
    return table;
}
// clang-format on

QPixmap tinted(QPixmap pixmap, const QColor& color) {
    QPainter painter(&pixmap);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(pixmap.rect(), color);
    return pixmap;
}

} // namespace

bool hasSymbol(const QString& name) {
    return drawings().contains(name);
}

QPixmap symbolPixmap(const QString& name, const QColor& color, int points, qreal dpr) {
    const int side = int(std::ceil(points * dpr));
    const auto found = drawings().constFind(name);
    if (found == drawings().constEnd() || side <= 0)
        return {};
    if (found->themeName && QIcon::hasThemeIcon(QString::fromLatin1(found->themeName))) {
        QPixmap fromTheme =
            QIcon::fromTheme(QString::fromLatin1(found->themeName)).pixmap(QSize(side, side), 1.0);
        if (!fromTheme.isNull()) {
            fromTheme = tinted(fromTheme, color);
            fromTheme.setDevicePixelRatio(dpr);
            return fromTheme;
        }
    }
    QByteArray svg = QByteArrayLiteral(
        R"(<svg xmlns="http://www.w3.org/2000/svg" width="16" height="16" viewBox="0 0 16 16">)");
    svg += QByteArray(found->svg).replace("currentColor", color.name(QColor::HexRgb).toLatin1());
    svg += "</svg>";
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(svg);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(color.alphaF());
    renderer.render(&painter, QRectF(0, 0, side, side));
    painter.end();
    pixmap.setDevicePixelRatio(dpr);
    return pixmap;
}

void paintSymbol(QPainter& painter, const QRectF& rect, const QString& name, const QColor& color,
                 int points) {
    const qreal dpr = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const QPixmap pixmap = symbolPixmap(name, color, points, dpr);
    if (pixmap.isNull())
        return;
    const QRectF target(rect.center().x() - points / 2.0, rect.center().y() - points / 2.0, points,
                        points);
    painter.drawPixmap(target, pixmap, QRectF(pixmap.rect()));
}

} // namespace velmor::ui
