#include "platform/desktop/Fonts.h"

#include "core/base/Log.h"
#include "core/base/Resources.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QStringList>

namespace velmor {

namespace {

struct LoadedFaces {
    QString regularFamily;
    QString italicFamily;
};

QString addFace(const QString& file) {
    const QString path = resourcePath(QStringLiteral("fonts/") + file);
    const int id = path.isEmpty() ? -1 : QFontDatabase::addApplicationFont(path);
    const QStringList families =
        id < 0 ? QStringList() : QFontDatabase::applicationFontFamilies(id);
    if (families.isEmpty()) {
        logLine(QStringLiteral("Font not loaded, using a system serif: ") + file);
        return {};
    }
    return families.first();
}

const LoadedFaces& faces() {
    static const LoadedFaces loaded = [] {
        LoadedFaces f;
        f.regularFamily = addFace(QStringLiteral("lora-latin-400-normal.woff2"));
        f.italicFamily = addFace(QStringLiteral("lora-latin-400-italic.woff2"));
        return f;
    }();
    return loaded;
}

} // namespace

void loadBundledFonts() {
    faces();
    // Opening the face is the slow part of the first layout; do it now, not as an overlay comes.
    QFontMetrics(loraItalic(36)).horizontalAdvance(QStringLiteral("Warm"));
}

QFont loraRegular(int pixelSize) {
    // Without the face the desktop's own font stands in.
    const QString& family = faces().regularFamily;
    QFont font = family.isEmpty() ? QFont() : QFont(family);
    font.setItalic(false);
    font.setWeight(QFont::Normal);
    font.setPixelSize(pixelSize);
    return font;
}

QFont loraItalic(int pixelSize) {
    const QString& family = faces().italicFamily;
    QFont font(family.isEmpty() ? QStringLiteral("serif") : family);
    font.setStyleHint(QFont::Serif);
    font.setItalic(true);
    font.setWeight(QFont::Normal);
    font.setPixelSize(pixelSize);
    return font;
}

} // namespace velmor
