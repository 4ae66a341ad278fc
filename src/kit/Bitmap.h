// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "kit/Geometry.h"

#include <QImage>
#include <QRgb>
#include <array>
#include <cstdint>
#include <vector>

namespace kit {

// The palette index that draws nothing.
inline constexpr uint8_t B_TRANSPARENT_MAGIC_CMAP8 = 0xff;

using Palette = std::array<QRgb, 256>;

// The standard 256-colour system palette that palette images index by default. Its last entry
// is the transparent index.
const Palette& SystemPalette();

// An 8-bit palette image: one byte per pixel, each an index into a 256-colour palette, rows
// padded to a multiple of 4 bytes. Pixels of index 255 are transparent.
class Bitmap {
public:
    // An image covering `frame` (edges included, so (0, 0, 10, 11) is 11 x 12 pixels) whose
    // pixels are copied from the first `length` bytes of `data`, row after row of BytesPerRow()
    // bytes; a length of 0 means the whole image. Pixels the data does not reach are
    // transparent, and so is an image without data.
    Bitmap(Rect frame, const uint8_t* data, int32_t length = 0,
           const Palette& palette = SystemPalette());

    Rect Bounds() const { return bounds; }
    int32_t BytesPerRow() const { return bytesPerRow; }
    int32_t BitsLength() const { return static_cast<int32_t>(bits.size()); }
    const uint8_t* Bits() const { return bits.data(); }
    // The palette index of the pixel at (x, y) of the image.
    uint8_t IndexAt(int32_t x, int32_t y) const;

    // The pixels as drawn: transparent pixels have alpha 0.
    const QImage& Image() const { return image; }

private:
    Rect bounds;
    int32_t width;
    int32_t height;
    int32_t bytesPerRow;
    std::vector<uint8_t> bits;
    QImage image;
};

} // namespace kit
