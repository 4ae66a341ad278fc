// SPDX-License-Identifier: GPL-3.0-or-later
#include "ColumnListView/CLVGeometry.h"

#include <algorithm>
#include <cmath>

float LayOutColumns(const std::vector<CLVColumn*>& displayOrder) {
    float x = -1.0f;
    bool passOn = false;
    for (CLVColumn* column : displayOrder) {
        column->indented = passOn;
        if (!column->IsShown()) {
            continue;
        }
        column->columnStart = x + 1.0f;
        column->columnEnd = column->columnStart + column->width;
        x = column->columnEnd;
        if (passOn && !(column->flags & CLV_COL_PASS_INDENT)) {
            passOn = false;
        }
        if (column->flags & CLV_COL_EXPANDER) {
            passOn = true;
        }
    }
    return std::max(x, 0.0f);
}

float IndentationLimit(const std::vector<CLVColumn*>& displayOrder, float fallback) {
    float limit = fallback;
    for (const CLVColumn* column : displayOrder) {
        if (column->IsShown() && ((column->Flags() & CLV_COL_EXPANDER) || column->IsIndented())) {
            limit = column->ColumnEnd();
        }
    }
    return limit;
}

kit::Rect ColumnCellFrame(const CLVColumn& column, float indent, float limit, float top,
                          float bottom) {
    const float start = column.ColumnStart();
    const float end = column.ColumnEnd();
    if (column.Flags() & CLV_COL_EXPANDER) {
        return {start, top, std::min(end + indent, limit), bottom};
    }
    if (column.IsIndented()) {
        const float right = indent > 0.0f ? std::min(end + indent, limit) : end + indent;
        return {start + indent, top, right, bottom};
    }
    return {start, top, end, bottom};
}

kit::Rect ExpanderArrowRect(const kit::Rect& cell, float columnEnd, float indent) {
    const float v = std::ceil((cell.Height() - kArrowSize) * 0.5f);
    const float x = columnEnd + indent - 3.0f - kArrowSize;
    if (x > cell.right) {
        return kNoRect;
    }
    const float excess = std::max(0.0f, x + kArrowSize - cell.right);
    return {x, cell.top + v, x + kArrowSize - excess, cell.top + v + kArrowSize};
}
