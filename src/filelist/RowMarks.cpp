// SPDX-License-Identifier: GPL-3.0-or-later
#include "filelist/RowMarks.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace {

constexpr int kWidth = 11;
constexpr int kHeight = 12;
// Rows of palette images are padded to four bytes.
constexpr int kBytesPerRow = 12;

using Picture = std::array<const char*, kHeight>;

// ' ' is transparent, 'K' a dark brown outline, 'Y' amber, 'D' a dark red outline, 'R' red,
// 'W' white.
constexpr Picture kWarning = {
    "     K     ", "    KYK    ", "    KYK    ", "   KYYYK   ", "   KYKYK   ", "  KYYKYYK  ",
    "  KYYKYYK  ", " KYYYKYYYK ", " KYYYYYYYK ", "KYYYYKYYYYK", "KKKKKKKKKKK", "           ",
};
constexpr Picture kFailure = {
    "   DDDDD   ", "  DRRRRRD  ", " DRRRRRRRD ", "DRRWRRRWRRD", "DRRRWRWRRRD", "DRRRRWRRRRD",
    "DRRRWRWRRRD", "DRRWRRRWRRD", " DRRRRRRRD ", "  DRRRRRD  ", "   DDDDD   ", "           ",
};

uint8_t IndexOf(char c) {
    switch (c) {
    case 'K':
        return 0;
    case 'Y':
        return 1;
    case 'R':
        return 2;
    case 'W':
        return 3;
    case 'D':
        return 4;
    default:
        return kit::B_TRANSPARENT_MAGIC_CMAP8;
    }
}

kit::Bitmap Make(const Picture& picture) {
    std::array<uint8_t, static_cast<std::size_t>(kBytesPerRow * kHeight)> pixels{};
    pixels.fill(kit::B_TRANSPARENT_MAGIC_CMAP8);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            pixels[static_cast<std::size_t>(y) * kBytesPerRow + x] = IndexOf(picture[y][x]);
        }
    }
    kit::Palette palette = kit::SystemPalette();
    palette[0] = qRgb(64, 40, 0);
    palette[1] = qRgb(250, 190, 20);
    palette[2] = qRgb(210, 30, 30);
    palette[3] = qRgb(255, 255, 255);
    palette[4] = qRgb(110, 0, 0);
    palette[kit::B_TRANSPARENT_MAGIC_CMAP8] = qRgba(0, 0, 0, 0);
    return {kit::Rect(0, 0, kWidth - 1, kHeight - 1), pixels.data(),
            static_cast<int32_t>(pixels.size()), palette};
}

} // namespace

const kit::Bitmap& ClashMark() {
    static const kit::Bitmap mark = Make(kWarning);
    return mark;
}

const kit::Bitmap& FailureMark() {
    static const kit::Bitmap mark = Make(kFailure);
    return mark;
}
