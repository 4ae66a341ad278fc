// SPDX-License-Identifier: GPL-3.0-or-later
#include "ColumnListView/CLVColumnLabelView.h"

#include "ColumnListView/CLVColors.h"
#include "ColumnListView/ColumnListView.h"

#include <algorithm>
#include <cmath>

namespace {

// How close to a column edge (in pixels) a press resizes, and how far a label must be dragged
// before it moves.
constexpr float kEdgeSlop = 2.0f;

bool Has(const CLVColumn* column, uint32_t flag) {
    return column && (column->Flags() & flag) != 0;
}

} // namespace

CLVColumnLabelView::CLVColumnLabelView(kit::Rect frame, ColumnListView* list, const QFont& font)
    : owner(list) {
    setFont(font);
    setGeometry(kit::ToQRect(frame));
    SetViewColor(ListColors().face);
    kit::FontHeight height;
    GetFont().GetHeight(&height);
    fontAscent = std::ceil(height.ascent);
}

void CLVColumnLabelView::UpdateDragGroups() {
    dragGroups = MakeDragGroups(owner->displayOrder);
    if (gesture != Gesture::Idle) {
        SetSnapMinMax();
    }
}

void CLVColumnLabelView::SetSnapMinMax() {
    const std::vector<CLVColumn*>& order = owner->displayOrder;
    const auto it = std::find(order.begin(), order.end(), pressedColumn);
    limits = FindDragLimits(dragGroups, static_cast<int32_t>(it - order.begin()));
}

kit::Rect CLVColumnLabelView::InnerRect(const CLVColumn* column) const {
    const kit::Rect b = Bounds();
    return {column->ColumnStart() + 1.0f, b.top + 1.0f, column->ColumnEnd() - 1.0f,
            b.bottom - 1.0f};
}

bool CLVColumnLabelView::IsJoinedRight(size_t position) const {
    const std::vector<CLVColumn*>& order = owner->displayOrder;
    if (!Has(order[position], CLV_COL_JOIN_HEADER)) {
        return false;
    }
    for (size_t next = position + 1; next < order.size(); next++) {
        if (order[next]->IsShown()) {
            return true;
        }
        if (!Has(order[next], CLV_COL_JOIN_HEADER)) {
            return false;
        }
    }
    return false;
}

void CLVColumnLabelView::PaletteChanged() {
    SetViewColor(ListColors().face);
    Invalidate();
}

void CLVColumnLabelView::Draw(kit::Painter& painter, kit::Rect updateRect) {
    const kit::Rect b = Bounds();
    const std::vector<CLVColumn*>& order = owner->displayOrder;
    bool joinedLeft = false;
    float lastEnd = -1.0f;
    for (size_t i = 0; i < order.size(); i++) {
        CLVColumn* column = order[i];
        if (!column->IsShown()) {
            continue;
        }
        const bool joinedRight = IsJoinedRight(i);
        const kit::Rect cell(column->ColumnStart(), b.top, column->ColumnEnd(), b.bottom);
        if (cell.Intersects(updateRect)) {
            DrawCell(painter, column, joinedLeft, joinedRight);
        }
        joinedLeft = joinedRight;
        lastEnd = column->ColumnEnd();
    }

    // The area right of the last column is an empty cell.
    const float x0 = lastEnd + 1.0f;
    if (lastEnd < b.right && kit::Rect(x0, b.top, b.right, b.bottom).Intersects(updateRect)) {
        painter.BeginLineArray(4);
        painter.AddLine({x0, b.top}, {b.right, b.top}, ListColors().lightEdge);
        painter.AddLine({x0, b.top + 1.0f}, {x0, b.bottom}, ListColors().lightEdge);
        painter.AddLine({x0 + 1.0f, b.bottom - 1.0f}, {b.right, b.bottom - 1.0f},
                        ListColors().innerShadow);
        painter.AddLine({x0, b.bottom}, {b.right, b.bottom}, ListColors().darkEdge);
        painter.EndLineArray();
    }

    if (gesture == Gesture::Dragging) {
        const auto [left, right] = OutlineAt(lastPoint.x);
        painter.BeginLineArray(4);
        painter.AddLine({left, b.top}, {right, b.top}, ListColors().highlight);
        painter.AddLine({left, b.bottom}, {right, b.bottom}, ListColors().highlight);
        painter.AddLine({left, b.top + 1.0f}, {left, b.bottom - 1.0f}, ListColors().highlight);
        painter.AddLine({right, b.top + 1.0f}, {right, b.bottom - 1.0f}, ListColors().highlight);
        painter.EndLineArray();
    }
}

