// SPDX-License-Identifier: GPL-3.0-or-later
#include "ColumnListView/CLVDragGroups.h"

#include <algorithm>

std::vector<DragGroup> MakeDragGroups(const std::vector<CLVColumn*>& displayOrder) {
    std::vector<DragGroup> groups;
    bool joinsPrevious = false;
    for (size_t i = 0; i < displayOrder.size(); i++) {
        const CLVColumn* column = displayOrder[i];
        const uint32_t flags = column->Flags();
        const auto position = static_cast<int32_t>(i);
        if (!joinsPrevious) {
            groups.push_back({position, position});
        }
        DragGroup& group = groups.back();
        group.lastIndex = position;
        if (column->IsShown()) {
            if (!group.hasShown) {
                group.left = column->ColumnStart();
            }
            group.right = column->ColumnEnd();
            group.lastShown = displayOrder[i];
            group.hasShown = true;
        }
        group.allPinLeft = group.allPinLeft && (flags & CLV_COL_PIN_LEFT);
        group.allPinRight = group.allPinRight && (flags & CLV_COL_PIN_RIGHT);
        group.flags |= flags & (CLV_COL_FIXED_POSITION | CLV_COL_PIN_LEFT | CLV_COL_PIN_RIGHT);
        joinsPrevious = (flags & CLV_COL_DRAG_WITH_NEXT) != 0;
    }
    return groups;
}

DragLimits FindDragLimits(const std::vector<DragGroup>& groups, int32_t position) {
    DragLimits limits;
    const auto count = static_cast<int32_t>(groups.size());
    for (int32_t g = 0; g < count; g++) {
        const DragGroup& group = groups[static_cast<size_t>(g)];
        if (position >= group.firstIndex && position <= group.lastIndex) {
            limits.pressed = g;
        }
    }
    if (limits.pressed < 0) {
        return limits;
    }
    const DragGroup& pressed = groups[static_cast<size_t>(limits.pressed)];
    limits.groupWidth = pressed.right - pressed.left;

    for (int32_t g = limits.pressed - 1; g >= 0; g--) {
        const DragGroup& left = groups[static_cast<size_t>(g)];
        if (left.hasShown) {
            const bool blocked = ((left.flags & CLV_COL_PIN_LEFT) && !pressed.allPinLeft) ||
                                 ((pressed.flags & CLV_COL_PIN_RIGHT) && !left.allPinRight);
            if (!blocked) {
                limits.left = g;
                limits.snapMin = std::min(left.left + limits.groupWidth, left.right);
            }
            break;
        }
    }
    for (int32_t g = limits.pressed + 1; g < count; g++) {
        const DragGroup& right = groups[static_cast<size_t>(g)];
        if (right.hasShown) {
            const bool blocked = ((right.flags & CLV_COL_PIN_RIGHT) && !pressed.allPinRight) ||
                                 ((pressed.flags & CLV_COL_PIN_LEFT) && !right.allPinLeft);
            if (!blocked) {
                limits.right = g;
                limits.snapMax = std::max(right.right - limits.groupWidth, right.left);
            }
            break;
        }
    }
    return limits;
}

std::vector<CLVColumn*> MoveDragGroup(const std::vector<CLVColumn*>& displayOrder,
                                      const std::vector<DragGroup>& groups, int32_t moved,
                                      int32_t before) {
    std::vector<CLVColumn*> order;
    order.reserve(displayOrder.size());
    const auto append = [&](const DragGroup& group) {
        order.insert(order.end(), displayOrder.begin() + group.firstIndex,
                     displayOrder.begin() + group.lastIndex + 1);
    };
    for (int32_t g = 0; g <= static_cast<int32_t>(groups.size()); g++) {
        if (g == before) {
            append(groups[static_cast<size_t>(moved)]);
        }
        if (g < static_cast<int32_t>(groups.size()) && g != moved) {
            append(groups[static_cast<size_t>(g)]);
        }
    }
    return order;
}
