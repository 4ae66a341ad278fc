// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Where a help bubble goes, how large it is and how long it stays: plain arithmetic, kept apart
// from the window so that it is checked without a display.

#include "kit/Geometry.h"

#include <cstddef>
#include <vector>

// The room a text needs: the width of its widest line and the height of all its lines with the
// margin above and below.
struct BubbleSize {
    float width = 0.0f;
    float height = 0.0f;
    bool operator==(const BubbleSize&) const = default;
};

// The widest of the line widths, each cut to whole pixels, and the lines' height plus 4.
BubbleSize BubbleTextSize(const std::vector<float>& lineWidths, float lineHeight);

// The bubble's frame on the screen, edges included: 20 below the pointer; above it (its bottom 4
// above the pointer) when it would come within 3 of the screen's bottom; shifted left to end at
// the screen's right edge when it would pass it. The frame is 4 wider than the text.
kit::Rect BubbleFrame(kit::Point pointer, BubbleSize size, const kit::Rect& screen);

// How many polls of a tenth of a second a text stays up: one more than its length in bytes,
// where a shorter text counts as 20.
int BubbleTicks(std::size_t textBytes);
