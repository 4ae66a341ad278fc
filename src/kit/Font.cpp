// SPDX-License-Identifier: GPL-3.0-or-later
#include "kit/Font.h"

#include <QString>
#include <cstring>

namespace kit {

Font::Font(const QFont& f) : font(f), metrics(f) {}

float Font::StringWidth(const char* text) const {
    return text ? StringWidth(text, static_cast<int32_t>(std::strlen(text))) : 0.0f;
}

float Font::StringWidth(const char* text, int32_t length) const {
    if (!text || length <= 0) {
        return 0.0f;
    }
    return static_cast<float>(metrics.horizontalAdvance(QString::fromUtf8(text, length)));
}

void Font::GetStringWidths(const char* const* strings, int32_t count, float* widths) const {
    for (int32_t i = 0; i < count; i++) {
        widths[i] = StringWidth(strings[i]);
    }
}

void Font::GetHeight(FontHeight* height) const {
    height->ascent = static_cast<float>(metrics.ascent());
    height->descent = static_cast<float>(metrics.descent());
    height->leading = static_cast<float>(metrics.leading());
}

} // namespace kit
