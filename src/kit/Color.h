// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <cstdint>

namespace kit {

// A colour with alpha, as the drawing code names its colours.
struct Color {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t alpha = 255;

    constexpr bool operator==(const Color&) const = default;
    QColor ToQColor() const { return {red, green, blue, alpha}; }
};

// The view colour of a view that is not erased before it draws.
inline constexpr Color B_TRANSPARENT_COLOR{0x77, 0x74, 0x77, 0x00};

} // namespace kit
