// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ColumnListView/CLVColumn.h"

#include <optional>
#include <vector>

// A run of columns, in display order, that the user drags as one: a column joins the group of
// the column before it when that one has CLV_COL_DRAG_WITH_NEXT.
struct DragGroup {
    // Positions in the display order of its first and last column.
    int32_t firstIndex = 0;
    int32_t lastIndex = 0;
    // Start of its first shown column and end of its last; -1 when none is shown.
    float left = -1.0f;
    float right = -1.0f;
    CLVColumn* lastShown = nullptr;
    bool allPinLeft = true;
    bool allPinRight = true;
    bool hasShown = false;
    // The CLV_COL_FIXED_POSITION, CLV_COL_PIN_LEFT and CLV_COL_PIN_RIGHT bits of its columns.
    uint32_t flags = 0;
};

// The groups covering the display order, left to right.
std::vector<DragGroup> MakeDragGroups(const std::vector<CLVColumn*>& displayOrder);

// Where a pressed group may move: one place left or right past the nearest group with a shown
// column, when the pins allow. Pinned-left groups keep left of the others and pinned-right
// groups right of them; neither lets another group pass it.
struct DragLimits {
    int32_t pressed = -1;
    // The neighbour the group may pass on that side, -1 when there is none or it may not.
    int32_t left = -1;
    int32_t right = -1;
    float groupWidth = 0.0f;
    // The pointer x beyond which the group moves one place left or right.
    std::optional<float> snapMin;
    std::optional<float> snapMax;
};

// The limits for the group holding the column at `position` in the display order.
DragLimits FindDragLimits(const std::vector<DragGroup>& groups, int32_t position);

// The display order with the columns of group `moved` taken out and put back before group
// `before` (after the last group when `before` is the number of groups).
std::vector<CLVColumn*> MoveDragGroup(const std::vector<CLVColumn*>& displayOrder,
                                      const std::vector<DragGroup>& groups, int32_t moved,
                                      int32_t before);