void CLVColumnLabelView::DrawCell(kit::Painter& painter, CLVColumn* column, bool joinedLeft,
                                  bool joinedRight) {
    const kit::Rect b = Bounds();
    const float s = column->ColumnStart();
    const float e = column->ColumnEnd();
    const float top = b.top;
    const float bottom = b.bottom;
    const bool edgePressed = column == pressedColumn && gesture == Gesture::Resizing;
    const float r = joinedRight && !edgePressed ? e : e - 1.0f;

    painter.BeginLineArray(9);
    painter.AddLine({s, top}, {r, top}, ListColors().lightEdge);
    if (!joinedLeft) {
        painter.AddLine({s, top + 1.0f}, {s, bottom}, ListColors().lightEdge);
    }
    painter.AddLine({s + 1.0f, bottom - 1.0f}, {r, bottom - 1.0f}, ListColors().innerShadow);
    painter.AddLine({s, bottom}, {r, bottom}, ListColors().darkEdge);
    if (edgePressed) {
        painter.AddLine({s - 1.0f, top + 1.0f}, {s - 1.0f, bottom - 2.0f}, ListColors().face);
        painter.AddLine({e, top}, {e, bottom}, ListColors().highlight);
    } else if (!joinedRight) {
        painter.AddLine({e - 1.0f, top + 1.0f}, {e - 1.0f, bottom - 1.0f},
                        ListColors().innerShadow);
        painter.AddLine({e, top}, {e, bottom}, ListColors().darkEdge);
    }
    painter.EndLineArray();

    const std::vector<CLVColumn*>& keys = owner->SortKeys();
    const bool sortKey = column->SortMode() != CLVSortNone &&
                         std::find(keys.begin(), keys.end(), column) != keys.end();
    const bool pressed = column == pressedColumn && gesture != Gesture::Resizing;
    const kit::Rect inner = InnerRect(column);
    painter.ConstrainClippingRegion(&inner);
    column->DrawColumnHeader(painter, inner, sortKey, pressed, fontAscent);
    painter.ConstrainClippingRegion(nullptr);
}

void CLVColumnLabelView::MouseDown(const kit::MouseEvent& event) {
    if (gesture != Gesture::Idle && event.buttons != kit::B_PRIMARY_MOUSE_BUTTON) {
        Abandon();
        return;
    }
    if (event.buttons != kit::B_PRIMARY_MOUSE_BUTTON) {
        return;
    }
    if (gesture != Gesture::Idle) {
        Invalidate();
        Reset();
    }
    const float x = event.where.x;
    CLVColumn* previous = nullptr;
    for (CLVColumn* column : owner->displayOrder) {
        if (!column->IsShown()) {
            continue;
        }
        const float s = column->ColumnStart();
        const float e = column->ColumnEnd();
        if (x < s || x > e) {
            previous = column;
            continue;
        }
        // Near the left edge the press takes the column to the left (none for the first).
        CLVColumn* resized = x <= s + kEdgeSlop ? previous : x >= e - kEdgeSlop ? column : nullptr;
        if (x > s + kEdgeSlop && x < e - kEdgeSlop) {
            StartPress(column, event.where);
        } else if (resized && !Has(resized, CLV_COL_FIXED_WIDTH)) {
            StartResize(resized, event.where);
        }
        return;
    }
}

void CLVColumnLabelView::StartPress(CLVColumn* column, kit::Point where) {
    pressedColumn = column;
    gesture = Gesture::Pressed;
    lastPoint = downPoint = where;
    SetSnapMinMax();
    grabOffset = where.x - dragGroups[static_cast<size_t>(limits.pressed)].left;
    Invalidate(InnerRect(column));
}

