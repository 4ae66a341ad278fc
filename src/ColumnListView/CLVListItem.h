// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ColumnListView/CLVColumn.h"
#include "kit/ListItem.h"

#include <QPointer>

class ColumnListView;

// A row of a ColumnListView: it knows its outline level and whether it is a superitem, splits
// itself into one cell per shown column (indenting the expander column and the indented columns
// by its level), draws the expander arrow of a superitem, and leaves each cell's drawing to a
// subclass.
class CLVListItem : public kit::ListItem {
public:
    explicit CLVListItem(uint32_t outlineLevel = 0, bool isSuperitem = false,
                         bool isExpanded = false, float minimumHeight = 0.0f);

    bool IsSuperItem() const { return superitem; }
    void SetSuperItem(bool isSuperitem) { superitem = isSuperitem; }
    float MinHeight() const { return minHeight; }
    // The arrow as last drawn, in list coordinates; kNoRect when none was drawn.
    kit::Rect ExpanderButtonRect() const { return expanderButtonRect; }
    // The expander-column cell as last laid out; kNoRect while that column is hidden.
    kit::Rect ExpanderColumnRect() const { return expanderColumnRect; }

    // Draws each shown column's cell that meets the region being drawn (the whole frame when
    // `complete`), the arrow of a superitem, and the area right of the last column (column -1).
    void DrawItem(kit::Painter& painter, kit::View* owner, kit::Rect frame, bool complete) override;
    // Takes the font's line height, at least the minimum height.
    void Update(kit::View* owner, const kit::Font& font) override;

    // The row's cell in the column, kNoRect when the column is hidden, the row is not in the
    // list or the cell is empty.
    kit::Rect ItemColumnFrame(int32_t column, const ColumnListView* owner) const;
    // The row's indentation in the column: its outline level times 20 in the expander column
    // and in indented columns, 0 elsewhere.
    float ExpanderShift(int32_t column, const ColumnListView* owner) const;

    // Draws one cell; column -1 is the area right of the last column.
    virtual void DrawItemColumn(kit::Painter& painter, ColumnListView* owner, kit::Rect cell,
                                int32_t column, bool complete) = 0;
    // Told, for columns with CLV_COL_NOTIFY_ITEMS, the width the row's cell now has.
    virtual void ColumnWidthChanged(int32_t column, float width, ColumnListView* owner);
    // Told, for columns with CLV_COL_NOTIFY_ITEMS, the cell's new frame (kNoRect when not
    // visible) after the display order changed.
    virtual void FrameChanged(int32_t column, kit::Rect frame, ColumnListView* owner);

private:
    friend class ColumnListView;

    // The hierarchical list whose full list holds the item; null when none (also once that list
    // is gone).
    QPointer<ColumnListView> outlineList;
    // Where that list's full list keeps it.
    int32_t fullListSlot = -1;
    bool superitem;
    float minHeight;
    kit::Rect expanderButtonRect = kNoRect;
    kit::Rect expanderColumnRect = kNoRect;
};
