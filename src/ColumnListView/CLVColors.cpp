// SPDX-License-Identifier: GPL-3.0-or-later
#include "ColumnListView/CLVColors.h"

#include <QGuiApplication>
#include <QPalette>

namespace {

kit::Color FromQt(const QColor& color) {
    const QColor rgb = color.toRgb();
    return {static_cast<uint8_t>(rgb.red()), static_cast<uint8_t>(rgb.green()),
            static_cast<uint8_t>(rgb.blue()), static_cast<uint8_t>(rgb.alpha())};
}

CLVColors ColorsOf(const QPalette& palette) {
    if (palette.color(QPalette::Window).lightness() >=
        palette.color(QPalette::WindowText).lightness()) {
        return kLightCLVColors;
    }
    return {FromQt(palette.color(QPalette::Button)),
            FromQt(palette.color(QPalette::Midlight)),
            FromQt(palette.color(QPalette::Mid)),
            FromQt(palette.color(QPalette::Shadow)),
            FromQt(palette.color(QPalette::Window)),
            FromQt(palette.color(QPalette::Highlight)),
            FromQt(palette.color(QPalette::ButtonText)),
            FromQt(palette.color(QPalette::Base)),
            FromQt(palette.color(QPalette::Highlight)),
            FromQt(palette.color(QPalette::Text)),
            FromQt(palette.color(QPalette::HighlightedText))};
}

} // namespace

const CLVColors& ListColors() {
    // Worked out again only when the palette changes: every cell asks while it draws.
    static CLVColors colors = kLightCLVColors;
    static qint64 paletteKey = 0;
    const QPalette palette = QGuiApplication::palette();
    if (palette.cacheKey() != paletteKey) {
        paletteKey = palette.cacheKey();
        colors = ColorsOf(palette);
    }
    return colors;
}