void CLVColumnLabelView::StartResize(CLVColumn* column, kit::Point where) {
    pressedColumn = column;
    gesture = Gesture::Resizing;
    lastPoint = downPoint = where;
    resizeGrabOffset = where.x - column->ColumnEnd();
    const kit::Rect b = Bounds();
    Invalidate(kit::Rect(column->ColumnEnd() - 1.0f, b.top, column->ColumnEnd(), b.bottom));
}

void CLVColumnLabelView::MouseMoved(const kit::MouseEvent& event) {
    if (gesture == Gesture::Idle || event.buttons == 0) {
        return;
    }
    if (event.buttons != kit::B_PRIMARY_MOUSE_BUTTON) {
        Abandon();
        return;
    }
    Follow(event.where.x);
    lastPoint = event.where;
}

void CLVColumnLabelView::MouseUp(const kit::MouseEvent& event) {
    if (gesture == Gesture::Idle) {
        return;
    }
    if (event.buttons != 0) {
        Abandon();
        return;
    }
    lastPoint = event.where;
    Release(event.modifiers);
}

void CLVColumnLabelView::Follow(float x) {
    if (gesture == Gesture::Resizing) {
        if (x != lastPoint.x) {
            const float width = std::max(x - resizeGrabOffset - pressedColumn->ColumnStart(),
                                         pressedColumn->MinWidth());
            if (width != pressedColumn->Width()) {
                pressedColumn->SetWidth(width);
            }
        }
        return;
    }
    if (gesture == Gesture::Pressed &&
        (x < downPoint.x - kEdgeSlop || x > downPoint.x + kEdgeSlop)) {
        if (dragGroups[static_cast<size_t>(limits.pressed)].flags & CLV_COL_FIXED_POSITION) {
            // The group may not move: the press is dropped and its release does nothing.
            const kit::Rect b = Bounds();
            Invalidate(kit::Rect(pressedColumn->ColumnStart(), b.top, pressedColumn->ColumnEnd(),
                                 b.bottom));
            Reset();
            return;
        }
        gesture = Gesture::Dragging;
        outlineLeft = outlineRight = -1.0f;
    }
    if (gesture == Gesture::Dragging && x != lastPoint.x) {
        while (SnapOnce(x)) {
        }
        InvalidateOutline(outlineLeft, outlineRight);
        std::tie(outlineLeft, outlineRight) = OutlineAt(x);
        InvalidateOutline(outlineLeft, outlineRight);
    }
}

bool CLVColumnLabelView::SnapOnce(float x) {
    const DragGroup pressed = dragGroups[static_cast<size_t>(limits.pressed)];
    const auto joins = [](const DragGroup& g) { return Has(g.lastShown, CLV_COL_JOIN_HEADER); };
    if (limits.snapMin && x < *limits.snapMin) {
        const DragGroup left = dragGroups[static_cast<size_t>(limits.left)];
        ShiftDragGroup(limits.left);
        InvalidateSwap(left.left, pressed.right, joins(left) || joins(pressed), left.lastShown);
        return true;
    }
    if (limits.snapMax && x > *limits.snapMax) {
        const DragGroup right = dragGroups[static_cast<size_t>(limits.right)];
        ShiftDragGroup(limits.right + 1);
        InvalidateSwap(pressed.left, right.right, joins(right) || joins(pressed),
                       pressed.lastShown);
        return true;
    }
    return false;
}

void CLVColumnLabelView::ShiftDragGroup(int32_t before) {
    owner->displayOrder = MoveDragGroup(owner->displayOrder, dragGroups, limits.pressed, before);
    owner->UpdateColumnSizesDataRectSizeScrollBars(true);
    UpdateDragGroups();
    const std::vector<int32_t> order = owner->DisplayOrder();
    owner->DisplayOrderChanged(order.data());
}

