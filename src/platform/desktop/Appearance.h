#pragma once

#include "core/model/SettingsEnums.h"

#include <QColor>
#include <QDBusVariant>
#include <QObject>
#include <QPalette>

#include <optional>

namespace velmor {

// Light or dark as the desktop asks: the portal's org.freedesktop.appearance color-scheme
// (followed through its change signal), else the lightness of the Qt style's own palette.
class SystemAppearance final : public QObject {
    Q_OBJECT
public:
    static SystemAppearance& shared();
    SystemAppearance();

    bool prefersDark() const;
    // The portal's answer: 1 prefer dark, 2 prefer light, 0 no preference; none without one.
    std::optional<uint> colorScheme() const { return scheme_; }

signals:
    void changed();

private slots:
    void settingChanged(const QString& group, const QString& key, const QDBusVariant& value);

private:
    void read();

    std::optional<uint> scheme_;
};

// Our own palettes, with the theme's accent as highlight (the tint of standard controls).
QPalette lightPalette(const QColor& accent);
QPalette darkPalette(const QColor& accent);
// The palette an appearance mode gives: system follows SystemAppearance.
QPalette paletteFor(AppearanceMode mode, const QColor& accent);

} // namespace velmor
