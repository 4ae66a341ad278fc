// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ColumnListView/CLVDragGroups.h"
#include "kit/View.h"

class ColumnListView;

// The header row above a ColumnListView: a bevelled cell per shown column, in display order,
// with the column's label, underlined for a sort key. The mouse sorts, resizes and moves
// columns: a click on a sortable label makes its column the sort key or reverses it (with
// Shift it adds a secondary key or reverses one); a press within 2 pixels of a column's right
// edge resizes the column; dragging a label more than 2 pixels moves its drag group through
// the display order. The header scrolls sideways with the list.
//
// While a button is held, Qt's implicit grab delivers the moves and the release to the header
// wherever the pointer goes; a second button abandons the gesture.
class CLVColumnLabelView : public kit::View {
public:
    enum class Gesture {
        Idle,
        // A label is pressed; a release is a click.
        Pressed,
        // The pressed column's right edge follows the pointer.
        Resizing,
        // The pressed column's drag group follows the pointer.
        Dragging,
    };

    // `frame` in the container's coordinates; the header is as tall as it.
    CLVColumnLabelView(kit::Rect frame, ColumnListView* list, const QFont& font);

    // The font's ascent, rounded up: labels stand on a baseline this far below a cell's top + 1.
    float FontAscent() const { return fontAscent; }

    // Rebuilds the drag groups from the list's columns; called whenever columns, widths,
    // visibility or order change.
    void UpdateDragGroups();
    // Drops the gesture in progress, without its effect; the list calls it whenever a column is
    // added, removed, shown, hidden or moved by the program.
    void CancelGesture();
    Gesture CurrentGesture() const { return gesture; }
    // The column being pressed, resized or dragged; null while idle.
    CLVColumn* PressedColumn() const { return pressedColumn; }

protected:
    void Draw(kit::Painter& painter, kit::Rect updateRect) override;
    void PaletteChanged() override;
    void MouseDown(const kit::MouseEvent& event) override;
    void MouseMoved(const kit::MouseEvent& event) override;
    void MouseUp(const kit::MouseEvent& event) override;

private:
    void DrawCell(kit::Painter& painter, CLVColumn* column, bool joinedLeft, bool joinedRight);
    // Whether a shown column follows the one at `position` with only hidden columns between
    // that are joined as well, so that the column's cell runs on into the next one.
    bool IsJoinedRight(size_t position) const;

    void StartPress(CLVColumn* column, kit::Point where);
    void StartResize(CLVColumn* column, kit::Point where);
    // The pointer moved to x with the primary button held.
    void Follow(float x);
    void Release(uint32_t modifiers);
    void Abandon();
    void Reset();
    void ClickLabel(CLVColumn* column, uint32_t modifiers);

    // Recomputes where the pressed group may move.
    void SetSnapMinMax();
    // Moves the pressed group to stand before group `before`.
    void ShiftDragGroup(int32_t before);
    // One place left or right when the pointer passed the threshold; false when neither.
    bool SnapOnce(float x);
    // Redraws the header from `left` to `right` (and the list, where indented cells reach
    // further) after two groups changed places; `rightGroupLast` is the last shown column of the
    // group now on the right.
    void InvalidateSwap(float left, float right, bool joinedHeader,
                        const CLVColumn* rightGroupLast);

    // The drag outline's left and right edges for the pointer at x: it follows the pointer but
    // never leaves the group's place towards a side it may not move to.
    std::pair<float, float> OutlineAt(float x) const;
    void InvalidateOutline(float left, float right);
    kit::Rect InnerRect(const CLVColumn* column) const;

    ColumnListView* owner;
    float fontAscent;
    Gesture gesture = Gesture::Idle;
    CLVColumn* pressedColumn = nullptr;
    kit::Point lastPoint;
    kit::Point downPoint;
    std::vector<DragGroup> dragGroups;
    DragLimits limits;
    // Pointer x minus the pressed group's left edge at the press.
    float grabOffset = 0.0f;
    // Pointer x minus the resized column's end at the press.
    float resizeGrabOffset = 0.0f;
    // The drag outline as last placed.
    float outlineLeft = -1.0f;
    float outlineRight = -1.0f;
};