void CLVColumnLabelView::InvalidateSwap(float left, float right, bool joinedHeader,
                                        const CLVColumn* rightGroupLast) {
    const kit::Rect b = Bounds();
    Invalidate(kit::Rect(left, b.top, right + (joinedHeader ? 1.0f : 0.0f), b.bottom));

    // Rows indent the columns that follow the expander column, so their cells reach past the
    // group's columns into the indented columns after it.
    float listRight = right;
    const std::vector<CLVColumn*>& order = owner->displayOrder;
    if (Has(rightGroupLast, CLV_COL_EXPANDER) ||
        (rightGroupLast->IsIndented() && Has(rightGroupLast, CLV_COL_PASS_INDENT))) {
        auto it = std::find(order.begin(), order.end(), rightGroupLast);
        for (++it; it != order.end(); ++it) {
            if (!(*it)->IsShown()) {
                continue;
            }
            if (!(*it)->IsIndented()) {
                break;
            }
            listRight = (*it)->ColumnEnd();
        }
    }
    const kit::Rect lb = owner->Bounds();
    owner->Invalidate(kit::Rect(left, lb.top, listRight, lb.bottom));
}

std::pair<float, float> CLVColumnLabelView::OutlineAt(float x) const {
    const DragGroup& group = dragGroups[static_cast<size_t>(limits.pressed)];
    float left = x - grabOffset;
    if ((left < group.left && limits.left < 0) || (left > group.left && limits.right < 0)) {
        left = group.left;
    }
    return {left, left + limits.groupWidth};
}

void CLVColumnLabelView::InvalidateOutline(float left, float right) {
    const kit::Rect b = Bounds();
    Invalidate(kit::Rect(left, b.top, right, b.top));
    Invalidate(kit::Rect(left, b.bottom, right, b.bottom));
    Invalidate(kit::Rect(left, b.top + 1.0f, left, b.bottom - 1.0f));
    Invalidate(kit::Rect(right, b.top + 1.0f, right, b.bottom - 1.0f));
}

void CLVColumnLabelView::Release(uint32_t modifiers) {
    CLVColumn* column = pressedColumn;
    const Gesture ended = gesture;
    const kit::Rect b = Bounds();
    if (ended == Gesture::Resizing) {
        // The pressed edge covered the line left of the column too.
        Invalidate(kit::Rect(column->ColumnStart() - 1.0f, b.top, column->ColumnEnd(), b.bottom));
    } else if (ended == Gesture::Dragging) {
        InvalidateOutline(outlineLeft, outlineRight);
    }
    Invalidate(InnerRect(column));
    Reset();
    if (ended == Gesture::Pressed && Has(column, CLV_COL_SORTABLE)) {
        ClickLabel(column, modifiers);
    }
}

void CLVColumnLabelView::ClickLabel(CLVColumn* column, uint32_t modifiers) {
    const int32_t index = owner->IndexOfColumn(column);
    const std::vector<CLVColumn*>& keys = owner->SortKeys();
    if (modifiers & kit::B_SHIFT_KEY) {
        if (std::find(keys.begin(), keys.end(), column) == keys.end()) {
            owner->AddSortKey(index);
        } else {
            owner->ReverseSortMode(index);
        }
    } else if (keys.empty() || keys.front() != column) {
        owner->SetSortKey(index);
    } else {
        owner->ReverseSortMode(index);
    }
}

void CLVColumnLabelView::Abandon() {
    const kit::Rect b = Bounds();
    if (gesture == Gesture::Resizing) {
        Invalidate(kit::Rect(pressedColumn->ColumnStart() - 1.0f, b.top, pressedColumn->ColumnEnd(),
                             b.bottom));
    } else if (gesture == Gesture::Dragging) {
        InvalidateOutline(outlineLeft, outlineRight);
    }
    Invalidate(InnerRect(pressedColumn));
    Reset();
}

void CLVColumnLabelView::CancelGesture() {
    if (gesture != Gesture::Idle) {
        // The pressed label, edge or drag outline goes; the columns may have moved under them.
        Invalidate();
        Reset();
    }
}

void CLVColumnLabelView::Reset() {
    gesture = Gesture::Idle;
    pressedColumn = nullptr;
}
