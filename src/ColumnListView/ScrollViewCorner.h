// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "kit/View.h"

// The square between a vertical and a horizontal scroll bar, drawn as a raised bevel.
class ScrollViewCorner : public kit::View {
public:
    // A 14 x 14 square whose left-top pixel is (left + 1, top + 1) of the parent.
    ScrollViewCorner(float left, float top, QWidget* parent = nullptr);

protected:
    void Draw(kit::Painter& painter, kit::Rect updateRect) override;
};
