// SPDX-License-Identifier: GPL-3.0-or-later
#include "bubblehelp/BubbleGeometry.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kBelowPointer = 20.0f;
constexpr float kBottomClearance = 3.0f;
// Moving up by the height and this much puts the bottom 4 above the pointer.
constexpr float kAbovePointer = 16.0f + 8.0f;
constexpr float kTextMargins = 4.0f;
constexpr std::size_t kShortestText = 20;

} // namespace

BubbleSize BubbleTextSize(const std::vector<float>& lineWidths, float lineHeight) {
    float widest = 0.0f;
    for (const float width : lineWidths) {
        widest = std::max(widest, std::trunc(width));
    }
    return {widest, lineHeight * static_cast<float>(lineWidths.size()) + kTextMargins};
}

kit::Rect BubbleFrame(kit::Point pointer, BubbleSize size, const kit::Rect& screen) {
    const float width = size.width + kTextMargins;
    float x = pointer.x;
    float y = pointer.y + kBelowPointer;
    if (y + size.height > screen.bottom - kBottomClearance) {
        y -= size.height + kAbovePointer;
    }
    if (x + width > screen.right) {
        x = screen.right - width;
    }
    return {x, y, x + width, y + size.height};
}

int BubbleTicks(std::size_t textBytes) {
    return static_cast<int>(std::max(textBytes, kShortestText)) + 1;
}
