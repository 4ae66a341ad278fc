// SPDX-License-Identifier: GPL-3.0-or-later
#include "kit/Bitmap.h"

#include <gtest/gtest.h>

using namespace kit;

TEST(Bitmap, PaletteImageWithPaddedRowsAndATransparentIndex) {
    // 3 x 2 pixels: rows of 4 bytes, the fourth padding.
    const uint8_t bits[] = {0x00, 0x12, 0xff, 0xff, 0x2b, 0x3f, 0x00, 0xff};
    const Bitmap bitmap(Rect(0, 0, 2, 1), bits, sizeof bits);
    EXPECT_EQ(bitmap.Bounds(), Rect(0, 0, 2, 1));
    EXPECT_EQ(bitmap.BytesPerRow(), 4);
    EXPECT_EQ(bitmap.BitsLength(), 8);
    EXPECT_EQ(bitmap.IndexAt(1, 1), 0x3f);

    const QImage& image = bitmap.Image();
    ASSERT_EQ(image.size(), QSize(3, 2));
    EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(1, 0), qRgb(144, 144, 144)) << "system palette grey";
    EXPECT_EQ(qAlpha(image.pixel(2, 0)), 0) << "index 255 is transparent";
    EXPECT_EQ(image.pixel(0, 1), qRgb(228, 0, 0));
    EXPECT_EQ(image.pixel(1, 1), qRgb(255, 255, 255));
}

TEST(Bitmap, PixelsTheDataDoesNotReachAreTransparent) {
    const uint8_t bits[] = {0x00, 0x00};
    const Bitmap shortData(Rect(0, 0, 3, 1), bits, sizeof bits);
    EXPECT_EQ(shortData.IndexAt(1, 0), 0x00);
    EXPECT_EQ(shortData.IndexAt(2, 0), B_TRANSPARENT_MAGIC_CMAP8);
    EXPECT_EQ(shortData.IndexAt(0, 1), B_TRANSPARENT_MAGIC_CMAP8);

    const Bitmap empty(Rect(0, 0, 1, 1), nullptr);
    EXPECT_EQ(qAlpha(empty.Image().pixel(1, 1)), 0);
}

TEST(Bitmap, OwnPaletteAndCopies) {
    Palette palette{};
    palette[7] = qRgb(1, 2, 3);
    const uint8_t bits[] = {7, 0, 0, 0};
    const Bitmap bitmap(Rect(0, 0, 0, 0), bits, 0, palette);
    const Bitmap copy(bitmap);
    EXPECT_EQ(copy.Image().pixel(0, 0), qRgb(1, 2, 3));
    EXPECT_NE(copy.Bits(), bitmap.Bits());
}
