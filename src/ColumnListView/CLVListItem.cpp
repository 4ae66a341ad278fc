// SPDX-License-Identifier: GPL-3.0-or-later
#include "ColumnListView/CLVListItem.h"

#include "ColumnListView/CLVGeometry.h"
#include "ColumnListView/ColumnListView.h"

#include <algorithm>

CLVListItem::CLVListItem(uint32_t outlineLevel, bool isSuperitem, bool isExpanded,
                         float minimumHeight)
    : kit::ListItem(outlineLevel, isExpanded), superitem(isSuperitem), minHeight(minimumHeight) {}

void CLVListItem::DrawItem(kit::Painter& painter, kit::View* owner, kit::Rect frame,
                           bool complete) {
    auto* list = dynamic_cast<ColumnListView*>(owner);
    if (!list) {
        return;
    }
    const std::vector<CLVColumn*>& order = list->DisplayOrderList();
    const float limit = IndentationLimit(order, frame.right);
    const float indent = static_cast<float>(OutlineLevel()) * kOutlineIndent;
    const auto meets = [&](const kit::Rect& r) {
        return complete ? r.Intersects(frame) : painter.Meets(r);
    };

    // Set again below while the expander column is shown and the row has an arrow.
    expanderButtonRect = kNoRect;
    expanderColumnRect = kNoRect;
    float lastEnd = -1.0f;
    for (CLVColumn* column : order) {
        if (!column->IsShown()) {
            continue;
        }
        lastEnd = column->ColumnEnd();
        const bool expander = (column->Flags() & CLV_COL_EXPANDER) != 0;
        const float d = expander || column->IsIndented() ? indent : 0.0f;
        const kit::Rect cell = ColumnCellFrame(*column, d, limit, frame.top, frame.bottom);
        const int32_t index = list->IndexOfColumn(column);
        if (expander) {
            expanderColumnRect = cell;
        }
        if (cell.left <= cell.right && meets(cell)) {
            DrawItemColumn(painter, list, cell, index, complete);
        }
        if (expander && superitem) {
            expanderButtonRect = ExpanderArrowRect(cell, column->ColumnEnd(), d);
            if (IsSet(expanderButtonRect)) {
                const kit::Bitmap& arrow =
                    IsExpanded() ? list->ExpandedArrow() : list->CollapsedArrow();
                painter.SetDrawingMode(kit::B_OP_OVER);
                painter.DrawBitmap(arrow,
                                   kit::Rect(0.0f, 0.0f, expanderButtonRect.Width(), kArrowSize),
                                   expanderButtonRect);
                painter.SetDrawingMode(kit::B_OP_COPY);
            }
        }
    }

    const kit::Rect rest(lastEnd + 1.0f, frame.top, list->Bounds().right, frame.bottom);
    if (rest.left <= rest.right && meets(rest)) {
        DrawItemColumn(painter, list, rest, -1, complete);
    }
}

void CLVListItem::Update(kit::View* owner, const kit::Font& font) {
    kit::ListItem::Update(owner, font);
    SetHeight(std::max(Height(), minHeight));
}

kit::Rect CLVListItem::ItemColumnFrame(int32_t column, const ColumnListView* owner) const {
    const CLVColumn* col = owner->ColumnAt(column);
    const int32_t row = owner->IndexOf(this);
    if (!col || !col->IsShown() || row < 0) {
        return kNoRect;
    }
    return owner->CellFrame(column, row);
}

float CLVListItem::ExpanderShift(int32_t column, const ColumnListView* owner) const {
    const CLVColumn* col = owner->ColumnAt(column);
    if (col && ((col->Flags() & CLV_COL_EXPANDER) || col->IsIndented())) {
        return static_cast<float>(OutlineLevel()) * kOutlineIndent;
    }
    return 0.0f;
}

void CLVListItem::ColumnWidthChanged(int32_t /*column*/, float /*width*/,
                                     ColumnListView* /*owner*/) {}

void CLVListItem::FrameChanged(int32_t /*column*/, kit::Rect /*frame*/, ColumnListView* /*owner*/) {
}
