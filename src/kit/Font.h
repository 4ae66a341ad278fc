// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <cstdint>

namespace kit {

struct FontHeight {
    float ascent = 0.0f;
    float descent = 0.0f;
    float leading = 0.0f;
};

// A font with the measurements the drawing code asks for. Texts are UTF-8. Measuring is
// virtual so that tests can measure with a font of their own.
class Font {
public:
    explicit Font(const QFont& font = QFont());
    virtual ~Font() = default;
    Font(const Font&) = default;
    Font& operator=(const Font&) = default;

    float StringWidth(const char* text) const;
    virtual float StringWidth(const char* text, int32_t length) const;
    // Measures each of the strings into widths[i].
    void GetStringWidths(const char* const* strings, int32_t count, float* widths) const;
    void GetHeight(FontHeight* height) const;

    const QFont& ToQFont() const { return font; }

private:
    QFont font;
    QFontMetricsF metrics;
};

} // namespace kit
